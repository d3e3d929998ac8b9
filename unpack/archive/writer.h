// Writes an archive the extractor accepts: the header with the count and the
// program name, one record per file, every file's bytes in record order, and
// last the total size and the checksum over everything after the header.
#pragma once

#include <cstdint>

#include "platform/file.h"
#include "unpack/archive/checksum.h"
#include "unpack/archive/format.h"

namespace kivo {

class ArchiveWriter {
 public:
  // `file` is open for writing, positioned where the archive begins (after
  // any extractor image already written, which `imageSize` counts).
  ArchiveWriter(platform::File& file, std::uint32_t imageSize);

  bool Start(const char* programName, std::uint32_t count);
  // Records in the order their data will follow.
  bool AddEntry(const ArchiveEntry& entry);
  bool AddData(const void* data, std::uint32_t size);
  // Fills in the size and the checksum. Fails when the file reached 4 GiB.
  bool Finish();

  std::uint64_t written() const { return imageSize_ + written_; }
  // Why the latest call failed.
  platform::Status failure() const { return failure_; }

 private:
  bool Put(const void* data, std::uint32_t size, bool checksummed);

  platform::File& file_;
  std::uint32_t imageSize_;
  std::uint64_t written_ = 0;
  ArchiveHeader header_;
  ArchiveChecksum checksum_;
  platform::Status failure_;
};

}  // namespace kivo
