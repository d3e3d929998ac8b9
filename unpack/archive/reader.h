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

// True when the header can be read, its count is not 0, its total size is
// the file's size (a file of 4 GiB or more is never valid) and its checksum
// matches. Restores the read position in every case.
bool ValidateArchive(platform::File& file, std::uint32_t signatureOffset);

}  // namespace kivo
