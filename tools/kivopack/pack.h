// kivopack's packing: a folder's files written as a self-extracting file
// (stub + archive). Refusals come back as one line of text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "kit/collect.h"
#include "kit/kit_names.h"
#include "platform/file_system.h"
#include "platform/types.h"

namespace kivopack {

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
};

// Called with the bytes written so far and the total, now and then.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Writes the kit as OUT.partial and gives it its name only when whole: on
// failure an earlier kit stays as it was and no OUT.partial is left. The
// program must be one of the collected files. The source is read and the
// kit written through `files`.
bool Pack(platform::FileSystem& files, const PackRequest& request, std::string* error,
          const Progress& progress = {});

}  // namespace kivopack
