#include "diskmaker/wizard/wizard_logic.h"

#include <new>

#include "diskmaker/resources/strings.h"
#include "platform/text.h"
#include "platform/types.h"

namespace wendmark {
namespace {

namespace ui = platform::ui;

constexpr std::uint32_t kTextCapacity = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ArgumentsOf(const char* commandLine) {
  const char* p = commandLine == nullptr ? "" : commandLine;
  if (*p == '"') {
    // A quoted program name ends at its closing quote.
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return p;
}

std::string DescriptionPath(const platform::Process& process, const std::string& arguments) {
  std::string path = ProgramFolder(process) + "\\" + (arguments.empty() ? "packlist.ini" : arguments);
  // Paths live in buffers of the system's path size.
  if (path.size() > platform::kMaxPath - 1) path.resize(platform::kMaxPath - 1);
  return path;
}

std::string GetLicenseFilePath(const platform::Process& process, platform::FileSystem& files) {
  std::string path = ProgramFolder(process) + "\\license.txt";
  if (path.size() > platform::kMaxPath - 1) path.resize(platform::kMaxPath - 1);
  std::uint32_t attributes = 0;
  return files.GetAttributes(path.c_str(), &attributes) ? path : std::string();
}

bool ReadLicenseText(platform::FileSystem& files, const std::string& path, std::string* text) {
  platform::FileHandle file = platform::kNoFile;
  if (!files.Open(path.c_str(), platform::OpenMode::kReadExclusive, &file)) return false;
  std::string bytes;
  bool ok = true;
  try {
    std::uint64_t size = 0;
    ok = files.GetSize(file, &size);
    if (ok) bytes.resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    while (ok && got < bytes.size()) {
      std::uint32_t done = 0;
      std::size_t want = bytes.size() - got;
      if (want > 0x10000) want = 0x10000;
      ok = files.Read(file, &bytes[got], static_cast<std::uint32_t>(want), &done);
      if (done == 0) break;  // the file got shorter: keep what was read
      got += done;
    }
    bytes.resize(got);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  files.Close(file);
  if (!ok) return false;
  *text = std::move(bytes);
  return true;
}

bool LoadModels(PackageList* packages, DriveList* drives, const platform::Process& process,
                const char* commandLine) {
  if (!packages->Load(DescriptionPath(process, ArgumentsOf(commandLine)))) return false;
  return drives->Enumerate();
}

bool ConfirmQuit(ui::MessageBoxes& boxes, const platform::StringTable& strings) {
  return boxes.Show(LoadText(strings, IDS_QUIT_TEXT).c_str(), LoadText(strings, IDS_QUIT_CAPTION).c_str(),
                    ui::kYesNo | ui::kIconQuestion) == ui::kIdYes;
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

std::string LoadText(const platform::StringTable& strings, std::uint32_t id) {
  char buffer[kTextCapacity];
  std::uint32_t n = strings.Load(id, buffer, sizeof buffer);
  return std::string(buffer, n);
}

std::string FormatText(const platform::StringTable& strings, std::uint32_t id, const std::string& name) {
  char buffer[kTextCapacity];
  // Both placeholders of the completion text take the name.
  platform::TextFormat(buffer, sizeof buffer, LoadText(strings, id).c_str(), name.c_str(), name.c_str());
  return buffer;
}

std::string DiskRowText(const platform::StringTable& strings, std::int32_t number, const std::string& name) {
  char buffer[kTextCapacity];
  platform::TextFormat(buffer, sizeof buffer, LoadText(strings, IDS_DISK_ROW).c_str(), number + 1,
                       name.c_str());
  return buffer;
}

std::string DisksNeededText(const platform::StringTable& strings, int selected) {
  if (selected <= 1) return LoadText(strings, IDS_ONE_DISK_NEEDED);
  char buffer[kTextCapacity];
  platform::TextFormat(buffer, sizeof buffer, LoadText(strings, IDS_DISKS_NEEDED).c_str(), selected);
  return buffer;
}

void DiskSelectLogic::Fill(DiskChecks& list) const {
  for (const DiskEntry& disk : packages_->disks) {
    list.AddRow(DiskRowText(strings_, disk.number, name_).c_str(), disk.selected);
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
  boxes.Show(LoadText(strings_, IDS_NO_DISKS_SELECTED).c_str(), LoadText(strings_, IDS_SELECT_CAPTION).c_str(),
             ui::kOk | ui::kIconExclamation);
  return false;
}

DriveRowLayout LayOutDriveRow(int left, int top, int bottom, int textHeight) {
  int height = bottom - top;
  return {left + 24, top + (height - textHeight) / 2, left + 4, top + (height - kDriveIconSize) / 2};
}

void FillDriveRows(const DriveList& drives, DriveRows& rows) {
  int chosenRow = -1;
  for (std::size_t i = 0; i < drives.size(); ++i) {
    int row = rows.AddRow(drives[i].displayName.c_str(), i);
    if (row < 0) continue;
    if (drives[i].chosen) chosenRow = row;
  }
  rows.SelectRow(chosenRow);
}

}  // namespace wendmark
