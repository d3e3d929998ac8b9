#include "platform/windows_path.h"

namespace platform::path {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

const char* LastSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p != '\0'; ++p) {
    if (IsSeparator(*p)) last = p;
  }
  return last;
}

std::uint32_t FolderLength(const char* path) {
  const char* cut = LastSeparator(path);
  return cut == nullptr ? 0 : static_cast<std::uint32_t>(cut - path);
}

const char* LastComponent(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\') name = p + 1;
  }
  return name;
}

bool IsAbsolute(const char* path) {
  return IsSeparator(path[0]) || (IsLetter(path[0]) && path[1] == ':');
}

std::uint32_t LengthWithoutTrailingSeparators(const char* path) {
  std::uint32_t n = 0;
  while (path[n] != '\0') ++n;
  while (n > 0 && IsSeparator(path[n - 1])) --n;
  return n;
}

bool AssignFolder(PathBuffer* path, const char* folder) {
  return path->Assign(folder, LengthWithoutTrailingSeparators(folder));
}

bool Append(PathBuffer* path, const char* name) { return path->Append('\\') && path->Append(name); }

bool Append(PathBuffer* path, const char* name, std::uint32_t length) {
  if (!path->Append('\\')) return false;
  for (std::uint32_t i = 0; i < length; ++i) {
    if (!path->Append(name[i])) return false;
  }
  return true;
}

bool JoinUnder(PathBuffer* path, const char* folder, const char* name) {
  bool whole = AssignFolder(path, folder);
  return Append(path, name) && whole;
}

const char* ArgumentsOf(const char* commandLine) {
  const char* p = commandLine == nullptr ? "" : commandLine;
  if (*p == '"') {
    // A quoted program name ends at its closing quote.
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return p;
}

}  // namespace platform::path
