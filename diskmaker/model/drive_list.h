// The removable drives found at start-up, one of them chosen as the drive
// the disks are written to.
#pragma once

#include <string>
#include <vector>

#include "platform/drives.h"

namespace wendmark {

struct DriveRecord {
  std::string rootPath;     // as the system lists it, "A:\"
  std::string displayName;  // what the shell calls the drive
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
  explicit DriveList(const platform::Drives& drives = platform::DefaultDrives()) : drives_(drives) {}

  // Lists every removable drive and chooses the first. False, with an empty
  // list, when there is none or any of them cannot be described.
  bool Enumerate();

  // The first chosen record; false (and *record untouched) when none is.
  bool GetChosen(DriveRecord* record) const;

  // Makes the given record (one of the list's, matched by its root path)
  // the only chosen one.
  void Choose(const DriveRecord& record);

  const std::vector<DriveRecord>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  const DriveRecord& operator[](std::size_t i) const { return records_[i]; }

 private:
  const platform::Drives& drives_;
  std::vector<DriveRecord> records_;
};

}  // namespace wendmark
