#include "diskmaker/model/package_list.h"

#include <new>

#include "platform/text.h"
#include "platform/types.h"

namespace wendmark {
namespace {

// A text value in a buffer of the design's size; empty when nothing was read.
std::string ReadText(const platform::Profile& profile, const char* section, const char* key,
                     const std::string& path) {
  char buffer[platform::kMaxPath];
  std::uint32_t n = profile.GetString(section, key, "", buffer, sizeof buffer, path.c_str());
  return std::string(buffer, n);
}

}  // namespace

bool DiskEntry::Read(std::int32_t sectionNumber, const std::string& path,
                     const platform::Profile& profile) {
  number = sectionNumber;
  char section[32];
  platform::TextFormat(section, sizeof section, "Disk%d", sectionNumber);
  std::int32_t count = profile.GetInt(section, "Files", 0, path.c_str());
  if (count <= 0) return false;
  try {
    files.assign(static_cast<std::size_t>(count), std::string());
    for (std::int32_t k = 0; k < count; ++k) {
      char key[32];
      platform::TextFormat(key, sizeof key, "File%d", k);
      std::string entry = ReadText(profile, section, key, path);
      if (entry.empty()) return false;
      files[static_cast<std::size_t>(k)] = std::move(entry);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool PackageList::Load(const std::string& path) {
  name = ReadText(profile_, "Global", "Name", path);
  if (name.empty()) return false;
  std::int32_t count = profile_.GetInt("Disks", "Number", 0, path.c_str());
  if (count <= 0) return false;
  try {
    disks.assign(static_cast<std::size_t>(count), DiskEntry());
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    if (!disks[static_cast<std::size_t>(i)].Read(i, path, profile_)) return false;
  }
  return true;
}

int PackageList::CountSelected() const {
  int n = 0;
  for (const DiskEntry& disk : disks) n += disk.selected ? 1 : 0;
  return n;
}

std::string ProgramFolder(const platform::Process& process) {
  char buffer[platform::kMaxPath];
  process.ProgramPath(buffer, sizeof buffer);
  const char* cut = platform::LastPathSeparator(buffer);
  return cut == nullptr ? std::string() : std::string(buffer, static_cast<std::size_t>(cut - buffer));
}

std::string PackageList::GetDiskImagesFolder() const {
  std::string folder = ProgramFolder(process_);
  std::string value = ReadText(profile_, "Paths", "DiskImages", folder + "\\Wendmark.ini");
  return value.empty() ? folder : value;
}

}  // namespace wendmark
