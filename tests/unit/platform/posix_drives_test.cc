// Drives on Linux: letters mapped to folders in TANDREL_DRIVES are the
// removable drives, and the file layer finds them under those letters.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "diskmaker/model/drive_list.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

namespace {

class PosixDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string drives = "B=" + floppyB_.path() + ";a=" + floppyA_.path();
    setenv("TANDREL_DRIVES", drives.c_str(), 1);
  }
  void TearDown() override { unsetenv("TANDREL_DRIVES"); }
  tests::TempDir floppyA_, floppyB_;
};

TEST_F(PosixDrivesTest, MappedLettersAreRemovableDrivesInOrder) {
  wendmark::DriveList list(platform::DefaultDrives());
  ASSERT_TRUE(list.Enumerate());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].rootPath, "A:\\");
  EXPECT_EQ(list[0].displayName, "Floppy (A:)");
  EXPECT_EQ(list[1].rootPath, "B:\\");
  EXPECT_TRUE(list[0].chosen);
}

TEST_F(PosixDrivesTest, FilesOnTheFloppyLandInItsFolder) {
  char dest[260];
  platform::DefaultDrives().DestinationPath("A:\\", "SETUP.EXE", dest, sizeof dest);
  platform::FileSystem& fs = platform::DefaultFileSystem();
  platform::FileHandle f = platform::kNoFile;
  ASSERT_TRUE(fs.Open(dest, platform::OpenMode::kCreateAlways, &f));
  (void)fs.Close(f);
  EXPECT_TRUE(tests::Exists(floppyA_.Join("SETUP.EXE")));
}

TEST_F(PosixDrivesTest, FreeSpaceComesFromTheMountedFileSystem) {
  platform::FreeSpace space;
  std::uint32_t code = 0;
  ASSERT_TRUE(platform::DefaultDrives().QueryFreeSpace("A:\\", &space, &code));
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_GE(space.sectorsPerCluster, 1u);
  EXPECT_LE(space.freeClusters, space.totalClusters);
  EXPECT_FALSE(platform::DefaultDrives().QueryFreeSpace("C:\\", &space, &code));
  tests::RemoveTree(floppyB_.path());
  EXPECT_FALSE(platform::DefaultDrives().QueryFreeSpace("B:\\", &space, &code));
  EXPECT_EQ(code, platform::error::kNotReady) << "a floppy folder that is gone is an empty drive";
}

TEST_F(PosixDrivesTest, RootsTypesAndNamesFollowTheMapping) {
  platform::Drives& drives = platform::DefaultDrives();
  const std::string all("A:\\\0B:\\\0", 8);
  EXPECT_EQ(drives.LogicalDriveStrings(0, nullptr), 9u) << "the room it needs, terminators included";
  char buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  EXPECT_EQ(drives.LogicalDriveStrings(8, buffer), 9u) << "one byte short";
  EXPECT_EQ(buffer[0], '#') << "and nothing written";
  EXPECT_EQ(drives.LogicalDriveStrings(9, buffer), 8u);
  EXPECT_EQ(std::string(buffer, 9), all + '\0');

  struct Case {
    const char* root;
    std::uint32_t type;
  };
  const Case types[] = {{"A:\\", 2}, {"b:\\", 2}, {"A:", 1},     {"A:\\x", 1},
                          {"AB\\", 1}, {"C:\\", 1}, {"", 1}, {nullptr, 1}};
  for (const Case& c : types) EXPECT_EQ(drives.DriveType(c.root), c.type) << (c.root ? c.root : "(null)");

  char name[260] = "untouched";
  platform::IconHandle icon = nullptr, selected = nullptr;
  EXPECT_TRUE(drives.ShellInfo("b:\\", platform::shell_info::kIcon, name, &icon));
  EXPECT_STREQ(name, "untouched") << "no name asked for";
  EXPECT_TRUE(drives.ShellInfo("b:\\", platform::shell_info::kNameAndIcon, name, &icon));
  EXPECT_STREQ(name, "Floppy (B:)");
  EXPECT_TRUE(drives.ShellInfo("A:\\", platform::shell_info::kSelectedIcon, nullptr, &selected));
  EXPECT_NE(icon, nullptr);
  EXPECT_NE(selected, nullptr);
  EXPECT_NE(icon, selected);
  EXPECT_FALSE(drives.ShellInfo("C:\\", platform::shell_info::kNameAndIcon, name, &icon));

  char dest[16];
  EXPECT_EQ(drives.DestinationPath("A:\\", "SETUP.EXE", dest, sizeof dest), 12u);
  EXPECT_STREQ(dest, "A:\\SETUP.EXE");
  EXPECT_EQ(drives.DestinationPath("A:\\", "LONGER-NAME.CAB", dest, sizeof dest), 15u);
  EXPECT_STREQ(dest, "A:\\LONGER-NAME.") << "cut to the buffer";
}

TEST_F(PosixDrivesTest, FreeSpaceIsTheMappedFolderCountedInSectorsOf512Bytes) {
  platform::Drives& drives = platform::DefaultDrives();
  struct statvfs st;
  ASSERT_EQ(statvfs(floppyA_.path().c_str(), &st), 0);
  platform::FreeSpace space;
  std::uint32_t code = 0;
  ASSERT_TRUE(drives.QueryFreeSpace("a:\\", &space, &code));
  unsigned long block = st.f_frsize != 0 ? st.f_frsize : st.f_bsize;
  EXPECT_EQ(space.sectorsPerCluster * 512ul, block);
  EXPECT_EQ(space.totalClusters, std::min<unsigned long long>(st.f_blocks, 0xFFFFFFFFu));
  // What an ordinary program may still use, not what only the superuser may
  // (where the two differ enough to tell while others write to the disk).
  unsigned long long reserved = st.f_bfree - st.f_bavail;
  if (reserved > 4096 && st.f_bavail < 0xFFFFFFFFu) {
    EXPECT_LT(std::llabs(static_cast<long long>(space.freeClusters) - static_cast<long long>(st.f_bavail)),
              static_cast<long long>(reserved / 2));
  }
  EXPECT_LE(space.freeClusters, space.totalClusters);
  for (const char* root : {"A:", "C:\\", "A:\\x"}) {
    code = 0;
    EXPECT_FALSE(drives.QueryFreeSpace(root, &space, &code)) << root;
    EXPECT_EQ(code, 3u) << root;
  }
}

}  // namespace
