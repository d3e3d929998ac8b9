// One page of a property sheet or wizard, on a dialog template. The page
// object is reachable from PROPSHEETPAGE::lParam at WM_INITDIALOG; the
// sheet's notifications arrive as virtual handlers whose answers go back
// through DWLP_MSGRESULT.
#pragma once

#include <windows.h>
#include <prsht.h>

#include "platform/win32/ui/dialog_window.h"

namespace platform::win32::ui {

class SheetDialog;

class PropertyPage : public DialogWindow {
 public:
  explicit PropertyPage(WORD templateId) : templateId_(templateId) {}

  // The page's handle for the sheet header; null when the system refused it.
  HPROPSHEETPAGE CreateHandle(HINSTANCE instance);

  // The sheet this page lies on (the parent window), when it is one of ours.
  SheetDialog* Sheet() const;

 protected:
  ~PropertyPage() override = default;

  // PSN_SETACTIVE: true lets the page be shown.
  virtual bool OnSetActive() { return true; }
  // PSN_WIZNEXT / PSN_WIZBACK: 0 goes on to the neighbouring page, -1 stays.
  virtual LRESULT OnWizardNext() { return 0; }
  virtual LRESULT OnWizardBack() { return 0; }
  // PSN_WIZFINISH: true lets the sheet close.
  virtual bool OnWizardFinish() { return true; }
  // PSN_QUERYCANCEL: true lets the sheet close.
  virtual bool OnQueryCancel() { return true; }

  // Sheet helpers: the wizard buttons (posted, so they apply after the page
  // switch), and showing one of the sheet's own buttons.
  void RequestWizardButtons(DWORD buttons) const;
  void ShowSheetButton(int id, bool show) const;
  HWND SheetWindow() const { return GetParent(window()); }

  bool Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WORD templateId_;
};

}  // namespace platform::win32::ui
