#include "diskmaker/model/drive_list.h"

#include "platform/text.h"
#include "platform/types.h"

namespace wendmark {

bool DriveRecord::Fill(const char* root, const platform::Drives& drives) {
  if (root == nullptr || root[0] == '\0') return false;
  rootPath.Assign(root);
  letter = drives.UpperCase(root[0]);
  char name[platform::kMaxPath] = "";
  platform::IconHandle normal = nullptr, selected = nullptr;
  // The type name is asked for along with the rest, and not used.
  if (drives.ShellInfo(root, platform::shell_info::kNameAndIcon, name, &normal)) {
    displayName.Assign(name);
    icon = normal;
  }
  if (drives.ShellInfo(root, platform::shell_info::kSelectedIcon, nullptr, &selected))
    selectedIcon = selected;
  return !displayName.empty() && icon != nullptr && selectedIcon != nullptr;
}

bool DriveList::Enumerate() {
  records_.Clear();
  std::uint32_t size = drives_.LogicalDriveStrings(0, nullptr);
  if (size == 0) return false;
  platform::HeapArray<char> buffer;
  if (!buffer.Reset(size + 1)) return false;
  drives_.LogicalDriveStrings(size, buffer.data());
  const char* end = buffer.data() + size;
  // Room for every root the system listed; only the removable ones are kept.
  std::uint32_t roots = 0;
  for (const char* root = buffer.data(); root < end && *root != '\0';
       root += platform::TextLength(root) + 1) {
    ++roots;
  }
  if (roots == 0 || !records_.Reset(roots)) return false;
  std::uint32_t kept = 0;
  for (const char* root = buffer.data(); root < end && *root != '\0';
       root += platform::TextLength(root) + 1) {
    if (drives_.DriveType(root) != platform::drive_type::kRemovable) continue;
    if (!records_[kept++].Fill(root, drives_)) {
      // One drive that cannot be described spoils the whole list.
      kept = 0;
      break;
    }
  }
  records_.Shrink(kept);
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
