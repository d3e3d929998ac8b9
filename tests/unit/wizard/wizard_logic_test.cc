// The wizard's behaviour apart from its windows: start-up's file names and
// loading, the texts and buttons of the pages, the quit question, and what
// the disk and drive pages write into the models.
#include "diskmaker/wizard/wizard_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diskmaker/resources/strings.h"
#include "tests/fakes/fake_drives.h"
#include "tests/fakes/fake_message_boxes.h"
#include "tests/fakes/fake_process.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/support/temp_dir.h"
#include "tests/support/texts.h"

namespace {

namespace ui = platform::ui;
using namespace wendmark;

using tests::ProgramAt;

const platform::StringTable& Strings() { return CompiledStrings(); }

TEST(WizardStartUp, TheDescriptionIsNamedAfterTheProgramNameAndJoinedToItsFolder) {
  ProgramAt program("C:\\kit\\tools\\Wendmark.exe");
  EXPECT_EQ(DescriptionPath(program, ""), "C:\\kit\\tools\\packlist.ini");
  EXPECT_EQ(DescriptionPath(program, "my list.ini"), "C:\\kit\\tools\\my list.ini");
  EXPECT_EQ(DescriptionPath(program, "C:\\abs.ini"), "C:\\kit\\tools\\C:\\abs.ini");
  EXPECT_EQ(DescriptionPath(program, std::string(400, 'x').c_str()).size(), 259u);

  // The license file: present as a file or as a folder of that name.
  tests::MemoryFileSystem disk;
  tests::FaultyFileSystem files(disk);
  EXPECT_EQ(GetLicenseFilePath(program, files), "");
  disk.AddDirectory("C:\\kit\\tools\\license.txt");
  EXPECT_EQ(GetLicenseFilePath(program, files), "C:\\kit\\tools\\license.txt");
  platform::HeapArray<char> text;
  ASSERT_TRUE(text.Reset(5));
  EXPECT_FALSE(ReadLicenseText(files, "C:\\kit\\tools\\license.txt", &text));
  EXPECT_EQ(text.size(), 5u) << "untouched";
  disk.AddFile("C:\\kit\\tools\\terms.txt", "100% yours\r\n\xE9t\xE9\r\n");
  files.SetReadLimit(3);
  ASSERT_TRUE(ReadLicenseText(files, "C:\\kit\\tools\\terms.txt", &text));
  ASSERT_EQ(text.size(), 18u) << "the bytes and a terminator";
  EXPECT_EQ(std::string(text.data()), "100% yours\r\n\xE9t\xE9\r\n");
  EXPECT_EQ(disk.OpenHandleCount(), 0);
}

TEST(WizardStartUp, LoadsTheNamedDescriptionAndEndsQuietlyOnAnyFailure) {
  tests::TempDir dir;
  tests::WriteFile(dir.Join("packlist.ini"), "[Global]\nName=Sample Suite\n[Disk0]\nFile0=a\nFiles=1\n[Disks]\nNumber=1\n");
  tests::WriteFile(dir.Join("other.ini"),
                  "[Global]\nName=Other\n[Disk0]\nFile0=a\nFiles=1\n[Disk1]\nFile0=b\nFiles=1\n[Disks]\nNumber=2\n");
  tests::WriteFile(dir.Join("broken.ini"), "[Global]\nName=Broken\n[Disks]\nNumber=1\n");
  ProgramAt program(dir.Join("Wendmark.exe"));
  tests::FakeDrives drives;
  drives.drives = {{"A:\\", platform::drive_type::kRemovable, "3\xBD Floppy (A:)"}};

  struct Case {
    const char* commandLine;
    bool loads;
    const char* name;
  } cases[] = {
      {"Wendmark.exe", true, "Sample Suite"},
      {"Wendmark.exe other.ini", true, "Other"},
      {"Wendmark.exe \"other.ini\"", false, ""},
      {"Wendmark.exe broken.ini", false, ""},
      {"Wendmark.exe missing.ini", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    PackageList packages(platform::DefaultProfile(), program);
    DriveList list(drives);
    EXPECT_EQ(LoadModels(&packages, &list, program, c.commandLine), c.loads);
    if (c.loads) {
      EXPECT_EQ(packages.GetName(), c.name);
      EXPECT_EQ(list.size(), 1u);
    }
  }
  // No removable drive: the same quiet end.
  drives.drives.clear();
  PackageList packages(platform::DefaultProfile(), program);
  DriveList list(drives);
  EXPECT_FALSE(LoadModels(&packages, &list, program, "Wendmark.exe"));
}

TEST(WizardSheet, ButtonsTextsAndTheQuitQuestion) {
  EXPECT_EQ(ButtonsFor(WizardPage::kWelcome).wizardButtons, kWizardNext);
  EXPECT_FALSE(ButtonsFor(WizardPage::kWelcome).showBack);
  for (WizardPage p : {WizardPage::kLicense, WizardPage::kDiskSelect, WizardPage::kDriveSelect,
                       WizardPage::kGetDisks}) {
    EXPECT_EQ(ButtonsFor(p).wizardButtons, kWizardBack | kWizardNext);
    EXPECT_TRUE(ButtonsFor(p).showBack);
  }

  tests::FakeMessageBoxes boxes;
  boxes.Answer({ui::kIdNo, ui::kIdYes});
  auto ask = [&] { return ConfirmQuit(boxes, Strings()); };
  EXPECT_FALSE(AllowCancel(WizardPage::kDiskSelect, true, ask));
  EXPECT_TRUE(AllowCancel(WizardPage::kGetDisks, true, ask));
  EXPECT_TRUE(AllowCancel(WizardPage::kComplete, true, ask));
  EXPECT_TRUE(AllowCancel(WizardPage::kWelcome, false, ask));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, "Are you sure you want to quit Tandrel's disk maker?");
  EXPECT_EQ(boxes.shown[0].caption, "Tandrel's disk maker");
  EXPECT_EQ(boxes.shown[0].style, ui::kYesNo | ui::kIconQuestion);

  // The product name is an argument: its percent signs show as they are.
  EXPECT_EQ(NameText(Strings(), IDS_COMPLETE_TEXT, "100% Suite"),
            "You have successfully created the 100% Suite setup disks.  To install 100% Suite, run "
            "SETUP.EXE, located on Disk 1.");
  EXPECT_EQ(NameText(Strings(), IDS_COMPLETE_HINT, "Sample Suite"), "You can use the disks to install Sample Suite.");
  EXPECT_EQ(DisksNeededText(Strings(), 3), "You will need 3 blank, formatted disks.");
  EXPECT_EQ(DisksNeededText(Strings(), 1), "You will need 1 blank, formatted disk.");
  EXPECT_EQ(DisksNeededText(Strings(), 0), "You will need 1 blank, formatted disk.");
}

class RecordedChecks final : public DiskChecks {
 public:
  int AddRow(const char* text, bool checked) override {
    rows.push_back(text);
    checks.push_back(checked);
    return static_cast<int>(rows.size()) - 1;
  }
  int RowCount() const override { return static_cast<int>(rows.size()); }
  bool IsChecked(int row) const override { return checks[static_cast<std::size_t>(row)]; }
  void SetChecked(int row, bool checked) override { checks[static_cast<std::size_t>(row)] = checked; }
  std::vector<std::string> rows;
  std::vector<bool> checks;
};

TEST(DiskSelectPage, RowsChecksAndOnlyNextWritesTheModel) {
  PackageList packages(platform::DefaultProfile(), platform::DefaultProcess());
  ASSERT_TRUE(packages.disks.Reset(3));
  for (int i = 0; i < 3; ++i) packages.disks[static_cast<std::uint32_t>(i)].number = i;
  DiskSelectLogic page("Sample Suite", &packages, Strings());
  RecordedChecks list;
  page.Fill(list);
  EXPECT_EQ(list.rows, (std::vector<std::string>{" Disk1: Sample Suite", " Disk2: Sample Suite", " Disk3: Sample Suite"}));
  EXPECT_EQ(list.checks, (std::vector<bool>{true, true, true}));

  // Clear Selections touches the boxes only; Next with none checked says so and stays.
  tests::FakeMessageBoxes boxes;
  DiskSelectLogic::CheckAll(list, false);
  EXPECT_EQ(packages.CountSelected(), 3);
  EXPECT_FALSE(page.Next(list, boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "You have not selected any disks to be built.  Please check the disks you wish built and then press Next.");
  EXPECT_EQ(boxes.shown[0].caption, "Tandrel's disk maker");
  EXPECT_EQ(boxes.shown[0].style, ui::kOk | ui::kIconExclamation);
  EXPECT_EQ(packages.CountSelected(), 0);

  list.SetChecked(1, true);
  EXPECT_TRUE(page.Next(list, boxes));
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(packages.disks[0].selected);
  EXPECT_TRUE(packages.disks[1].selected);
  EXPECT_FALSE(packages.disks[2].selected);

  DiskSelectLogic::CheckAll(list, true);
  EXPECT_EQ(list.checks, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(packages.CountSelected(), 1);
}

class RecordedRows final : public DriveRows {
 public:
  int AddRow(const char* text, std::uint32_t record) override {
    if (std::string(text) == refuse) return -1;
    rows.push_back({text, record});
    return static_cast<int>(rows.size()) - 1;
  }
  void SelectRow(int row) override { selected = row; }
  std::string refuse;
  std::vector<std::pair<std::string, std::uint32_t>> rows;
  int selected = -2;
};

TEST(DriveSelectPage, RowsFollowTheListAndTheLayoutCentresIconAndText) {
  tests::FakeDrives fake;
  fake.drives = {{"A:\\", platform::drive_type::kRemovable, "(A:)"},
                 {"B:\\", platform::drive_type::kRemovable, "(B:)"}};
  DriveList drives(fake);
  ASSERT_TRUE(drives.Enumerate());
  drives.Choose(drives[1]);
  RecordedRows rows;
  rows.refuse = "(A:)";
  FillDriveRows(drives, rows);
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].second, 1u);  // the row names its record, not its position
  EXPECT_EQ(rows.selected, 0);

  DriveRowLayout at = LayOutDriveRow(10, 20, 33, 13);
  EXPECT_EQ(at.textX, 34);
  EXPECT_EQ(at.textY, 20);
  EXPECT_EQ(at.iconX, 14);
  EXPECT_EQ(at.iconY, 19);  // (13 - 16) / 2 truncates toward zero
}

}  // namespace
