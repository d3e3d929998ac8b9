#include "platform/win32/ui/property_page.h"

#include <commctrl.h>

#include "platform/win32/ui/sheet_dialog.h"

namespace platform::win32::ui {

HPROPSHEETPAGE PropertyPage::CreateHandle(HINSTANCE instance) {
  PROPSHEETPAGEA page = {};
  // The first page layout: the size every version of the common controls takes.
  page.dwSize = PROPSHEETPAGEA_V1_SIZE;
  page.dwFlags = PSP_DEFAULT;  // no Help button
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEA(templateId_);
  page.pfnDlgProc = &PropertyPage::Procedure;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return CreatePropertySheetPageA(&page);
}

SheetDialog* PropertyPage::Sheet() const {
  return window() == nullptr ? nullptr : SheetDialog::FromWindow(SheetWindow());
}

void PropertyPage::RequestWizardButtons(DWORD buttons) const {
  PostMessageA(SheetWindow(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
}

void PropertyPage::ShowSheetButton(int id, bool show) const {
  HWND button = GetDlgItem(SheetWindow(), id);
  if (button != nullptr) ShowWindow(button, show ? SW_SHOW : SW_HIDE);
}

bool PropertyPage::Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (message != WM_NOTIFY) return DialogWindow::Route(message, wParam, lParam, result);
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  switch (header->code) {
    case PSN_SETACTIVE:
      *result = OnSetActive() ? 0 : -1;
      return true;
    case PSN_WIZNEXT:
      *result = OnWizardNext();
      return true;
    case PSN_WIZBACK:
      *result = OnWizardBack();
      return true;
    case PSN_WIZFINISH:
      *result = OnWizardFinish() ? FALSE : TRUE;
      return true;
    case PSN_QUERYCANCEL:
      *result = OnQueryCancel() ? FALSE : TRUE;
      return true;
    default:
      return DialogWindow::Route(message, wParam, lParam, result);
  }
}

INT_PTR CALLBACK PropertyPage::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogWindow* self = nullptr;
  if (message == WM_INITDIALOG) {
    const PROPSHEETPAGEA* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    if (page != nullptr) self = reinterpret_cast<PropertyPage*>(page->lParam);
  } else {
    self = FromWindow(window);
  }
  return Dispatch(self, window, message, wParam, lParam);
}

}  // namespace platform::win32::ui
