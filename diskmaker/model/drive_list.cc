#include "diskmaker/model/drive_list.h"

#include <new>

#include "platform/types.h"

namespace wendmark {

bool DriveRecord::Fill(const char* root, const platform::Drives& drives) {
  if (root == nullptr || root[0] == '\0') return false;
  rootPath = root;
  letter = drives.UpperCase(root[0]);
  char name[platform::kMaxPath] = "";
  platform::IconHandle normal = nullptr, selected = nullptr;
  // The type name is asked for along with the rest, and not used.
  if (drives.ShellInfo(root, platform::shell_info::kNameAndIcon, name, &normal)) {
    displayName = name;
    icon = normal;
  }
  if (drives.ShellInfo(root, platform::shell_info::kSelectedIcon, nullptr, &selected))
    selectedIcon = selected;
  return !displayName.empty() && icon != nullptr && selectedIcon != nullptr;
}

bool DriveList::Enumerate() {
  records_.clear();
  std::uint32_t size = drives_.LogicalDriveStrings(0, nullptr);
  if (size == 0) return false;
  try {
    std::vector<char> buffer(size + 1, '\0');
    drives_.LogicalDriveStrings(size, buffer.data());
    for (const char* root = buffer.data(); root < buffer.data() + size && *root != '\0';
         root += std::char_traits<char>::length(root) + 1) {
      if (drives_.DriveType(root) != platform::drive_type::kRemovable) continue;
      records_.emplace_back();
      if (!records_.back().Fill(root, drives_)) {
        // One drive that cannot be described spoils the whole list.
        records_.clear();
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    records_.clear();
    return false;
  }
  if (records_.empty()) return false;
  records_.front().chosen = true;
  return true;
}

bool DriveList::GetChosen(DriveRecord* record) const {
  for (const DriveRecord& r : records_) {
    if (r.chosen) {
      *record = r;
      return true;
    }
  }
  return false;
}

void DriveList::Choose(const DriveRecord& record) {
  for (DriveRecord& r : records_) r.chosen = false;
  for (DriveRecord& r : records_) {
    if (&r == &record || r.rootPath == record.rootPath) {
      r.chosen = true;
      return;
    }
  }
}

}  // namespace wendmark
