#include "unpack/frame/command_line.h"

namespace kivo {
namespace {

bool IsAbsolute(const char* path) {
  if (path[0] == '\\' || path[0] == '/') return true;
  char c = path[0];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

}  // namespace

void ParseCommandLine(const char* line, ExtractOptions* options) {
  const char* p = line;
  while (*p != '\0') {
    if (*p != '-') {
      ++p;
      continue;
    }
    if (p[1] == '\0') return;
    char letter = p[1];
    p += 2;
    platform::PathBuffer argument;
    if (*p == '"') {
      ++p;
      while (*p != '\0' && *p != '"') argument.Append(*p++);
      if (*p == '"') ++p;
    } else {
      while (*p != '\0' && *p != ' ') argument.Append(*p++);
    }
    if (letter == 'd') {
      options->targetDirectory.Assign(argument.c_str());
    } else if (letter == 'f') {
      options->archivePath.Assign(argument.c_str());
    }
  }
}

const char* ArgumentsOf(const char* line) {
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

void MakeTargetAbsolute(ExtractOptions* options, const char* currentDirectory) {
  const char* target = options->targetDirectory.c_str();
  // An empty target stays empty: it names no folder, and the engine says so.
  if (target[0] == '\0' || IsAbsolute(target) || currentDirectory[0] == '\0') return;
  platform::PathBuffer joined(currentDirectory);
  std::uint32_t n = joined.size();
  if (n > 0 && joined[n - 1] != '\\' && joined[n - 1] != '/') joined.Append('\\');
  joined.Append(target);
  options->targetDirectory.Assign(joined.c_str());
}

}  // namespace kivo
