#include "platform/posix/paths.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/types.h"
#include "platform/windows_path.h"

namespace platform::posix {
namespace {

bool HasDriveLetter(const char* path) {
  return path != nullptr && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

std::string DriveFolder(char letter) {
  const char* mapping = std::getenv("TANDREL_DRIVES");
  if (mapping == nullptr) return {};
  char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::string all(mapping);
  std::size_t pos = 0;
  while (pos <= all.size()) {
    std::size_t end = all.find(';', pos);
    if (end == std::string::npos) end = all.size();
    std::string item = all.substr(pos, end - pos);
    if (item.size() > 2 && item[1] == '=' &&
        std::toupper(static_cast<unsigned char>(item[0])) == wanted) {
      return item.substr(2);
    }
    pos = end + 1;
  }
  return {};
}

std::string MappedDriveLetters() {
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (!DriveFolder(c).empty()) letters += c;
  }
  return letters;
}

bool IsOnMappedDrive(const char* path) {
  return HasDriveLetter(path) && !DriveFolder(path[0]).empty();
}

std::string TranslatePath(const char* path) {
  std::string out;
  const char* rest = path;
  if (HasDriveLetter(path)) {
    std::string folder = DriveFolder(path[0]);
    if (folder.empty()) return {};
    out = folder;
    rest = path + 2;
    if (!path::IsSeparator(*rest)) out += '/';
  }
  for (; *rest != '\0'; ++rest) out += (*rest == '\\') ? '/' : *rest;
  return out;
}

unsigned MapErrno(int err, const char* path) {
  switch (err) {
    case ENOENT: {
      if (path == nullptr) return error::kFileNotFound;
      // Not found: the file itself, or a folder on the way to it?
      std::string native = TranslatePath(path);
      std::size_t slash = native.find_last_of('/');
      if (slash == std::string::npos || slash == 0) return error::kFileNotFound;
      struct stat st;
      std::string parent = native.substr(0, slash);
      if (stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return error::kFileNotFound;
      return error::kPathNotFound;
    }
    case ENOTDIR: return error::kPathNotFound;
    case EACCES:
    case EPERM: return error::kAccessDenied;
    case EROFS: return IsOnMappedDrive(path) ? error::kWriteProtect : error::kAccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return error::kDiskFull;
    case EFBIG: return error::kDiskFull;
    case EEXIST: return error::kFileExists;
    case EBUSY: return error::kPathBusy;
    case ETXTBSY: return error::kSharingViolation;
    case ENAMETOOLONG: return error::kFilenameTooLong;
    case ENOMEM: return error::kNotEnoughMemory;
    case EBADF: return error::kInvalidHandle;
    case EINVAL: return error::kInvalidParameter;
    case ENOTEMPTY: return error::kDirNotEmpty;
#ifdef ENOMEDIUM
    case ENOMEDIUM: return error::kNotReady;
#endif
    default: return error::kGeneric;
  }
}

}  // namespace platform::posix
