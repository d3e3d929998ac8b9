// Finding, checking and reading the archive inside a file.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace kivo {

// Reads until `size` bytes have arrived or the file ends, so that a short
// read from the system does not end anything early. False when a read fails.
platform::Status ReadFully(platform::File& file, void* buffer, std::uint32_t size, std::uint32_t* done);

// Scans from the start of the file for the signature, every offset once in
// increasing order, in windows of 32 KiB that overlap by 8 bytes. On
// success the read position is at the first signature byte (the earliest
// occurrence). Uses the checksum buffer.
bool FindArchiveStart(platform::File& file);

// The checksum of every byte from signatureOffset + 800 to the end of the
// file. `complete` (may be null) is cleared when a read failed or ended
// early, so that the value does not cover the whole file. Leaves the read
// position where reading stopped.
std::uint32_t ComputeArchiveChecksum(platform::File& file, std::uint32_t signatureOffset,
                                     bool* complete = nullptr);

// Why an archive is not valid. The Windows program shows string 10 for all
// of them alike; the console front end also says which it was.
enum class ArchiveFault : std::uint8_t {
  kNone,
  kUnreadable,      // the header, or the bytes after it, could not be read whole
  kNoEntries,       // the count is 0
  kTooLarge,        // the file is 4 GiB or more
  kSizeMismatch,    // the file is not as long as the header says
  kChecksum,        // the bytes after the header do not give the stored checksum
  // Found where the table is read (the engine), not by CheckArchive:
  kSizesDisagree,   // a record's two sizes differ, or its high size is not 0
  kDataMismatch,    // the table runs past the end of the file, or the entries'
                    // sizes do not fill the data area (unfilled > 0) or claim
                    // more than it holds (unfilled == 0)
};

// What validation found, with the figures a reason is told by.
struct ArchiveCheck {
  ArchiveFault fault = ArchiveFault::kNone;
  std::uint32_t offset = 0;      // of the signature
  std::uint32_t count = 0;       // records, as the header says
  std::uint32_t statedSize = 0;  // the file's size, as the header says
  std::uint32_t fileSize = 0;    // the file's size, as it is (low 32 bits)
  std::uint32_t entry = 0;       // kSizesDisagree: the first such record, from 0
  std::uint32_t unfilled = 0;    // kDataMismatch: bytes of the data area no record claims
};

// True when the header can be read, its count is not 0, its total size is
// the file's size (a file of 4 GiB or more is never valid) and its checksum
// matches. The header lies outside the checksum, so a changed count passes
// here: a reader of the table must also see that each record gives one size
// and that the sizes fill the data area exactly, as the engine does.
// Restores the read position in every case; fills *check either way.
bool CheckArchive(platform::File& file, std::uint32_t signatureOffset, ArchiveCheck* check);

// CheckArchive without the reason.
bool ValidateArchive(platform::File& file, std::uint32_t signatureOffset);

}  // namespace kivo
