// Drives on Linux: letters mapped to folders in TANDREL_DRIVES are the
// removable drives, and the file layer finds them under those letters.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "diskmaker/model/drive_list.h"
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
  wendmark::DriveList list;
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
  fs.Close(f);
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

}  // namespace
