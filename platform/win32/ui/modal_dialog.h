// A modal dialog on a template of the program's resources.
#pragma once

#include <windows.h>

#include "platform/win32/ui/dialog_window.h"

namespace platform::win32::ui {

class ModalDialog : public DialogWindow {
 public:
  // Runs the dialog on template `templateId` of `instance`, owned by
  // `parent`. Returns the end code, or -1 when the dialog could not be made.
  INT_PTR RunModal(HINSTANCE instance, WORD templateId, HWND parent);

 protected:
  ~ModalDialog() override = default;

  void End(INT_PTR code);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace platform::win32::ui
