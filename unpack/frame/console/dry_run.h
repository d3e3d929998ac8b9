// The extraction without its effects, for --check and --list: the engine
// runs as it always does (finds the archive, validates it, checks every
// name, walks every entry's data, and gets as far as the program it would
// start), so a damaged kit is reported with the very message an extraction
// would show. Only the archive is opened for real; folders, files and the
// current folder are left alone, and what would have been written is
// recorded instead.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/intercepting_file_system.h"
#include "unpack/engine/extractor.h"

namespace kivo::console {

struct DryRunEntry {
  std::string name;  // as stored in the archive, relative to the target folder
  std::uint64_t size = 0;
};

// Reads go to `files`; everything that would change the disk succeeds
// without touching it. Every kind of call is decided in Around, which names
// each of them, so that the compiler points out a kind added later.
class DryRunFileSystem final : public platform::InterceptingFileSystem {
 public:
  // `target` is the folder the engine joins the entries' names to.
  DryRunFileSystem(platform::FileSystem& files, const char* target)
      : InterceptingFileSystem(files), target_(target) {}

  // The files the extraction would have written, in its order.
  const std::vector<DryRunEntry>& entries() const { return entries_; }

 private:
  platform::Status Around(platform::Call& call, const Next& next) override;
  // A file the extraction would create: recorded, with a handle of its own.
  platform::Status Record(platform::Call& call);
  // The entry behind a handle this layer gave out, or null for a real one.
  DryRunEntry* Written(platform::FileHandle file);

  std::string target_;
  std::vector<DryRunEntry> entries_;
  // Handles of written files, to their entries. They count down from the
  // top of the range, far from the small numbers of real handles.
  std::unordered_map<platform::FileHandle, std::size_t> open_;
  platform::FileHandle next_ = ~platform::FileHandle{0};
};

// Takes the program the extraction would start, and starts nothing.
class ProgramNote final : public ProgramLauncher {
 public:
  bool Start(const char* program, const char*) override {
    program_ = program;
    return true;
  }
  const std::string& program() const { return program_; }

 private:
  std::string program_;
};

}  // namespace kivo::console
