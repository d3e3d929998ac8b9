// Formatting by the Windows programs' rules, and path separators as the
// system's own paths have them.
#include "platform/format.h"
#include "platform/text.h"

namespace platform {

std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  char scratch[kFormatLimit];
  FormatWindowsStyle(scratch, format, args);
  return TextCopy(dst, capacity, scratch);
}

const char* LastPathSeparator(const char* path) {
  // The program's own path and the current directory come with slashes.
  const char* last = nullptr;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') last = p;
  }
  return last;
}

}  // namespace platform
