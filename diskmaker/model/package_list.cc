#include "diskmaker/model/package_list.h"

#include "platform/text.h"
#include "platform/types.h"
#include "platform/windows_path.h"

namespace wendmark {
namespace {

// A text value in a buffer of the design's size; empty when nothing was read.
platform::PathBuffer ReadText(const platform::Profile& profile, const char* section,
                              const char* key, const char* path) {
  char buffer[platform::kMaxPath];
  std::uint32_t n = profile.GetString(section, key, "", buffer, sizeof buffer, path);
  platform::PathBuffer text;
  text.Assign(buffer, n);
  return text;
}

}  // namespace

bool DiskEntry::Read(std::int32_t sectionNumber, const char* path, const platform::Profile& profile) {
  number = sectionNumber;
  char section[32];
  platform::TextFormat(section, sizeof section, "Disk%d", sectionNumber);
  std::int32_t count = profile.GetInt(section, "Files", 0, path);
  if (count <= 0) return false;
  if (!files.Reset(static_cast<std::uint32_t>(count))) return false;
  for (std::int32_t k = 0; k < count; ++k) {
    char key[32];
    platform::TextFormat(key, sizeof key, "File%d", k);
    platform::PathBuffer& entry = files[static_cast<std::uint32_t>(k)];
    entry = ReadText(profile, section, key, path);
    if (entry.empty()) return false;
  }
  return true;
}

bool PackageList::Load(const char* path) {
  name = ReadText(profile_, "Global", "Name", path);
  if (name.empty()) return false;
  std::int32_t count = profile_.GetInt("Disks", "Number", 0, path);
  if (count <= 0) return false;
  if (!disks.Reset(static_cast<std::uint32_t>(count))) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    if (!disks[static_cast<std::uint32_t>(i)].Read(i, path, profile_)) return false;
  }
  return true;
}

int PackageList::CountSelected() const {
  int n = 0;
  for (const DiskEntry& disk : disks) n += disk.selected ? 1 : 0;
  return n;
}

platform::PathBuffer ProgramFolder(const platform::Process& process) {
  platform::PathBuffer folder;
  process.ProgramPath(folder.data(), folder.capacity());
  folder.Sync();
  folder.Truncate(platform::path::FolderLength(folder.c_str()));
  return folder;
}

platform::PathBuffer PackageList::GetDiskImagesFolder() const {
  platform::PathBuffer folder = ProgramFolder(process_);
  platform::PathBuffer settings = folder;
  platform::path::Append(&settings, "Wendmark.ini");
  platform::PathBuffer value = ReadText(profile_, "Paths", "DiskImages", settings.c_str());
  return value.empty() ? folder : value;
}

}  // namespace wendmark
