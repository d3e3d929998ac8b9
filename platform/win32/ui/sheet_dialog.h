// A modal property sheet, in wizard mode or not, over pages of ours. The
// sheet window is subclassed once it exists, so that a derived sheet can
// adjust it (OnCreated) and see its system commands and help requests.
#pragma once

#include <windows.h>
#include <prsht.h>

namespace platform::win32::ui {

class PropertyPage;

class SheetDialog {
 public:
  SheetDialog() = default;
  SheetDialog(const SheetDialog&) = delete;
  SheetDialog& operator=(const SheetDialog&) = delete;
  virtual ~SheetDialog();

  // A sheet holds at most kMaxPages pages; false when it is full.
  static constexpr unsigned kMaxPages = 16;
  bool AddPage(PropertyPage* page) {
    if (pageCount_ >= kMaxPages) return false;
    pages_[pageCount_++] = page;
    return true;
  }
  unsigned PageCount() const { return pageCount_; }

  // Header flags (PSH_*), set before RunModal.
  DWORD flags = PSH_DEFAULT;
  HICON icon = nullptr;
  const char* caption = "";

  // Runs the sheet; the PropertySheetA result (-1 when it could not start).
  INT_PTR RunModal(HINSTANCE instance, HWND parent);

  HWND window() const { return window_; }

  // The sheet object of a sheet window of ours; null for any other window.
  static SheetDialog* FromWindow(HWND window);

 protected:
  // The sheet window exists and is about to be shown.
  virtual void OnCreated() {}
  // WM_SYSCOMMAND; true when handled.
  virtual bool OnSysCommand(WPARAM command) {
    (void)command;
    return false;
  }
  // WM_HELP (F1); true when handled.
  virtual bool OnHelp() { return false; }

 private:
  static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  PropertyPage* pages_[kMaxPages] = {};
  unsigned pageCount_ = 0;
  HWND window_ = nullptr;
  WNDPROC original_ = nullptr;
};

}  // namespace platform::win32::ui
