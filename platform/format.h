// The formatting rules of the Windows programs' texts, written out so that
// every build follows them: the shipped programs format with wvsprintfA,
// and the native builds (and their tests) with this, which keeps to the
// same limit and the same conversions.
//
//   %[-][#][0][width][.precision][l|h]type
//   type: d i u x X c s p and %; anything else stands for itself and takes
//   no argument. No *, no +, no floating point; a precision of 0 is none.
//   At most 1,023 characters come out; a lone % at the end is dropped; a
//   null %s reads "(null)".
#pragma once

#include <cstdarg>
#include <cstdint>

namespace platform {

// The most a formatted text holds, terminator included.
constexpr std::uint32_t kFormatLimit = 1024;

// Formats into out (kFormatLimit bytes, always terminated); returns the
// length written.
std::uint32_t FormatWindowsStyle(char* out, const char* format, va_list args);

}  // namespace platform
