// Drives as a test describes them, and free-space answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/text.h"

namespace tests {

struct FakeDrive {
  std::string root;  // "A:\"
  std::uint32_t type = platform::drive_type::kRemovable;
  std::string displayName;  // empty: the shell gives no name
  bool icon = true;
  bool selectedIcon = true;
};

struct FreeSpaceAnswer {
  bool ok = true;
  platform::FreeSpace space;
  std::uint32_t error = 0;
};

// A formatted 1.44 MB floppy with `freeClusters` of 512-byte clusters free.
inline FreeSpaceAnswer Floppy(std::uint32_t freeClusters, std::uint32_t totalClusters = 2847) {
  FreeSpaceAnswer a;
  a.space = {1, 512, freeClusters, totalClusters};
  return a;
}
inline FreeSpaceAnswer QueryFails(std::uint32_t error) {
  FreeSpaceAnswer a;
  a.ok = false;
  a.error = error;
  return a;
}

class FakeDrives final : public platform::Drives {
 public:
  std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const override {
    std::string all;
    for (const FakeDrive& d : drives) {
      all += d.root;
      all += '\0';
    }
    auto length = static_cast<std::uint32_t>(all.size());
    if (capacity < length + 1) return length + 1;
    platform::MemoryCopy(buffer, all.data(), length);
    buffer[length] = '\0';
    return length;
  }

  std::uint32_t DriveType(const char* root) const override {
    const FakeDrive* d = Find(root);
    return d == nullptr ? platform::drive_type::kNoRootDir : d->type;
  }

  bool ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                 platform::IconHandle* icon) const override {
    ++shellQueries;
    lastShellFlags.push_back(flags);
    const FakeDrive* d = Find(root);
    if (d == nullptr) return false;
    bool selected = (flags & platform::shell_info::kSelected) != 0;
    bool hasIcon = selected ? d->selectedIcon : d->icon;
    if ((flags & platform::shell_info::kDisplayName) && displayName != nullptr)
      platform::TextCopy(displayName, 260, d->displayName.c_str());
    if ((flags & platform::shell_info::kIcon) && icon != nullptr)
      *icon = hasIcon ? const_cast<char*>(selected ? &selectedIconTag : &iconTag) : nullptr;
    return hasIcon || !d->displayName.empty();
  }

  char UpperCase(char c) const override { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

  bool QueryFreeSpace(const char* root, platform::FreeSpace* space,
                      std::uint32_t* errorCode) const override {
    queriedRoots.push_back(root);
    FreeSpaceAnswer a = Floppy(2847);
    if (!freeSpace.empty()) {
      a = freeSpace.front();
      if (freeSpace.size() > 1) freeSpace.pop_front();  // the last answer stays
    }
    if (!a.ok) {
      *errorCode = a.error;
      return false;
    }
    *space = a.space;
    return true;
  }

  std::uint32_t DestinationPath(const char* root, const char* name, char* buffer,
                                std::uint32_t capacity) const override {
    std::uint32_t n = platform::TextCopy(buffer, capacity, root);
    if (n > 0) buffer[n - 1] = '\0';
    return platform::TextAppend(buffer, capacity, name);
  }

  std::vector<FakeDrive> drives;
  mutable std::deque<FreeSpaceAnswer> freeSpace;
  mutable std::vector<std::string> queriedRoots;
  mutable int shellQueries = 0;
  mutable std::vector<std::uint32_t> lastShellFlags;
  char iconTag = 'i';
  char selectedIconTag = 's';

 private:
  const FakeDrive* Find(const char* root) const {
    for (const FakeDrive& d : drives) {
      if (d.root == root) return &d;
    }
    return nullptr;
  }
};

}  // namespace tests
