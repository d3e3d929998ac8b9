// A window procedure of ours put in front of a window's own (a control's,
// or the property sheet's), with the object it serves kept in a named
// window property, and taken away again.
#pragma once

#include <windows.h>

namespace platform::win32::ui {

// Keeps `object` under `property` and routes the window's messages to
// `procedure`; returns the procedure it had, which ours passes messages on to.
WNDPROC Subclass(HWND window, const char* property, void* object, WNDPROC procedure);

// Puts `original` back and forgets the object.
void Unsubclass(HWND window, const char* property, WNDPROC original);

// What a class derives from when its objects stand for one window each and
// so cannot be copied.
class OneWindow {
 public:
  OneWindow(const OneWindow&) = delete;
  OneWindow& operator=(const OneWindow&) = delete;

 protected:
  OneWindow() = default;
  ~OneWindow() = default;
};

}  // namespace platform::win32::ui
