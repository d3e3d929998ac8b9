// The removable drives found at start-up, one of them chosen as the drive
// the disks are written to.
#pragma once

#include <cstdint>

#include "platform/bounded_string.h"
#include "platform/drives.h"
#include "platform/heap_array.h"

namespace wendmark {

struct DriveRecord {
  platform::PathBuffer rootPath;     // as the system lists it, "A:\"
  platform::PathBuffer displayName;  // what the shell calls the drive
  char letter = '?';        // upper case
  platform::IconHandle icon = nullptr;          // never freed
  platform::IconHandle selectedIcon = nullptr;  // never freed
  bool chosen = false;

  // Fills the record from a root path; false when the shell gives no name
  // or no icon for it.
  bool Fill(const char* root, const platform::Drives& drives);
};

class DriveList {
 public:
  explicit DriveList(const platform::Drives& drives) : drives_(drives) {}

  // Lists every removable drive and chooses the first. False, with an empty
  // list, when there is none or any of them cannot be described.
  bool Enumerate();

  // The first chosen record; false (and *record untouched) when none is.
  bool GetChosen(DriveRecord* record) const;

  // Makes the given record (one of the list's, matched by its root path)
  // the only chosen one.
  void Choose(const DriveRecord& record);

  std::uint32_t size() const { return records_.size(); }
  const DriveRecord& operator[](std::uint32_t i) const { return records_[i]; }

 private:
  const platform::Drives& drives_;
  platform::HeapArray<DriveRecord> records_;
};

}  // namespace wendmark
