// The six wizard pages. Each is built once at start-up, fills its controls
// once when its window is first made, and sets the wizard buttons each time
// it becomes current.
#pragma once

#include <windows.h>

#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "diskmaker/wizard/wizard_logic.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/string_table.h"
#include "platform/win32/ui/check_list_box.h"
#include "platform/win32/ui/property_page.h"

namespace wendmark {

class CWendmarkDlg;

// What the pages use of the system, handed in by the program object.
struct WizardServices {
  platform::FileSystem& files;
  const platform::Drives& drives;
  platform::Memory& memory;
};

// What every page of this wizard shares: its buttons on activation and the
// quit question on a cancel request.
class WendmarkPage : public platform::win32::ui::PropertyPage {
 public:
  WendmarkPage(WORD templateId, WizardPage kind, const platform::StringTable& strings)
      : PropertyPage(templateId), kind_(kind), strings_(strings) {}

  // The wizard sheet this page belongs to, whose quit question it asks.
  void JoinSheet(CWendmarkDlg* sheet) { sheet_ = sheet; }

 protected:
  ~WendmarkPage() override = default;
  bool OnSetActive() override;
  bool OnQueryCancel() override;

  const platform::StringTable& strings() const { return strings_; }

 private:
  WizardPage kind_;
  const platform::StringTable& strings_;
  CWendmarkDlg* sheet_ = nullptr;
};

class CWelcomePage final : public WendmarkPage {
 public:
  CWelcomePage(const char* name, const platform::StringTable& strings);
  ~CWelcomePage() override = default;

 private:
  BOOL OnInitDialog() override;
  platform::PathBuffer name_;
};

class CLicensePage final : public WendmarkPage {
 public:
  // `path`: the license file the program found beside itself.
  CLicensePage(const char* path, platform::FileSystem& files, const platform::StringTable& strings);
  ~CLicensePage() override;

 private:
  BOOL OnInitDialog() override;
  bool OnSetActive() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  platform::PathBuffer path_;
  platform::FileSystem& files_;
  HBRUSH background_;  // owned
};

class CDiskSelectPage final : public WendmarkPage, private DiskChecks {
 public:
  CDiskSelectPage(const char* name, PackageList* packages, const platform::StringTable& strings);
  ~CDiskSelectPage() override = default;

 private:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  LRESULT OnWizardNext() override;

  // --- DiskChecks
  int AddRow(const char* text, bool checked) override { return list_.AddRow(text, checked); }
  int RowCount() const override { return list_.RowCount(); }
  bool IsChecked(int row) const override { return list_.IsChecked(row); }
  void SetChecked(int row, bool checked) override { list_.SetChecked(row, checked); }

  DiskSelectLogic logic_;
  platform::win32::ui::CheckListBox list_;
};

class CDriveSelectPage final : public WendmarkPage, private DriveRows {
 public:
  CDriveSelectPage(DriveList* drives, const platform::StringTable& strings);
  ~CDriveSelectPage() override = default;

 private:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  LRESULT OnWizardNext() override;
  void DrawRow(const DRAWITEMSTRUCT& item) const;

  // --- DriveRows
  int AddRow(const char* text, std::uint32_t record) override;
  void SelectRow(int row) override;

  DriveList* drives_;
  HWND list_ = nullptr;
};

class CGetDisksPage final : public WendmarkPage {
 public:
  CGetDisksPage(PackageList* packages, DriveList* drives, const WizardServices& services,
                const platform::StringTable& strings);
  ~CGetDisksPage() override = default;

 private:
  bool OnSetActive() override;
  LRESULT OnWizardNext() override;

  PackageList* packages_;
  DriveList* drives_;
  WizardServices services_;
};

class CCompletePage final : public WendmarkPage {
 public:
  CCompletePage(const char* name, const platform::StringTable& strings);
  ~CCompletePage() override = default;

 private:
  BOOL OnInitDialog() override;
  bool OnSetActive() override;
  platform::PathBuffer name_;
};

}  // namespace wendmark
