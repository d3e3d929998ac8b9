// The package description: the product name, the disks of the set and the
// files of each disk, read once from packlist.ini; and the disk-image folder,
// read from Wendmark.ini beside the program whenever it is asked for.
#pragma once

#include <cstdint>

#include "diskmaker/model/cursor.h"
#include "platform/bounded_string.h"
#include "platform/heap_array.h"
#include "platform/process.h"
#include "platform/profile.h"

namespace wendmark {

struct DiskEntry {
  std::int32_t number = -1;  // section number, 0-based; shown to the user as number + 1
  bool selected = true;
  platform::HeapArray<platform::PathBuffer> files;  // entries relative to the disk-image folder

  // Fills the entry from section "Disk<number>" of the description at path.
  bool Read(std::int32_t sectionNumber, const char* path, const platform::Profile& profile);

  ForwardCursor<platform::HeapArray<platform::PathBuffer>> Files() { return MakeCursor(files); }
  ForwardCursor<const platform::HeapArray<platform::PathBuffer>> Files() const {
    return MakeCursor(files);
  }
};

class PackageList {
 public:
  PackageList(const platform::Profile& profile, const platform::Process& process)
      : profile_(profile), process_(process) {}

  // Reads the description at the full path; false when anything is wrong
  // with it (nothing is shown: start-up then ends quietly).
  bool Load(const char* path);

  const platform::PathBuffer& GetName() const { return name; }
  int CountSelected() const;

  // "DiskImages" of [Paths] in Wendmark.ini beside the program, as written;
  // the program's folder when it is missing or empty. Read afresh each call.
  platform::PathBuffer GetDiskImagesFolder() const;

  ForwardCursor<platform::HeapArray<DiskEntry>> Disks() { return MakeCursor(disks); }
  ForwardCursor<const platform::HeapArray<DiskEntry>> Disks() const { return MakeCursor(disks); }

  platform::PathBuffer name;
  platform::HeapArray<DiskEntry> disks;

 private:
  const platform::Profile& profile_;
  const platform::Process& process_;
};

// The folder of the running program: its full path cut before the last
// separator.
platform::PathBuffer ProgramFolder(const platform::Process& process);

}  // namespace wendmark
