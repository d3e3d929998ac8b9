// Drives: the list of roots, their type, the shell's name and icons for them,
// and their free space.
#pragma once

#include <cstdint>

namespace platform {

using IconHandle = void*;

// GetDriveTypeA values.
namespace drive_type {
enum : std::uint32_t { kUnknown, kNoRootDir, kRemovable, kFixed, kRemote, kCdRom, kRamDisk };
}  // namespace drive_type

// SHGetFileInfoA flags used for drives.
namespace shell_info {
enum : std::uint32_t { kSmallIcon = 0x1, kIcon = 0x100, kDisplayName = 0x200, kTypeName = 0x400, kSelected = 0x10000 };
constexpr std::uint32_t kNameAndIcon = kIcon | kDisplayName | kTypeName | kSmallIcon;  // 0x701
constexpr std::uint32_t kSelectedIcon = kIcon | kSmallIcon | kSelected;               // 0x10101
}  // namespace shell_info

struct FreeSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

class Drives {
 public:
  // GetLogicalDriveStringsA: with capacity 0 returns the size needed;
  // otherwise fills buffer with zero-terminated roots ("A:\") followed by an
  // empty string and returns the length without the final zero.
  virtual std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const = 0;

  virtual std::uint32_t DriveType(const char* root) const = 0;

  // SHGetFileInfoA on a root with the given flags: the display name is
  // copied into displayName (260 bytes) when asked for, the icon handle into
  // *icon when asked for. False when the shell answers nothing.
  virtual bool ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                         IconHandle* icon) const = 0;

  // CharUpperA on a single character.
  virtual char UpperCase(char c) const = 0;

  // GetDiskFreeSpaceA. On failure *errorCode holds the Win32 error.
  virtual bool QueryFreeSpace(const char* root, FreeSpace* space, std::uint32_t* errorCode) const = 0;

  // Where a file named `name` goes on the floppy in the drive at `root`:
  // the root without its last character followed by the name ("A:" + name)
  // on Windows; the top level of the mounted floppy elsewhere. Cut to
  // capacity - 1 characters; returns the length.
  virtual std::uint32_t DestinationPath(const char* root, const char* name, char* buffer,
                                        std::uint32_t capacity) const = 0;

 protected:
  ~Drives() = default;
};

Drives& DefaultDrives();

}  // namespace platform
