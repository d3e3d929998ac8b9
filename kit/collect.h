// A setup folder's files as a kit holds them: what kivopack packs and what
// wendplan plans disks for, found by one rule so that the plan names
// exactly the files the kit carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/kit_names.h"
#include "platform/file_system.h"
#include "platform/types.h"

namespace kivopack {

struct SourceFile {
  std::string name;  // archive name: relative, backslash-separated, in the kit's code page
  std::string path;  // where it is read from
  std::uint64_t size = 0;
  platform::FileTimes times;
};

// Every regular file below `source`, and every link to one inside it (under
// the link's name), in byte-wise order of their archive names, listed and
// read through `files`. False with `error` set when there is none, or when
// anything below cannot be packed: a name the extractor would refuse or the
// code page cannot hold, a link that leads outside the source, nowhere or
// round in a loop, an entry that is neither file nor folder, a folder that
// cannot be listed or a file that cannot be read. All of them are named
// together, on one line, by their host paths. What is there but cannot be
// packed (empty folders, links to folders) is added to `warnings`.
bool CollectFiles(platform::FileSystem& files, const std::string& source, std::vector<SourceFile>* found,
                  std::string* error, const KitNames& names = KitNames::AsciiOnly(),
                  std::vector<std::string>* warnings = nullptr);

}  // namespace kivopack
