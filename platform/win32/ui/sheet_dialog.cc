#include "platform/win32/ui/sheet_dialog.h"

#include <commctrl.h>

#include "platform/win32/ui/property_page.h"
#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {
namespace {

constexpr char kSheetProperty[] = "TandrelPropertySheet";

// The sheet being started: its callback carries no parameter of ours, and a
// modal sheet is started on the one user-interface thread.
SheetDialog* starting = nullptr;

}  // namespace

SheetDialog::~SheetDialog() {
  if (window_ != nullptr && IsWindow(window_)) RemovePropA(window_, kSheetProperty);
}

SheetDialog* SheetDialog::FromWindow(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<SheetDialog*>(GetPropA(window, kSheetProperty));
}

INT_PTR SheetDialog::RunModal(HINSTANCE instance, HWND parent) {
  InitCommonControls();
  HPROPSHEETPAGE handles[kMaxPages];
  for (unsigned i = 0; i < pageCount_; ++i) {
    handles[i] = pages_[i]->CreateHandle(instance);
    if (handles[i] == nullptr) {
      while (i > 0) DestroyPropertySheetPage(handles[--i]);
      return -1;
    }
  }
  PROPSHEETHEADERA header = {};
  // The first header layout: the size every version of the common controls takes.
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = flags | PSH_USECALLBACK;
  header.hwndParent = parent;
  header.hInstance = instance;
  header.hIcon = icon;
  header.pszCaption = caption;
  header.nPages = pageCount_;
  header.nStartPage = 0;
  header.phpage = handles;
  header.pfnCallback = &SheetDialog::SheetCallback;
  starting = this;
  INT_PTR result = PropertySheetA(&header);
  starting = nullptr;
  window_ = nullptr;
  return result;
}

int CALLBACK SheetDialog::SheetCallback(HWND window, UINT message, LPARAM) {
  if (message != PSCB_INITIALIZED || starting == nullptr) return 0;
  SheetDialog* self = starting;
  starting = nullptr;
  self->window_ = window;
  self->original_ = Subclass(window, kSheetProperty, self, &SheetDialog::SubclassProcedure);
  self->OnCreated();
  return 0;
}

LRESULT CALLBACK SheetDialog::SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  SheetDialog* self = FromWindow(window);
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = self->original_;
  switch (message) {
    case WM_SYSCOMMAND:
      if (self->OnSysCommand(wParam)) return 0;
      break;
    case WM_HELP:
      if (self->OnHelp()) return TRUE;
      break;
    case WM_NCDESTROY:
      // The sheet goes: put its procedure back and forget the object.
      Unsubclass(window, kSheetProperty, original);
      self->window_ = nullptr;
      break;
    default:
      break;
  }
  return CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace platform::win32::ui
