// The drive list on the real system under Wine, with the test environment's
// tmpfs floppy mapped as A: (C: is the prefix's disk, Z: the host's root).
#include <gtest/gtest.h>

#include "diskmaker/model/drive_list.h"

namespace {

TEST(DrivesUnderWine, EnumerateListsExactlyTheFloppy) {
  wendmark::DriveList list(platform::DefaultDrives());
  ASSERT_TRUE(list.Enumerate());
  ASSERT_EQ(list.size(), 1u);
  const wendmark::DriveRecord& a = list[0];
  EXPECT_EQ(a.rootPath, "A:\\");
  EXPECT_EQ(a.letter, 'A');
  EXPECT_FALSE(a.displayName.empty());
  EXPECT_NE(a.icon, nullptr);
  EXPECT_NE(a.selectedIcon, nullptr);
  EXPECT_TRUE(a.chosen);
}

TEST(DrivesUnderWine, TheFloppyIsBlankAndLargeEnough) {
  platform::FreeSpace space;
  std::uint32_t code = 0;
  ASSERT_TRUE(platform::DefaultDrives().QueryFreeSpace("A:\\", &space, &code)) << code;
  EXPECT_EQ(space.freeClusters + 1 >= space.totalClusters, true);
  EXPECT_GE(std::uint64_t(space.sectorsPerCluster) * space.bytesPerSector * space.freeClusters,
            1430000u);
  EXPECT_EQ(platform::DefaultDrives().DriveType("C:\\"), platform::drive_type::kFixed);
}

TEST(DrivesUnderWine, DestinationIsTheNameInTheDrivesCurrentFolder) {
  char buffer[260];
  platform::DefaultDrives().DestinationPath("A:\\", "SETUP.EXE", buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "A:SETUP.EXE");
}

}  // namespace
