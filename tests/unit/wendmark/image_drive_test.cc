// The floppy in drive A: is the disk's image: a missing one is the blank
// floppy the program will make, an existing one answers what mtools reads
// in it, and the engine's checks judge it as they judge a floppy. Without a
// terminal each message is told once, on one line, and answered so that
// the build stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/resources/strings.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/wendmark/wendmark_world.h"
#include "tools/wendmark/console.h"
#include "tools/wendmark/image_drive.h"
#include "unpack/frame/console/host_text.h"

namespace {

namespace ui = platform::ui;

// What the test's image reader answers.
platform::FreeSpace readSpace;
bool readable = true;
int reads = 0;
bool ReadSpace(const std::string&, platform::FreeSpace* space, std::string* error) {
  ++reads;
  if (!readable) *error = "minfo failed (status 1): init :: non DOS media";
  *space = readSpace;
  return readable;
}

class ImageDriveTest : public ::testing::Test {
 protected:
  ImageDriveTest()
      : drive(ReadSpace), drives(drive), builder(nullptr, &drives, {platform::DefaultFileSystem(), drive,
                                                                     wendmark::CompiledStrings(), platform::DefaultMemory()}) {
    builder.AttachProgress(&window);
    readSpace = wendmark::BlankFloppySpace();
    readable = true;
    reads = 0;
    EXPECT_TRUE(drives.Enumerate());
    EXPECT_TRUE(drives.GetChosen(&record));
    drive.InsertImage(dir.path() + "/disk1.img");
  }

  // Checks the floppy with Cancel as the answer to any prompt; the texts shown.
  std::vector<std::string> Check(bool* passed) {
    window.boxes.Answer({ui::kIdCancel});
    *passed = builder.CheckDestination(record);
    std::vector<std::string> texts;
    for (const auto& shown : window.boxes.shown) texts.push_back(shown.text);
    return texts;
  }

  tests::TempDir dir;
  wendmark::ImageDrive drive;
  wendmark::DriveList drives;
  wendmark::DriveRecord record;
  wendmark::DiskBuilder builder;
  tests::ScriptedWindow window;
};

TEST_F(ImageDriveTest, AMissingImageIsABlankFloppyThatPassesWithoutAWord) {
  EXPECT_EQ(std::string(record.rootPath.c_str()), "A:\\");
  bool passed = false;
  EXPECT_TRUE(Check(&passed).empty());
  EXPECT_TRUE(passed);
  EXPECT_EQ(reads, 0);
}

TEST_F(ImageDriveTest, AnExistingImageIsJudgedByWhatItHolds) {
  tests::WriteFile(dir.path() + "/disk1.img", "image");
  struct Case {
    const char* what;
    std::uint32_t sectorsPerCluster, freeClusters, totalClusters;
    bool readable;
    std::string text;  // "" when it passes
  } cases[] = {
      {"blank 1.44 MB", 1, 2847, 2847, true, ""},
      {"one cluster in use", 1, 2846, 2847, true, ""},
      {"two clusters in use", 1, 2845, 2847, true, std::string(tests::kNotBlank) + "\n\n" + tests::kInsertBlank},
      {"blank 720 KB", 2, 713, 713, true, std::string(tests::kTooSmall) + "\n\n" + tests::kInsertBlank},
      {"no FAT disk", 1, 0, 0, false, std::string(tests::kDriveError) + "\n\n" + tests::kInsertBlank},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window.boxes.shown.clear();
    readSpace = {c.sectorsPerCluster, 512, c.freeClusters, c.totalClusters};
    readable = c.readable;
    bool passed = false;
    std::vector<std::string> texts = Check(&passed);
    EXPECT_EQ(passed, c.text.empty());
    if (c.text.empty()) {
      EXPECT_TRUE(texts.empty());
    } else {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0], c.text);
      EXPECT_EQ(window.boxes.shown[0].buttons(), ui::kOkCancel);
      EXPECT_EQ(window.boxes.shown[0].caption, "Tandrel's disk maker");
    }
    EXPECT_EQ(drive.lastError().empty(), c.readable);
  }
}

TEST_F(ImageDriveTest, AFolderWhereTheImageShouldBeIsAnErrorOfTheDriveInTheHostsWords) {
  tests::MakeDirs(dir.path() + "/disk1.img");
  wendmark::HostReasons reasons;
  drive.ReportTo(&reasons);
  bool passed = true;
  std::vector<std::string> texts = Check(&passed);
  EXPECT_FALSE(passed);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], std::string(tests::kDriveError) + "\n\n" + tests::kInsertBlank);
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(reasons.Take(), dir.path() + "/disk1.img: Is a directory");
  EXPECT_EQ(drive.lastError(), "") << "the host's error, not the disk tools'";
}

// The drive list asks for the room its roots need and passes exactly that:
// "A:\", its terminator and the empty string after it. One byte less must
// leave the buffer untouched; exactly that much must not write past it.
TEST_F(ImageDriveTest, TheDriveStringsFitExactlyTheRoomTheyAskFor) {
  const std::uint32_t needed = drive.LogicalDriveStrings(0, nullptr);
  ASSERT_EQ(needed, 5u);
  for (std::uint32_t capacity : {needed - 1, needed}) {
    SCOPED_TRACE(capacity);
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    std::uint32_t answer = drive.LogicalDriveStrings(capacity, buffer);
    if (capacity < needed) {
      EXPECT_EQ(answer, needed);
      EXPECT_EQ(std::string(buffer, 8), "########");
    } else {
      EXPECT_EQ(answer, needed - 1);
      EXPECT_EQ(std::string(buffer, 8), std::string("A:\\\0\0###", 8));
    }
  }
}

TEST_F(ImageDriveTest, FilesGoToTheStagingFolderUnderTheirFloppyNames) {
  drive.UseStaging("/tmp/wendmark-x");
  char path[260];
  drive.DestinationPath("A:\\", "Read Me.txt", path, sizeof path);
  EXPECT_STREQ(path, "/tmp/wendmark-x/Read Me.txt");
}

// Without a terminal: one line per message, the part that says what is
// wrong, and the answer that stops.
TEST(StopBoxes, TellEachMessageOnOneLineAndStop) {
  kivo::console::HostText plain;
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  wendmark::console::StopBoxes boxes(out, plain);
  EXPECT_EQ(boxes.Show((std::string(tests::kNotBlank) + "\n\n" + tests::kInsertBlank).c_str(), "Tandrel's disk maker",
                       ui::kOkCancel | ui::kIconExclamation),
            ui::kIdCancel);
  EXPECT_EQ(boxes.Show((std::string(tests::kDiskFull) + tests::kChoice).c_str(), "Tandrel's disk maker",
                       ui::kAbortRetryIgnore | ui::kIconExclamation),
            ui::kIdAbort);
  EXPECT_EQ(boxes.Show(tests::kCannotCreate, "Tandrel's disk maker", ui::kOk), ui::kIdOk);
  EXPECT_EQ(boxes.Show(tests::kConfirmCancel, "Tandrel's disk maker", ui::kYesNo), ui::kIdYes);
  EXPECT_EQ(boxes.Ask((std::string(tests::kSourceUnreadable) + tests::kChoice).c_str(), "Tandrel's disk maker",
                      ui::kAbortRetryIgnore, "/setup/A.TXT: Permission denied"),
            ui::kIdAbort);
  std::rewind(out);
  std::string said;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) said += buffer;
  std::fclose(out);
  EXPECT_EQ(said, std::string("Tandrel's disk maker: ") + tests::kNotBlank + "\n" + "Tandrel's disk maker: " +
                      tests::kDiskFull + "\n" + "Tandrel's disk maker: " + tests::kCannotCreate + "\n" +
                      "Tandrel's disk maker: " + tests::kConfirmCancel + "\n" + "Tandrel's disk maker: " +
                      tests::kSourceUnreadable + "\n/setup/A.TXT: Permission denied\n");
}

TEST(BarLine, ShowsTheDiskItsShareAndTheFileWithinTheWidth) {
  EXPECT_EQ(wendmark::console::BarLine("Disk 1 - Acme", 45, "SUITE1.CAB", 100),
            "Disk 1 - Acme  [#########-----------]  45%  SUITE1.CAB");
  EXPECT_EQ(wendmark::console::BarLine("Disk 2 - Acme", 100, "", 100), "Disk 2 - Acme  [####################] 100%");
  EXPECT_EQ(wendmark::console::BarLine("Disk 3 - Acme", 0, "A LONG NAME.TXT", 20), "Disk 3 - Acme  [----");
}

}  // namespace
