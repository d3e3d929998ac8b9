#include "unpack/archive/writer.h"

#include "platform/text.h"

namespace kivo {

ArchiveWriter::ArchiveWriter(platform::File& file, std::uint32_t imageSize)
    : file_(file), imageSize_(imageSize) {}

bool ArchiveWriter::Put(const void* data, std::uint32_t size, bool checksummed) {
  const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
  std::uint32_t left = size;
  while (left > 0) {
    std::uint32_t done = 0;
    failure_ = file_.Write(p, left, &done);
    if (!failure_) return false;
    if (done == 0) {  // a write that stores nothing: the disk is full
      failure_ = platform::Status::Failure(platform::error::kDiskFull);
      return false;
    }
    p += done;
    left -= done;
  }
  if (checksummed) checksum_.Update(data, size);
  written_ += size;
  return true;
}

bool ArchiveWriter::Start(const char* programName, std::uint32_t count) {
  header_.count = count;
  platform::TextCopy(header_.programName, kProgramField, programName);
  std::uint8_t bytes[kHeaderSize];
  EncodeHeader(header_, bytes);
  return Put(bytes, kHeaderSize, false);
}

bool ArchiveWriter::AddEntry(const ArchiveEntry& entry) {
  std::uint8_t bytes[kEntrySize];
  EncodeEntry(entry, bytes);
  return Put(bytes, kEntrySize, true);
}

bool ArchiveWriter::AddData(const void* data, std::uint32_t size) { return Put(data, size, true); }

bool ArchiveWriter::Finish() {
  std::uint64_t total = written();
  if (total >= 0x100000000ull) {
    failure_ = platform::Status::Failure(platform::error::kDiskFull);
    return false;
  }
  header_.totalSize = static_cast<std::uint32_t>(total);
  header_.checksum = checksum_.value();
  std::uint8_t fields[8];
  StoreLe32(fields, header_.totalSize);
  StoreLe32(fields + 4, header_.checksum);
  if (!(failure_ = file_.Seek(imageSize_ + 280))) return false;
  std::uint64_t before = written_;
  bool ok = Put(fields, 8, false);
  written_ = before;
  return ok && (failure_ = file_.Seek(static_cast<std::uint32_t>(total)));
}

}  // namespace kivo
