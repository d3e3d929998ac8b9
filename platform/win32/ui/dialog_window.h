// The part every dialog-based window of ours shares: a static trampoline
// finds the object from the pointer stored at WM_INITDIALOG and hands each
// message to virtual handlers. The classes above it only say where that
// pointer comes from (a modal dialog's init parameter, a property page's
// PROPSHEETPAGE::lParam).
#pragma once

#include <windows.h>

#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {

class DialogWindow : OneWindow {
 public:
  DialogWindow() = default;

  HWND window() const { return window_; }

 protected:
  virtual ~DialogWindow();

  // True lets the system put the focus on the first control that takes it.
  virtual BOOL OnInitDialog() { return TRUE; }
  // A WM_COMMAND; true when handled.
  virtual bool OnCommand(WORD id, WORD code) {
    (void)id;
    (void)code;
    return false;
  }
  // Any other message; true when handled, with *result as the answer. The
  // answer reaches the sender through DWLP_MSGRESULT (for WM_NOTIFY, a
  // page's -1 to PSN_WIZNEXT...), except for the few messages whose answer
  // is the dialog procedure's own return value (WM_CTLCOLOR*, ...).
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)result;
    return false;
  }

  // Routes one message to the handlers above; classes that add message
  // kinds of their own (a page's notifications) extend it.
  virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  // The body of every trampoline: `self` is the object found for `window`
  // (null before WM_INITDIALOG); at WM_INITDIALOG it is the one to attach.
  static INT_PTR Dispatch(DialogWindow* self, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam);
  static DialogWindow* FromWindow(HWND window);

 private:
  HWND window_ = nullptr;
};

// Messages whose answer is the dialog procedure's return value rather than
// DWLP_MSGRESULT.
bool AnswersByReturnValue(UINT message);

}  // namespace platform::win32::ui
