#include "platform/win32/ui/modal_dialog.h"

namespace platform::win32::ui {

ModalDialog::~ModalDialog() {
  // A dialog that outlives its object must not call into it any more.
  if (window_ != nullptr && IsWindow(window_)) SetWindowLongPtrA(window_, DWLP_USER, 0);
}

INT_PTR ModalDialog::RunModal(HINSTANCE instance, WORD templateId, HWND parent) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, &ModalDialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

void ModalDialog::End(INT_PTR code) {
  if (window_ != nullptr) EndDialog(window_, code);
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    return self->OnInitDialog();
  }
  self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT)
  INT_PTR result = FALSE;
  if (message == WM_COMMAND) {
    result = self->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  } else if (!self->OnMessage(message, wParam, lParam, &result)) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) self->window_ = nullptr;
  return result;
}

}  // namespace platform::win32::ui
