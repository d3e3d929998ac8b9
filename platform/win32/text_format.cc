// Formatting as Windows does it.
#include <windows.h>

#include "platform/format.h"
#include "platform/text.h"

namespace platform {

std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  // wvsprintfA takes no size: it writes at most kFormatLimit bytes, so
  // format into a buffer of that size and cut the result to the caller's.
  char scratch[kFormatLimit];
  int n = wvsprintfA(scratch, format, args);
  if (n < 0) n = 0;
  scratch[n < static_cast<int>(kFormatLimit) ? n : kFormatLimit - 1] = '\0';
  return TextCopy(dst, capacity, scratch);
}

}  // namespace platform
