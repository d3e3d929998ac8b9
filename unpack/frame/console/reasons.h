// The console's own words below a message of the extractor: why a kit is
// refused, and the system's reason for a failed call. The message itself is
// the Windows program's, word for word; the reason is the line a Linux user
// expects after it.
#pragma once

#include <cstdint>
#include <string>

#include "unpack/archive/reader.h"
#include "unpack/engine/messages.h"

namespace kivo::console {

// "1 byte", "2 bytes", "1,234 bytes": a count with its noun, in thousands.
std::string CountOf(std::uint64_t n, const char* one, const char* many);

// What is wrong with a kit that failed validation, as one clause.
std::string DescribeArchiveFault(const ArchiveCheck& check);

// The reason for a message, or "" when it has none.
std::string DescribeCause(const MessageCause& cause);

}  // namespace kivo::console
