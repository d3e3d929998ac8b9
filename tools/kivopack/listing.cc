#include "tools/kivopack/listing.h"

#include <algorithm>

#include "kit/error_text.h"
#include "platform/file.h"
#include "unpack/archive/format.h"
#include "unpack/archive/reader.h"

namespace kivopack {

using platform::OpenMode;

std::string Counted(std::uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool ReadListing(platform::FileSystem& io, const std::string& path, ArchiveListing* listing, std::string* error) {
  auto refuse = [error](std::string why) {
    *error = std::move(why);
    return false;
  };
  // A header or a record, whole, or nothing.
  auto read = [](platform::File& file, std::uint8_t* bytes, std::uint32_t size) {
    std::uint32_t got = 0;
    return kivo::ReadFully(file, bytes, size, &got) && got == size;
  };
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    return refuse(FailedOn("cannot open", path, opened));
  }
  if (!kivo::FindArchiveStart(file) || !file.Tell(&listing->offset)) return refuse("no archive in " + path);
  std::uint8_t header[kivo::kHeaderSize];
  if (!read(file, header, kivo::kHeaderSize)) return refuse("the header cannot be read");
  kivo::ArchiveHeader decoded;
  kivo::DecodeHeader(header, &decoded);
  if (!kivo::HasTerminator(decoded.programName, kivo::kProgramField)) {
    return refuse("the program name has no terminator");
  }
  listing->program = decoded.programName;
  listing->entries.clear();
  for (std::uint32_t i = 0; i < decoded.count; ++i) {
    std::uint8_t bytes[kivo::kEntrySize];
    if (!read(file, bytes, kivo::kEntrySize)) {
      return refuse("the table ends after " + std::to_string(i) + " of " +
                    Counted(decoded.count, "entry", "entries"));
    }
    kivo::ArchiveEntry entry;
    kivo::DecodeEntry(bytes, &entry);
    if (!kivo::HasTerminator(entry.name, kivo::kNameField)) {
      return refuse("entry " + std::to_string(i) + " has a name without terminator");
    }
    listing->entries.push_back({entry.name, entry.sizeLow, entry.times, entry.attributes});
  }
  return true;
}

bool Verify(platform::FileSystem& io, const std::string& path, ArchiveListing* listing, std::string* error,
            const KitNames& names) {
  if (!ReadListing(io, path, listing, error)) return false;
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    *error = FailedOn("cannot open", path, opened);
    return false;
  }
  std::uint64_t size = 0;
  if (platform::Status sized = file.GetSize(&size); !sized) {
    *error = FailedOn("cannot read", path, sized);
    return false;
  }
  if (!kivo::ValidateArchive(file, listing->offset)) {
    *error = listing->entries.empty() ? "the archive holds no entries"
                                      : "size or checksum does not match";
    return false;
  }
  std::uint64_t data = 0;
  for (const ListedEntry& e : listing->entries) {
    if (!kivo::IsAcceptableEntryName(e.name.c_str())) {
      *error = "the extractor would refuse the name: " + names.ToHost(e.name);
      return false;
    }
    data += e.size;
  }
  // A kit whose program is none of its files ends every extraction with a
  // failed start.
  if (!listing->program.empty() &&
      std::none_of(listing->entries.begin(), listing->entries.end(),
                   [&](const ListedEntry& e) { return e.name == listing->program; })) {
    *error = "the program " + names.ToHost(listing->program) + " is none of the archive's entries";
    return false;
  }
  std::uint64_t expected = listing->offset + kivo::kHeaderSize +
                           static_cast<std::uint64_t>(listing->entries.size()) * kivo::kEntrySize + data;
  if (expected != size) {
    *error = "the data area holds " + std::string(expected > size ? "fewer" : "more") +
             " bytes than the entries";
    return false;
  }
  return true;
}

}  // namespace kivopack
