#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {

WNDPROC Subclass(HWND window, const char* property, void* object, WNDPROC procedure) {
  SetPropA(window, property, object);
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void Unsubclass(HWND window, const char* property, WNDPROC original) {
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  RemovePropA(window, property);
}

}  // namespace platform::win32::ui
