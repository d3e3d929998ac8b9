#include "tools/wendmark/image_drive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/posix/host_error.h"
#include "platform/posix/paths.h"
#include "platform/text.h"
#include "platform/types.h"
#include "floppy/volume.h"
#include "tools/wendmark/floppy_disk.h"

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
  space.bytesPerSector = floppy::kClusterBytes;
  space.freeClusters = floppy::kFloppyClusters;
  space.totalClusters = floppy::kFloppyClusters;
  return space;
}

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
  std::vector<std::uint8_t> bytes;
  std::uint32_t code = 0;
  if (!ReadImageFile(image_, &bytes, &code)) {
    *hostError = image_ + ": " + platform::posix::HostErrorText(code);
    *errorCode = code;
    return false;
  }
  floppy::Judgement judged = floppy::JudgeImage(bytes);
  if (judged.kind == floppy::ImageKind::kNotFat) {
    lastError_ = image_ + ": " + judged.why;
    *errorCode = kUnrecognizedVolume;
    return false;
  }
  space->bytesPerSector = judged.geometry.bytesPerSector;
  space->sectorsPerCluster = judged.geometry.sectorsPerCluster;
  space->totalClusters = judged.totalClusters;
  space->freeClusters = judged.freeClusters;
  return true;
}

std::uint32_t ImageDrive::DestinationPath(const char*, const char* name, char* buffer,
                                          std::uint32_t capacity) const {
  platform::TextCopy(buffer, capacity, kRoot);
  return platform::TextAppend(buffer, capacity, name);
}

}  // namespace wendmark
