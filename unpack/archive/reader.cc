#include "unpack/archive/reader.h"

#include "platform/text.h"
#include "unpack/archive/checksum.h"
#include "unpack/archive/format.h"

namespace kivo {
namespace {

// The one checksum buffer of the process. A static block costs the stub no
// file size and cannot fail to be allocated. The signature search reads
// through it too: the program in front of the archive is tens or hundreds
// of kilobytes, a few reads of a block where windows of a few bytes would
// take thousands.
std::uint8_t checksumBuffer[kCopyBlock];

// Consecutive windows overlap by the signature's length, so that one that
// straddles the end of a window is found whole in the next.
constexpr std::uint32_t kWindow = kCopyBlock;
constexpr std::uint32_t kStep = kWindow - 8;

}  // namespace

platform::Status ReadFully(platform::File& file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  std::uint8_t* p = static_cast<std::uint8_t*>(buffer);
  *done = 0;
  while (*done < size) {
    std::uint32_t n = 0;
    if (platform::Status read = file.Read(p + *done, size - *done, &n); !read) return read;
    if (n == 0) break;
    *done += n;
  }
  return platform::Status::Ok();
}

bool FindArchiveStart(platform::File& file) {
  std::uint8_t* window = checksumBuffer;
  const std::uint32_t low = OpaqueWord(kSignatureLow);
  const std::uint32_t high = OpaqueWord(kSignatureHigh);
  for (std::uint32_t p = 0;; p += kStep) {
    std::uint32_t got = 0;
    if (!file.Seek(p) || !ReadFully(file, window, kWindow, &got) || got == 0) return false;
    for (std::uint32_t k = 0; k < kStep && k + 8 <= got; ++k) {
      if (LoadLe32(window + k) != low) continue;
      if (LoadLe32(window + k + 4) != high) continue;
      return file.Seek(p + k).ok();
    }
    // Offsets are 32-bit: a file this long holds no archive we could read.
    if (p > 0xFFFFFFFFu - kStep) return false;
  }
}

std::uint32_t ComputeArchiveChecksum(platform::File& file, std::uint32_t signatureOffset,
                                     bool* complete) {
  bool dummy;
  if (complete == nullptr) complete = &dummy;
  *complete = false;
  std::uint64_t size = 0;
  std::uint32_t got = 0;
  if (!file.Seek(signatureOffset) ||
      !ReadFully(file, checksumBuffer, kHeaderSize, &got) || got != kHeaderSize ||
      !file.GetSize(&size)) {
    return 0;
  }
  std::uint64_t start = static_cast<std::uint64_t>(signatureOffset) + kHeaderSize;
  std::uint64_t remaining = size > start ? size - start : 0;
  ArchiveChecksum sum;
  while (remaining > 0) {
    std::uint32_t want = remaining >= kCopyBlock ? kCopyBlock : static_cast<std::uint32_t>(remaining);
    if (!ReadFully(file, checksumBuffer, want, &got)) return sum.value();
    sum.Update(checksumBuffer, got);
    if (got < want) return sum.value();
    remaining -= want;
  }
  *complete = true;
  return sum.value();
}

bool CheckArchive(platform::File& file, std::uint32_t signatureOffset, ArchiveCheck* check) {
  platform::MemoryFill(check, 0, sizeof *check);
  check->offset = signatureOffset;
  check->fault = ArchiveFault::kUnreadable;
  std::uint32_t saved = 0;
  if (!file.Tell(&saved)) return false;
  std::uint8_t bytes[kHeaderSize];
  std::uint32_t got = 0;
  std::uint64_t size = 0;
  if (file.Seek(signatureOffset) && ReadFully(file, bytes, kHeaderSize, &got) &&
      got == kHeaderSize && file.GetSize(&size)) {
    check->count = LoadLe32(bytes + 12);
    check->statedSize = LoadLe32(bytes + 280);
    check->fileSize = static_cast<std::uint32_t>(size);
    bool complete = false;
    if (check->count == 0) {
      check->fault = ArchiveFault::kNoEntries;
    } else if (size >= 0x100000000ull) {
      check->fault = ArchiveFault::kTooLarge;
    } else if (check->statedSize != size) {
      check->fault = ArchiveFault::kSizeMismatch;
    } else if (ComputeArchiveChecksum(file, signatureOffset, &complete) != LoadLe32(bytes + 284)) {
      check->fault = ArchiveFault::kChecksum;
    } else if (complete) {
      check->fault = ArchiveFault::kNone;
    }
  }
  if (!file.Seek(saved)) return false;
  return check->fault == ArchiveFault::kNone;
}

bool ValidateArchive(platform::File& file, std::uint32_t signatureOffset) {
  ArchiveCheck check;
  return CheckArchive(file, signatureOffset, &check);
}

}  // namespace kivo
