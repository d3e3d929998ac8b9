#include "tools/wendmark/image_drive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/posix/paths.h"
#include "platform/text.h"
#include "platform/types.h"
#include "tools/wendplan/floppy_fat.h"

namespace wendmark {
namespace {

// ERROR_UNRECOGNIZED_VOLUME: what Windows answers for a disk it cannot read
// as a file system (an unformatted floppy, say).
constexpr std::uint32_t kUnrecognizedVolume = 1005;

// Stand-ins for the shell's icon handles; never dereferenced.
char normalIcon, selectedIcon;

bool IsOurRoot(const char* root) { return root != nullptr && std::strcmp(root, ImageDrive::kRoot) == 0; }

}  // namespace

platform::FreeSpace BlankFloppySpace() {
  platform::FreeSpace space;
  space.sectorsPerCluster = 1;
  space.bytesPerSector = wendplan::kClusterBytes;
  space.freeClusters = wendplan::kFloppyClusters;
  space.totalClusters = wendplan::kFloppyClusters;
  return space;
}

ImageDrive::ImageDrive(SpaceReader reader) : reader_(reader) {}

std::uint32_t ImageDrive::LogicalDriveStrings(std::uint32_t capacity, char* buffer) const {
  constexpr std::uint32_t kLength = 4;  // "A:\" and its terminator
  if (capacity < kLength + 1) return kLength + 1;
  platform::TextCopy(buffer, capacity, kRoot);
  buffer[kLength] = '\0';
  return kLength;
}

std::uint32_t ImageDrive::DriveType(const char* root) const {
  return IsOurRoot(root) ? platform::drive_type::kRemovable : platform::drive_type::kNoRootDir;
}

bool ImageDrive::ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                           platform::IconHandle* icon) const {
  if (!IsOurRoot(root)) return false;
  if ((flags & platform::shell_info::kDisplayName) && displayName != nullptr)
    platform::TextCopy(displayName, platform::kMaxPath, "Floppy image (A:)");
  if ((flags & platform::shell_info::kIcon) && icon != nullptr)
    *icon = (flags & platform::shell_info::kSelected) ? &selectedIcon : &normalIcon;
  return true;
}

char ImageDrive::UpperCase(char c) const { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool ImageDrive::QueryFreeSpace(const char* root, platform::FreeSpace* space, std::uint32_t* errorCode) const {
  lastError_.clear();
  std::string hostError;
  bool answered = Look(root, space, errorCode, &hostError);
  if (reasons_ != nullptr) {
    reasons_->Clear();
    if (!hostError.empty()) reasons_->Note(hostError);
  }
  return answered;
}

bool ImageDrive::Look(const char* root, platform::FreeSpace* space, std::uint32_t* errorCode,
                      std::string* hostError) const {
  if (!IsOurRoot(root)) {
    *errorCode = platform::error::kPathNotFound;
    return false;
  }
  if (image_.empty()) {
    *errorCode = platform::error::kNotReady;
    return false;
  }
  auto refuse = [&](int err) {
    *hostError = image_ + ": " + std::strerror(err);
    *errorCode = platform::posix::MapErrno(err, nullptr);
    return false;
  };
  struct stat st;
  if (::stat(image_.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      *space = BlankFloppySpace();
      return true;
    }
    return refuse(errno);
  }
  if (S_ISDIR(st.st_mode)) return refuse(EISDIR);
  if (!S_ISREG(st.st_mode)) {
    lastError_ = image_ + " is not a file";
    *errorCode = platform::error::kAccessDenied;
    return false;
  }
  // The host's word for an image that cannot be read, rather than the
  // disk tool's guess at why.
  int fd = ::open(image_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return refuse(errno);
  ::close(fd);
  if (!reader_(image_, space, &lastError_)) {
    *errorCode = kUnrecognizedVolume;
    return false;
  }
  return true;
}

std::uint32_t ImageDrive::DestinationPath(const char*, const char* name, char* buffer,
                                          std::uint32_t capacity) const {
  platform::TextCopy(buffer, capacity, staging_.c_str());
  platform::TextAppend(buffer, capacity, "/");
  return platform::TextAppend(buffer, capacity, name);
}

}  // namespace wendmark
