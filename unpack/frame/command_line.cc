#include "unpack/frame/command_line.h"

#include "platform/windows_path.h"

namespace kivo {

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

void MakeTargetAbsolute(ExtractOptions* options, const char* currentDirectory) {
  const char* target = options->targetDirectory.c_str();
  // An empty target stays empty: it names no folder, and the engine says so.
  if (target[0] == '\0' || platform::path::IsAbsolute(target) || currentDirectory[0] == '\0') return;
  platform::PathBuffer joined;
  // A join that does not fit would name another folder: the relative target
  // then stays as it is, and the system resolves it to the same place.
  if (platform::path::JoinUnder(&joined, currentDirectory, target)) {
    options->targetDirectory.Assign(joined.c_str());
  }
}

}  // namespace kivo
