// The host's own words for a failure the platform layer reported by its
// Win32 code. The Linux tools show these, not the code: "No space left on
// device" tells a person what "(error 112)" does not.
#pragma once

#include <cstdint>
#include <string>

namespace platform::posix {

// The errno value that stands for `code`: the inverse of MapErrno, so every
// code MapErrno gives comes back as the errno it was made from (the first,
// where several share one). A code no errno maps onto gives 0.
int ErrnoFor(std::uint32_t code);

// strerror of ErrnoFor(code); for a code with no errno, "error N" with the
// code in decimal, so a reason is never empty.
std::string HostErrorText(std::uint32_t code);

}  // namespace platform::posix
