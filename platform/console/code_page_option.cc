#include "platform/console/code_page_option.h"

namespace platform::console {

bool ParseCodePageNumber(const char* text, unsigned* number) {
  if (text == nullptr || *text == '\0') return false;
  unsigned long value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    value = value * 10 + static_cast<unsigned>(*c - '0');
    // Stops before a long run of digits can wrap around.
    if (value > 65535) return false;
  }
  if (value == 0) return false;
  *number = static_cast<unsigned>(value);
  return true;
}

}  // namespace platform::console
