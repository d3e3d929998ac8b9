// The wizard sheet with its window decoration, system menu and quit
// question, and the about box it opens.
#pragma once

#include <windows.h>

#include "platform/bounded_string.h"
#include "platform/string_table.h"
#include "platform/win32/ui/modal_dialog.h"
#include "platform/win32/ui/sheet_dialog.h"

namespace wendmark {

class WendmarkPage;

class CWendmarkDlg final : public platform::win32::ui::SheetDialog {
 public:
  CWendmarkDlg(HINSTANCE instance, const platform::StringTable& strings, HWND parent = nullptr);
  ~CWendmarkDlg() override = default;

  INT_PTR DoModal() { return RunModal(instance_, parent_); }

  // Adds a page that asks this sheet's quit question.
  void AddWizardPage(WendmarkPage* page);

  // Asks whether to quit; true for Yes.
  bool ConfirmQuit();

 private:
  void OnCreated() override;
  bool OnSysCommand(WPARAM command) override;
  bool OnHelp() override { return true; }  // F1 does nothing

  HINSTANCE instance_;
  const platform::StringTable& strings_;
  HWND parent_;
  platform::TextBuffer caption_;
  HICON appIcon_;  // never freed
};

class CAboutBox final : public platform::win32::ui::ModalDialog {
 public:
  CAboutBox() = default;
  ~CAboutBox() override = default;

 private:
  bool OnCommand(WORD id, WORD code) override;
};

}  // namespace wendmark
