#include "platform/win32/ui/dialog_window.h"

namespace platform::win32::ui {

DialogWindow::~DialogWindow() {
  // A window that outlives its object must not call into it any more.
  if (window_ != nullptr && IsWindow(window_)) SetWindowLongPtrA(window_, DWLP_USER, 0);
}

bool AnswersByReturnValue(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

DialogWindow* DialogWindow::FromWindow(HWND window) {
  return reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
}

bool DialogWindow::Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (message == WM_COMMAND) {
    if (!OnCommand(LOWORD(wParam), HIWORD(wParam))) return false;
    *result = 0;
    return true;
  }
  return OnMessage(message, wParam, lParam, result);
}

INT_PTR DialogWindow::Dispatch(DialogWindow* self, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (self == nullptr) return FALSE;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    return self->OnInitDialog();
  }
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT)
  INT_PTR result = 0;
  bool handled = self->Route(message, wParam, lParam, &result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  if (!handled) return FALSE;
  if (AnswersByReturnValue(message)) return result;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace platform::win32::ui
