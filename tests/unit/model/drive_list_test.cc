// The drive list against drives a test describes.
#include "diskmaker/model/drive_list.h"

#include <gtest/gtest.h>

#include <vector>

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

// The drive strings as the system hands them over, with what the list
// passed for room each time; a drive may arrive between the question for
// the size and the fetch.
class HandOver final : public platform::Drives {
 public:
  explicit HandOver(tests::FakeDrives& drives) : drives_(drives) {}
  std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const override {
    capacities.push_back(capacity);
    if (capacities.size() == 2 && arrives) drives_.drives.push_back({"Z:\\", dt::kRemovable, "Z"});
    return drives_.LogicalDriveStrings(capacity, buffer);
  }
  std::uint32_t DriveType(const char* root) const override { return drives_.DriveType(root); }
  bool ShellInfo(const char* root, std::uint32_t flags, char* name, platform::IconHandle* icon) const override {
    return drives_.ShellInfo(root, flags, name, icon);
  }
  char UpperCase(char c) const override { return drives_.UpperCase(c); }
  bool QueryFreeSpace(const char* root, platform::FreeSpace* space, std::uint32_t* code) const override {
    return drives_.QueryFreeSpace(root, space, code);
  }
  std::uint32_t DestinationPath(const char* root, const char* name, char* buffer, std::uint32_t capacity) const override {
    return drives_.DestinationPath(root, name, buffer, capacity);
  }
  bool arrives = false;
  mutable std::vector<std::uint32_t> capacities;

 private:
  tests::FakeDrives& drives_;
};

// The strings are fetched into exactly the room the system asked for: two
// roots, their terminators and the final empty string. A drive that arrives
// between the two calls makes the fetch too small; nothing is then read
// from the buffer the system did not fill.
TEST_F(DriveListTest, TheDriveStringsAreFetchedIntoExactlyTheRoomReported) {
  for (bool arrives : {false, true}) {
    SCOPED_TRACE(arrives ? "a drive arrives in between" : "the same drives");
    tests::FakeDrives drives;
    drives.drives = {{"A:\\", dt::kRemovable, "A"}, {"B:\\", dt::kFixed, "B"}};
    HandOver handOver(drives);
    handOver.arrives = arrives;
    DriveList list(handOver);
    EXPECT_EQ(list.Enumerate(), !arrives);
    EXPECT_EQ(handOver.capacities, (std::vector<std::uint32_t>{0, 9}));
    EXPECT_EQ(list.size(), arrives ? 0u : 1u);
  }
}

}  // namespace
