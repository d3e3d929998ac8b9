// Drives on a system without drive letters: the letters mapped to folders in
// TANDREL_DRIVES are removable drives (a mounted floppy, or a folder that
// stands in for one), and nothing else is.
#include "platform/drives.h"

#include <sys/statvfs.h>

#include <cctype>
#include <cerrno>
#include <string>

#include "platform/posix/paths.h"
#include "platform/text.h"
#include "platform/types.h"

namespace platform {
namespace {

// Stand-ins for the shell's icon handles; never dereferenced.
char normalIcon, selectedIcon;

std::uint32_t Clamp(unsigned long long v) {
  return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v);
}

bool IsRoot(const char* root) {
  return root != nullptr && std::isalpha(static_cast<unsigned char>(root[0])) && root[1] == ':' &&
         root[2] == '\\' && root[3] == '\0';
}

class PosixDrives final : public Drives {
 public:
  std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const override {
    std::string all;
    for (char c : posix::MappedDriveLetters()) {
      all += c;
      all += ":\\";
      all += '\0';
    }
    std::uint32_t length = static_cast<std::uint32_t>(all.size());
    if (capacity < length + 1) return length + 1;
    MemoryCopy(buffer, all.data(), length);
    buffer[length] = '\0';
    return length;
  }

  std::uint32_t DriveType(const char* root) const override {
    if (!IsRoot(root) || posix::DriveFolder(root[0]).empty()) return drive_type::kNoRootDir;
    return drive_type::kRemovable;
  }

  bool ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                 IconHandle* icon) const override {
    if (DriveType(root) != drive_type::kRemovable) return false;
    if ((flags & shell_info::kDisplayName) && displayName != nullptr) {
      char name[16];
      TextFormat(name, sizeof name, "Floppy (%c:)", UpperCase(root[0]));
      TextCopy(displayName, kMaxPath, name);
    }
    if ((flags & shell_info::kIcon) && icon != nullptr)
      *icon = (flags & shell_info::kSelected) ? &selectedIcon : &normalIcon;
    return true;
  }

  char UpperCase(char c) const override {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }

  bool QueryFreeSpace(const char* root, FreeSpace* space, std::uint32_t* errorCode) const override {
    if (!IsRoot(root)) {
      *errorCode = error::kPathNotFound;
      return false;
    }
    std::string folder = posix::DriveFolder(root[0]);
    if (folder.empty()) {
      *errorCode = error::kPathNotFound;
      return false;
    }
    struct statvfs st;
    if (::statvfs(folder.c_str(), &st) != 0) {
      // A floppy folder that is not there is a drive without a disk.
      *errorCode = (errno == ENOENT) ? error::kNotReady : posix::MapErrno(errno, nullptr);
      return false;
    }
    unsigned long block = st.f_frsize != 0 ? st.f_frsize : st.f_bsize;
    space->bytesPerSector = 512;
    space->sectorsPerCluster = block >= 512 ? static_cast<std::uint32_t>(block / 512) : 1;
    space->freeClusters = Clamp(st.f_bavail);
    space->totalClusters = Clamp(st.f_blocks);
    return true;
  }

  std::uint32_t DestinationPath(const char* root, const char* name, char* buffer,
                                std::uint32_t capacity) const override {
    // The file layer maps "A:\" onto the floppy's folder, so the top level of
    // the floppy is simply the root followed by the name.
    TextCopy(buffer, capacity, root);
    return TextAppend(buffer, capacity, name);
  }
};

PosixDrives drives;

}  // namespace

Drives& DefaultDrives() { return drives; }

}  // namespace platform
