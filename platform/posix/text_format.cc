// Formatting by the Windows programs' rules.
#include "platform/format.h"
#include "platform/text.h"

namespace platform {

std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  char scratch[kFormatLimit];
  FormatWindowsStyle(scratch, format, args);
  return TextCopy(dst, capacity, scratch);
}

}  // namespace platform
