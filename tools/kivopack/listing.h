// kivopack --list and --verify: an archive's table read back, and the
// archive checked as the extractor will read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/kit_names.h"
#include "platform/file_system.h"
#include "platform/types.h"

namespace kivopack {

struct ListedEntry {
  std::string name;  // in the archive's code page
  std::uint64_t size = 0;
  platform::FileTimes times;
  std::uint32_t attributes = 0;
};

struct ArchiveListing {
  std::uint32_t offset = 0;  // of the signature
  std::string program;
  std::vector<ListedEntry> entries;
};

// "1 entry", "2 entries".
std::string Counted(std::uint64_t n, const char* one, const char* many);

// Finds the archive and reads its header and table.
bool ReadListing(platform::FileSystem& files, const std::string& path, ArchiveListing* listing, std::string* error);

// Finds and validates the archive, and checks every name, that the program
// is one of the entries and that the data area holds exactly the entries'
// bytes. `names` shows a refused name.
bool Verify(platform::FileSystem& files, const std::string& path, ArchiveListing* listing, std::string* error,
            const KitNames& names = KitNames::AsciiOnly());

}  // namespace kivopack
