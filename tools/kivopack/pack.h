// kivopack's work: collect a folder's files, write a self-extracting file
// (stub + archive), list and verify an archive. Refusals come back as one
// line of text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/types.h"
#include "tools/kivopack/kit_names.h"

namespace kivopack {

struct SourceFile {
  std::string name;  // archive name: relative, backslash-separated, in the kit's code page
  std::string path;  // where it is read from
  std::uint64_t size = 0;
  platform::FileTimes times;
};

struct PackRequest {
  std::string output;
  std::string stub;  // empty: a bare archive
  // One of the packed files, by its path below `source` (either separator),
  // as the host spells it; empty: none.
  std::string program;
  std::string source;
  // The latest time the archive may hold: a creation, last-access or
  // last-write time after it is stored as this time. Empty: the files' own.
  std::optional<platform::FileTime> latestTime;
  // The code page the archive's names are written in.
  const KitNames* names = &KitNames::AsciiOnly();
  // Told, once the source has been read, of what is there but not packed
  // (an empty folder, a link to a folder); packing goes on.
  std::function<void(const std::string&)> warn;
  // The file layer the kit is written and the files are read through; null:
  // the system's own.
  platform::FileSystem* files = nullptr;
};

// "1 entry", "2 entries".
std::string Counted(std::uint64_t n, const char* one, const char* many);

// SOURCE_DATE_EPOCH's value (seconds since 1970-01-01 UTC, written as a plain
// decimal number) as a FILETIME. False with `error` set for anything else,
// and for a time after 9999-12-31 23:59:59, which no calendar shows.
bool ParseSourceDateEpoch(const std::string& text, platform::FileTime* time, std::string* error);

// Called with the bytes written so far and the total, now and then.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Every regular file below `source`, and every link to one inside it (under
// the link's name), in byte-wise order of their archive names. False with
// `error` set when there is none, or when anything below cannot be packed:
// a name the extractor would refuse or the code page cannot hold, a link
// that leads outside the source, nowhere or round in a loop, an entry that
// is neither file nor folder, a folder that cannot be listed or a file that
// cannot be read. All of them are named together, on one line, by their
// host paths. What is there but cannot be packed (empty folders, links to
// folders) is added to `warnings`.
bool CollectFiles(const std::string& source, std::vector<SourceFile>* files, std::string* error,
                  const KitNames& names = KitNames::AsciiOnly(), std::vector<std::string>* warnings = nullptr);

// Writes the kit as OUT.partial and gives it its name only when whole: on
// failure an earlier kit stays as it was and no OUT.partial is left. The
// program must be one of the collected files.
bool Pack(const PackRequest& request, std::string* error, const Progress& progress = {});

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

// Finds the archive and reads its header and table.
bool ReadListing(const std::string& path, ArchiveListing* listing, std::string* error);

// Finds and validates the archive, and checks every name, that the program
// is one of the entries and that the data area holds exactly the entries'
// bytes. `names` shows a refused name.
bool Verify(const std::string& path, ArchiveListing* listing, std::string* error,
            const KitNames& names = KitNames::AsciiOnly());

// "YYYY-MM-DD HH:MM:SS" (UTC) of a FILETIME.
std::string FormatTime(platform::FileTime time);

}  // namespace kivopack
