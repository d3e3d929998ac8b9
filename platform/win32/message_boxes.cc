#include "platform/win32/message_boxes.h"

#include <windows.h>

namespace platform::win32 {

int SystemMessageBoxes::Show(const char* text, const char* caption, std::uint32_t style) {
  return MessageBoxA(static_cast<HWND>(owner_), text, caption, style);
}

std::uint32_t ResourceStringTable::Load(std::uint32_t id, char* buffer,
                                        std::uint32_t capacity) const {
  if (capacity == 0) return 0;
  int n = LoadStringA(static_cast<HINSTANCE>(instance_), id, buffer, static_cast<int>(capacity));
  if (n <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::uint32_t>(n);
}

}  // namespace platform::win32
