#include "diskmaker/wizard/wizard_logic.h"

#include "diskmaker/resources/strings.h"
#include "platform/text.h"
#include "platform/file.h"
#include "platform/types.h"
#include "platform/windows_path.h"

namespace wendmark {
namespace {

namespace ui = platform::ui;

}  // namespace

// Paths live in buffers of the system's path size: the join is cut to fit.
platform::PathBuffer DescriptionPath(const platform::Process& process, const char* arguments) {
  platform::PathBuffer path = ProgramFolder(process);
  platform::path::Append(&path, arguments[0] == '\0' ? "packlist.ini" : arguments);
  return path;
}

platform::PathBuffer GetLicenseFilePath(const platform::Process& process, platform::FileSystem& files) {
  platform::PathBuffer path = ProgramFolder(process);
  platform::path::Append(&path, "license.txt");
  std::uint32_t attributes = 0;
  if (!files.GetAttributes(path.c_str(), &attributes)) path.Clear();
  return path;
}

bool ReadLicenseText(platform::FileSystem& files, const char* path, platform::HeapArray<char>* text) {
  platform::File file;
  if (!file.Open(files, path, platform::OpenMode::kReadExclusive)) return false;
  platform::HeapArray<char> bytes;
  std::uint64_t size = 0;
  // The terminator needs a byte too.
  bool ok = file.GetSize(&size) && size < UINT32_MAX && bytes.Reset(static_cast<std::uint32_t>(size) + 1);
  std::uint32_t got = 0;
  while (ok && got < size) {
    std::uint32_t done = 0;
    std::uint32_t want = static_cast<std::uint32_t>(size) - got;
    if (want > 0x10000) want = 0x10000;
    ok = file.Read(bytes.data() + got, want, &done).ok();
    if (done == 0) break;  // the file got shorter: keep what was read
    got += done;
  }
  (void)file.Close();
  if (!ok) return false;
  bytes[got] = '\0';
  bytes.Shrink(got + 1);
  *text = static_cast<platform::HeapArray<char>&&>(bytes);
  return true;
}

bool LoadModels(PackageList* packages, DriveList* drives, const platform::Process& process,
                const char* commandLine) {
  if (!packages->Load(DescriptionPath(process, platform::path::ArgumentsOf(commandLine)).c_str())) return false;
  return drives->Enumerate();
}

bool ConfirmQuit(ui::MessageBoxes& boxes, const platform::StringTable& strings) {
  return boxes.Show(platform::LoadText(strings, IDS_QUIT_TEXT).c_str(),
                    platform::LoadText(strings, IDS_QUIT_CAPTION).c_str(), ui::kYesNo | ui::kIconQuestion) == ui::kIdYes;
}

PageButtons ButtonsFor(WizardPage page) {
  switch (page) {
    case WizardPage::kWelcome:
      return {kWizardNext, false};
    case WizardPage::kComplete:
      return {0, false};
    default:
      return {kWizardBack | kWizardNext, true};
  }
}

platform::TextBuffer NameText(const platform::StringTable& strings, std::uint32_t id, const char* name) {
  // Both placeholders of the completion text take the name.
  return platform::FormatText(strings, id, name, name);
}

platform::TextBuffer DiskRowText(const platform::StringTable& strings, std::int32_t number, const char* name) {
  return platform::FormatText(strings, IDS_DISK_ROW, number + 1, name);
}

platform::TextBuffer DisksNeededText(const platform::StringTable& strings, int selected) {
  if (selected <= 1) return platform::LoadText(strings, IDS_ONE_DISK_NEEDED);
  return platform::FormatText(strings, IDS_DISKS_NEEDED, selected);
}

void DiskSelectLogic::Fill(DiskChecks& list) const {
  for (const DiskEntry& disk : packages_->disks) {
    list.AddRow(DiskRowText(strings_, disk.number, name_.c_str()).c_str(), disk.selected);
  }
}

void DiskSelectLogic::CheckAll(DiskChecks& list, bool checked) {
  for (int row = 0; row < list.RowCount(); ++row) list.SetChecked(row, checked);
}

bool DiskSelectLogic::Next(const DiskChecks& list, ui::MessageBoxes& boxes) const {
  int count = 0;
  for (DiskEntry& disk : packages_->disks) {
    // A row the list refused counts as unchecked.
    disk.selected = disk.number < list.RowCount() && list.IsChecked(disk.number);
    count += disk.selected ? 1 : 0;
  }
  if (count > 0) return true;
  boxes.Show(platform::LoadText(strings_, IDS_NO_DISKS_SELECTED).c_str(),
             platform::LoadText(strings_, IDS_SELECT_CAPTION).c_str(), ui::kOk | ui::kIconExclamation);
  return false;
}

DriveRowLayout LayOutDriveRow(int left, int top, int bottom, int textHeight) {
  int height = bottom - top;
  return {left + 24, top + (height - textHeight) / 2, left + 4, top + (height - kDriveIconSize) / 2};
}

void FillDriveRows(const DriveList& drives, DriveRows& rows) {
  int chosenRow = -1;
  for (std::uint32_t i = 0; i < drives.size(); ++i) {
    int row = rows.AddRow(drives[i].displayName.c_str(), i);
    if (row < 0) continue;
    if (drives[i].chosen) chosenRow = row;
  }
  rows.SelectRow(chosenRow);
}

}  // namespace wendmark
