// The folder a disk's files are copied into before they become an image,
// made to behave like the blank 1.44 MB floppy the image will be: at most
// 2,847 clusters of 512 bytes of file data and 223 root directory entries
// (224, less the volume label's), names found without regard to case, and a
// write or a new file that would not fit refused with the disk-full code, as
// the floppy's file system would refuse it. Every other path passes through
// untouched. What a name costs in entries follows the planner's count (a
// short upper-case 8.3 name one entry, any other one more per 13
// characters), so that what it planned fits and what it did not is refused.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/forwarding_file_system.h"
#include "platform/posix/code_page.h"

namespace wendmark {

class StagingFloppy final : public platform::ForwardingFileSystem {
 public:
  // `folder`: the staging folder as paths to it are spelt (no trailing
  // separator). Names below it are in `page`'s code page, as the engine
  // builds them from the description.
  StagingFloppy(platform::FileSystem& inner, std::string folder, const platform::posix::CodePage& page)
      : ForwardingFileSystem(inner), folder_(std::move(folder)), page_(page) {}

  // Counts a file that is already on the floppy (carried over from an
  // image). False when it does not fit.
  bool Adopt(const std::string& name, std::uint64_t bytes);

  std::uint32_t usedClusters() const { return usedClusters_; }
  std::uint32_t usedEntries() const { return usedEntries_; }

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  platform::Status Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* done) override;
  // The staging folder is scratch: what counts is pushed to the disk once,
  // with the image.
  platform::Status Flush(platform::FileHandle file) override;
  platform::Status Seek(platform::FileHandle file, std::uint32_t offset) override;
  platform::Status Skip(platform::FileHandle file, std::uint32_t count) override;
  platform::Status Close(platform::FileHandle file) override;
  platform::Status Remove(const char* path) override;

 private:
  struct Entry {
    std::string name;  // as first written, which the floppy keeps
    std::uint64_t bytes = 0;
    std::uint32_t slots = 0;
  };
  struct Writer {
    std::string key;
    std::uint64_t position = 0;
  };

  // The name below the staging folder's top level, or "" for any other path.
  std::string NameIn(const char* path) const;
  std::string Key(const std::string& name) const;
  // Grows (or shrinks) a file to `bytes`; false when the clusters are not there.
  bool Resize(Entry& entry, std::uint64_t bytes);

  std::string folder_;
  const platform::posix::CodePage& page_;
  std::map<std::string, Entry> entries_;  // by folded name
  std::map<platform::FileHandle, Writer> writers_;
  std::uint32_t usedClusters_ = 0;
  std::uint32_t usedEntries_ = 0;
};

}  // namespace wendmark
