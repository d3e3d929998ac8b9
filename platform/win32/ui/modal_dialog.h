// A modal dialog on a template of the program's resources. The dialog
// procedure is a static trampoline that finds the object from the pointer
// stored at WM_INITDIALOG; virtual handlers do the work.
#pragma once

#include <windows.h>

namespace platform::win32::ui {

class ModalDialog {
 public:
  ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Runs the dialog on template `templateId` of `instance`, owned by
  // `parent`. Returns the end code, or -1 when the dialog could not be made.
  INT_PTR RunModal(HINSTANCE instance, WORD templateId, HWND parent);

  HWND window() const { return window_; }

 protected:
  virtual ~ModalDialog();

  // True lets the system put the focus on the first control that takes it.
  virtual BOOL OnInitDialog() { return TRUE; }
  // A WM_COMMAND; true when handled.
  virtual bool OnCommand(WORD id, WORD code) {
    (void)id;
    (void)code;
    return false;
  }
  // Any other message; true when handled, with *result as the answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)result;
    return false;
  }

  void End(INT_PTR code);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

}  // namespace platform::win32::ui
