// The drive list against drives a test describes.
#include "diskmaker/model/drive_list.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_drives.h"
#include "tests/support/texts.h"

namespace {

using tests::FakeDrive;
using wendmark::DriveList;
using wendmark::DriveRecord;
namespace dt = platform::drive_type;

class DriveListTest : public ::testing::Test {
 protected:
  tests::FakeDrives drives_;
  DriveList list_{drives_};
};

TEST_F(DriveListTest, ListsRemovableDrivesInOrderAndChoosesTheFirst) {
  drives_.drives = {{"a:\\", dt::kRemovable, "3½ Floppy (A:)"},
                    {"B:\\", dt::kRemovable, "Floppy (B:)"},
                    {"C:\\", dt::kFixed, "Disk (C:)"},
                    {"D:\\", dt::kCdRom, "CD (D:)"},
                    {"F:\\", dt::kRemote, "Floppy elsewhere (F:)"},
                    {"R:\\", dt::kRamDisk, "RAM (R:)"},
                    {"U:\\", dt::kUnknown, "?"},
                    {"Z:\\", dt::kRemovable, "Zip (Z:)"}};
  ASSERT_TRUE(list_.Enumerate());
  ASSERT_EQ(list_.size(), 3u);
  EXPECT_EQ(list_[0].rootPath, "a:\\");
  EXPECT_EQ(list_[0].letter, 'A');
  EXPECT_EQ(list_[0].displayName, "3½ Floppy (A:)");
  EXPECT_EQ(list_[0].icon, &drives_.iconTag);
  EXPECT_EQ(list_[0].selectedIcon, &drives_.selectedIconTag);
  EXPECT_EQ(list_[1].rootPath, "B:\\");
  EXPECT_EQ(list_[2].rootPath, "Z:\\");
  EXPECT_TRUE(list_[0].chosen);
  EXPECT_FALSE(list_[1].chosen);
  EXPECT_FALSE(list_[2].chosen);
  // The two shell queries each drive gets, with the flag sets the shell expects.
  ASSERT_GE(drives_.lastShellFlags.size(), 2u);
  EXPECT_EQ(drives_.lastShellFlags[0], 0x701u);
  EXPECT_EQ(drives_.lastShellFlags[1], 0x10101u);
}

TEST_F(DriveListTest, ChooseMakesExactlyOneRecordChosen) {
  drives_.drives = {{"A:\\", dt::kRemovable, "A"}, {"B:\\", dt::kRemovable, "B"}};
  ASSERT_TRUE(list_.Enumerate());
  DriveRecord chosen;
  ASSERT_TRUE(list_.GetChosen(&chosen));
  EXPECT_EQ(chosen.rootPath, "A:\\");
  list_.Choose(list_[1]);
  EXPECT_FALSE(list_[0].chosen);
  EXPECT_TRUE(list_[1].chosen);
  ASSERT_TRUE(list_.GetChosen(&chosen));
  EXPECT_EQ(chosen.rootPath, "B:\\");
  EXPECT_EQ(chosen.letter, 'B');
}

TEST_F(DriveListTest, GetChosenLeavesTheOutputAloneWhenNothingIsChosen) {
  DriveRecord untouched;
  untouched.rootPath.Assign("keep");
  EXPECT_FALSE(list_.GetChosen(&untouched));
  EXPECT_EQ(untouched.rootPath, "keep");
  EXPECT_EQ(DriveRecord().letter, '?');
}

TEST_F(DriveListTest, OneUndescribableRemovableDriveEmptiesTheWholeList) {
  struct Case {
    const char* what;
    FakeDrive bad;
  } cases[] = {
      {"no display name", {"B:\\", dt::kRemovable, ""}},
      {"no icon", {"B:\\", dt::kRemovable, "B", false, true}},
      {"no selected icon", {"B:\\", dt::kRemovable, "B", true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tests::FakeDrives drives;
    drives.drives = {{"A:\\", dt::kRemovable, "A"}, c.bad, {"C:\\", dt::kRemovable, "C"}};
    DriveList list(drives);
    EXPECT_FALSE(list.Enumerate());
    EXPECT_EQ(list.size(), 0u);
  }
}

TEST_F(DriveListTest, NoRemovableDriveOrNoDrivesAtAllFails) {
  EXPECT_FALSE(list_.Enumerate());
  drives_.drives = {{"C:\\", dt::kFixed, "C"}};
  EXPECT_FALSE(list_.Enumerate());
  EXPECT_EQ(list_.size(), 0u);
}

TEST_F(DriveListTest, EnumerateStartsAfresh) {
  drives_.drives = {{"A:\\", dt::kRemovable, "A"}};
  ASSERT_TRUE(list_.Enumerate());
  ASSERT_TRUE(list_.Enumerate());
  EXPECT_EQ(list_.size(), 1u);
}

}  // namespace
