// What the wizard does that needs no window: start-up's file names, the
// texts the pages show, which wizard buttons each page asks for, the cancel
// answer, what Next writes into the models, and where a drive row's icon
// and text go. The Windows pages supply the controls; tests supply
// recording stand-ins.
#pragma once

#include <cstdint>

#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "platform/bounded_string.h"
#include "platform/file_system.h"
#include "platform/heap_array.h"
#include "platform/process.h"
#include "platform/string_table.h"
#include "platform/ui.h"

namespace wendmark {

// --- start-up

// The package description's full path: the program folder, a backslash and
// the name given on the command line ("packlist.ini" when none), which is
// always taken as relative to the program folder.
platform::PathBuffer DescriptionPath(const platform::Process& process, const char* arguments);

// "license.txt" in the program folder when the file system knows that path
// (a folder of that name counts); empty text otherwise.
platform::PathBuffer GetLicenseFilePath(const platform::Process& process, platform::FileSystem& files);

// The whole license file, bytes unchanged, opened without sharing, followed
// by a terminator (counted in text->size()). False (and *text untouched)
// when it cannot be opened or read, or memory is short.
bool ReadLicenseText(platform::FileSystem& files, const char* path, platform::HeapArray<char>* text);

// Loads the package description and lists the drives; false (nothing shown)
// when either fails, and the program then ends.
bool LoadModels(PackageList* packages, DriveList* drives, const platform::Process& process,
                const char* commandLine);

// --- the sheet

// The quit question (Yes/No, question icon); true for Yes.
bool ConfirmQuit(platform::ui::MessageBoxes& boxes, const platform::StringTable& strings);

// The wizard pages, in their order.
enum class WizardPage { kWelcome, kLicense, kDiskSelect, kDriveSelect, kGetDisks, kComplete };

// PSWIZB_BACK and PSWIZB_NEXT.
constexpr std::uint32_t kWizardBack = 1;
constexpr std::uint32_t kWizardNext = 2;

// What a page asks of the sheet each time it becomes current.
struct PageButtons {
  std::uint32_t wizardButtons;  // posted button state; 0 for none (the last page)
  bool showBack;
};
PageButtons ButtonsFor(WizardPage page);

// Whether a cancel request may close the wizard: the quit question on every
// page but the last, when the page lies on our sheet (`confirm` asks it).
template <typename Confirm>
bool AllowCancel(WizardPage page, bool onOurSheet, Confirm confirm) {
  if (page == WizardPage::kComplete || !onOurSheet) return true;
  return confirm();
}

// --- page texts (the product name is an argument, never a format)

// A text whose placeholders all take the product name.
platform::TextBuffer NameText(const platform::StringTable& strings, std::uint32_t id, const char* name);
platform::TextBuffer DiskRowText(const platform::StringTable& strings, std::int32_t number, const char* name);
// The get-disks count line: the plural text for more than one disk.
platform::TextBuffer DisksNeededText(const platform::StringTable& strings, int selected);

// --- the disk selection page

// The rows of the list with their check boxes, as the page's control keeps them.
class DiskChecks {
 public:
  virtual int AddRow(const char* text, bool checked) = 0;
  virtual int RowCount() const = 0;
  virtual bool IsChecked(int row) const = 0;
  virtual void SetChecked(int row, bool checked) = 0;

 protected:
  ~DiskChecks() = default;
};

class DiskSelectLogic {
 public:
  DiskSelectLogic(const char* name, PackageList* packages, const platform::StringTable& strings)
      : name_(name), packages_(packages), strings_(strings) {}

  // One row per disk in model order, checked from its flag.
  void Fill(DiskChecks& list) const;
  // Select All / Clear Selections: the check boxes only.
  static void CheckAll(DiskChecks& list, bool checked);
  // Writes every disk's flag from its row; with none checked, says so and
  // answers false (the page stays).
  bool Next(const DiskChecks& list, platform::ui::MessageBoxes& boxes) const;

 private:
  platform::PathBuffer name_;
  PackageList* packages_;
  const platform::StringTable& strings_;
};

// --- the drive selection page

// Where a row's icon and text go, for a row rectangle and the text height.
struct DriveRowLayout {
  int textX, textY, iconX, iconY;
};
constexpr int kDriveIconSize = 16;
DriveRowLayout LayOutDriveRow(int left, int top, int bottom, int textHeight);

// The rows of the drive list: each names a record of the DriveList by index.
class DriveRows {
 public:
  // The row's index, or -1 when the list refused it.
  virtual int AddRow(const char* text, std::uint32_t record) = 0;
  virtual void SelectRow(int row) = 0;

 protected:
  ~DriveRows() = default;
};

// Adds a row per drive and selects the chosen drive's row.
void FillDriveRows(const DriveList& drives, DriveRows& rows);

}  // namespace wendmark
