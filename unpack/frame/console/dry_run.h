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

#include "platform/file_system.h"
#include "unpack/engine/extractor.h"

namespace kivo::console {

struct DryRunEntry {
  std::string name;  // as stored in the archive, relative to the target folder
  std::uint64_t size = 0;
};

// Reads go to `files`; everything that would change the disk succeeds
// without touching it. Not a layer to forward to: any call added to
// FileSystem has to be decided here, which the compiler sees to.
class DryRunFileSystem final : public platform::FileSystem {
 public:
  // `target` is the folder the engine joins the entries' names to.
  DryRunFileSystem(platform::FileSystem& files, const char* target) : files_(files), target_(target) {}

  // The files the extraction would have written, in its order.
  const std::vector<DryRunEntry>& entries() const { return entries_; }

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  platform::Status Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
  platform::Status Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* done) override;
  platform::Status Flush(platform::FileHandle file) override;
  platform::Status Seek(platform::FileHandle file, std::uint32_t offset) override;
  platform::Status Skip(platform::FileHandle file, std::uint32_t count) override;
  platform::Status Tell(platform::FileHandle file, std::uint32_t* offset) override;
  platform::Status GetSize(platform::FileHandle file, std::uint64_t* size) override;
  platform::Status GetTimes(platform::FileHandle file, platform::FileTimes* times) override;
  platform::Status SetTimes(platform::FileHandle file, const platform::FileTimes& times) override;
  platform::Status Close(platform::FileHandle file) override;
  platform::Status Remove(const char* path) override;
  platform::Status Replace(const char* source, const char* target) override;
  platform::Status GetAttributes(const char* path, std::uint32_t* attributes) override;
  platform::Status MakeDirectory(const char* path) override;
  platform::Status SetCurrentDir(const char* path) override;

 private:
  // The entry behind a handle this layer gave out, or null for a real one.
  DryRunEntry* Written(platform::FileHandle file);

  platform::FileSystem& files_;
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
