#include "platform/win32/ui/modal_dialog.h"

namespace platform::win32::ui {

INT_PTR ModalDialog::RunModal(HINSTANCE instance, WORD templateId, HWND parent) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, &ModalDialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

void ModalDialog::End(INT_PTR code) {
  if (window() != nullptr) EndDialog(window(), code);
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogWindow* self = message == WM_INITDIALOG ? reinterpret_cast<ModalDialog*>(lParam)
                                                : FromWindow(window);
  return Dispatch(self, window, message, wParam, lParam);
}

}  // namespace platform::win32::ui
