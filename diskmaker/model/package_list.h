// The package description: the product name, the disks of the set and the
// files of each disk, read once from packlist.ini; and the disk-image folder,
// read from Wendmark.ini beside the program whenever it is asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diskmaker/model/cursor.h"
#include "platform/process.h"
#include "platform/profile.h"

namespace wendmark {

struct DiskEntry {
  std::int32_t number = -1;  // section number, 0-based; shown to the user as number + 1
  bool selected = true;
  std::vector<std::string> files;  // entries relative to the disk-image folder

  // Fills the entry from section "Disk<number>" of the description at path.
  bool Read(std::int32_t sectionNumber, const std::string& path, const platform::Profile& profile);

  ForwardCursor<std::vector<std::string>> Files() { return MakeCursor(files); }
  ForwardCursor<const std::vector<std::string>> Files() const { return MakeCursor(files); }
};

class PackageList {
 public:
  explicit PackageList(const platform::Profile& profile = platform::DefaultProfile(),
                       const platform::Process& process = platform::DefaultProcess())
      : profile_(profile), process_(process) {}

  // Reads the description at the full path; false when anything is wrong
  // with it (nothing is shown: start-up then ends quietly).
  bool Load(const std::string& path);

  std::string GetName() const { return name; }
  int CountSelected() const;

  // "DiskImages" of [Paths] in Wendmark.ini beside the program, as written;
  // the program's folder when it is missing or empty. Read afresh each call.
  std::string GetDiskImagesFolder() const;

  ForwardCursor<std::vector<DiskEntry>> Disks() { return MakeCursor(disks); }
  ForwardCursor<const std::vector<DiskEntry>> Disks() const { return MakeCursor(disks); }

  std::string name;
  std::vector<DiskEntry> disks;

 private:
  const platform::Profile& profile_;
  const platform::Process& process_;
};

// The folder of the running program: its full path cut before the last
// separator.
std::string ProgramFolder(const platform::Process& process);

}  // namespace wendmark
