#include "platform/posix/host_error.h"

#include <cerrno>
#include <cstring>

#include "platform/types.h"

namespace platform::posix {

int ErrnoFor(std::uint32_t code) {
  switch (code) {
    case error::kFileNotFound:
    case error::kPathNotFound: return ENOENT;
    case error::kAccessDenied: return EACCES;
    case error::kInvalidHandle: return EBADF;
    case error::kNotEnoughMemory: return ENOMEM;
    case error::kWriteProtect: return EROFS;
#ifdef ENOMEDIUM
    case error::kNotReady: return ENOMEDIUM;
#endif
    case error::kSharingViolation: return ETXTBSY;
    case error::kHandleDiskFull:
    case error::kDiskFull: return ENOSPC;
    case error::kFileExists:
    case error::kAlreadyExists: return EEXIST;
    case error::kInvalidParameter: return EINVAL;
    case error::kDirNotEmpty: return ENOTEMPTY;
    case error::kPathBusy: return EBUSY;
    case error::kFilenameTooLong: return ENAMETOOLONG;
    case error::kDirectoryName: return ENOTDIR;
    case error::kGeneric: return EIO;
    default: return 0;
  }
}

std::string HostErrorText(std::uint32_t code) {
  int err = ErrnoFor(code);
  if (err == 0) return "error " + std::to_string(code);
  return std::strerror(err);
}

}  // namespace platform::posix
