#include "tests/fakes/memory_paths.h"

#include <cctype>
#include <vector>

#include "platform/windows_path.h"

namespace tests {
namespace {

using platform::path::IsSeparator;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

std::string ResolvePath(const std::string& path, const std::string& currentDirectory) {
  const std::string& cwd = currentDirectory;
  std::string drive;  // "C:"
  std::string rest;   // what follows it, relative to that drive's root
  if (platform::path::IsAbsolute(path.c_str()) && !IsSeparator(path[0])) {  // a drive letter
    drive = std::string(1, Upper(path[0])) + ":";
    rest = path.substr(2);
    if ((rest.empty() || !IsSeparator(rest[0])) && Upper(cwd[0]) == drive[0]) {
      rest = cwd.substr(2) + "\\" + rest;
    }
  } else if (!path.empty() && IsSeparator(path[0])) {
    if (path.size() > 1 && IsSeparator(path[1])) return {};  // a share: none here
    drive = cwd.substr(0, 2);
    rest = path;
  } else {
    drive = cwd.substr(0, 2);
    rest = cwd.substr(2) + "\\" + path;
  }
  std::vector<std::string> parts;
  std::size_t begin = 0;
  while (begin <= rest.size()) {
    std::size_t end = begin;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string part = rest.substr(begin, end - begin);
    if (part == "..") {
      if (parts.empty()) return {};
      parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    begin = end + 1;
  }
  std::string full = drive + "\\";
  for (std::size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return full;
}

std::string PathKey(const std::string& fullPath) {
  std::string key = fullPath;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

std::string ParentPath(const std::string& fullPath) {
  std::uint32_t folder = platform::path::FolderLength(fullPath.c_str());
  return fullPath.substr(0, folder <= 2 ? 3 : folder);
}

char DriveOf(const std::string& fullPath) { return fullPath.empty() ? '\0' : Upper(fullPath[0]); }

}  // namespace tests
