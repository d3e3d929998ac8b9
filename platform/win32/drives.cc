#include "platform/drives.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/text.h"

namespace platform {
namespace {

class Win32Drives final : public Drives {
 public:
  std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const override {
    return GetLogicalDriveStringsA(capacity, buffer);
  }

  std::uint32_t DriveType(const char* root) const override { return GetDriveTypeA(root); }

  bool ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                 IconHandle* icon) const override {
    SHFILEINFOA info;
    MemoryFill(&info, 0, sizeof info);
    static_assert(sizeof(void*) != 4 || sizeof(SHFILEINFOA) == 352);
    if (SHGetFileInfoA(root, 0, &info, sizeof info, flags) == 0) return false;
    if ((flags & shell_info::kDisplayName) && displayName != nullptr)
      TextCopy(displayName, MAX_PATH, info.szDisplayName);
    if ((flags & shell_info::kIcon) && icon != nullptr) *icon = info.hIcon;
    return true;
  }

  char UpperCase(char c) const override {
    // CharUpperA takes a single character in the low word of its argument.
    auto value = reinterpret_cast<std::uintptr_t>(
        CharUpperA(reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(static_cast<unsigned char>(c)))));
    return static_cast<char>(value & 0xFF);
  }

  bool QueryFreeSpace(const char* root, FreeSpace* space, std::uint32_t* errorCode) const override {
    DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
    if (!GetDiskFreeSpaceA(root, &spc, &bps, &freeClusters, &total)) {
      *errorCode = GetLastError();
      return false;
    }
    space->sectorsPerCluster = spc;
    space->bytesPerSector = bps;
    space->freeClusters = freeClusters;
    space->totalClusters = total;
    return true;
  }

  std::uint32_t DestinationPath(const char* root, const char* name, char* buffer,
                                std::uint32_t capacity) const override {
    // "A:\" becomes "A:" + name: the name in the drive's current folder,
    // which for us is the floppy's root.
    std::uint32_t n = TextCopy(buffer, capacity, root);
    if (n > 0) buffer[n - 1] = '\0';
    return TextAppend(buffer, capacity, name);
  }
};

Win32Drives drives;

}  // namespace

Drives& DefaultDrives() { return drives; }

}  // namespace platform
