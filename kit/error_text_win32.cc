// On Windows the codes are the system's own, and so are its words for them.
#include "kit/error_text.h"

#include <windows.h>

namespace kivopack {

std::string ErrorText(std::uint32_t code) {
  char text[512];
  DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                              sizeof text, nullptr);
  // The system's sentence ends in a full stop and a line break; ours go on.
  while (size > 0 && (text[size - 1] == '\r' || text[size - 1] == '\n' || text[size - 1] == ' ' ||
                      text[size - 1] == '.'))
    --size;
  if (size == 0) return "error " + std::to_string(code);
  return std::string(text, size);
}

}  // namespace kivopack
