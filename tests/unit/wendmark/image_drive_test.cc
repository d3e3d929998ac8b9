// The floppy in drive A: is the disk's image: a missing one is the blank
// floppy the program will make, an existing one answers what the floppy
// module reads in it, and the engine's checks judge it as they judge a floppy. Without a
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
#include "floppy/boot_sector.h"
#include "floppy/volume.h"
#include "floppy/volume_file_system.h"

namespace {

namespace ui = platform::ui;

constexpr platform::FileTime kSomeTime = 133000000000000000ull;

// A formatted 1.44 MB floppy with a file of `bytes` bytes on it (none for 0).
std::string FloppyHolding(std::uint32_t bytes) {
  floppy::Volume volume = floppy::Volume::Format(1, kSomeTime);
  if (bytes != 0) {
    floppy::VolumeFileSystem files(volume, floppy::Latin1Codec(), kSomeTime);
    platform::FileHandle f = platform::kNoFile;
    std::uint32_t done = 0;
    std::string data(bytes, 'x');
    EXPECT_TRUE(files.Open("A:\\DATA.BIN", platform::OpenMode::kCreateNew, &f));
    EXPECT_TRUE(files.Write(f, data.data(), bytes, &done));
    EXPECT_TRUE(files.Close(f));
  }
  return std::string(volume.bytes().begin(), volume.bytes().end());
}

// A blank 720 KB floppy: 713 clusters of two sectors.
std::string Blank720() {
  floppy::Geometry g;
  g.sectorsPerCluster = 2;
  g.rootEntries = 112;
  g.totalSectors = 1440;
  g.media = 0xF9;
  g.sectorsPerFat = 3;
  g.sectorsPerTrack = 9;
  std::string image(g.imageBytes(), '\0');
  floppy::WriteBootSector(g, 1, "OLD", reinterpret_cast<std::uint8_t*>(image.data()));
  for (std::uint32_t f = 0; f < g.fatCount; ++f) {
    std::size_t at = (g.reservedSectors + f * g.sectorsPerFat) * g.bytesPerSector;
    image[at] = static_cast<char>(g.media);
    image[at + 1] = image[at + 2] = static_cast<char>(0xFF);
  }
  return image;
}

class ImageDriveTest : public ::testing::Test {
 protected:
  ImageDriveTest()
      : drives(drive), builder(nullptr, &drives, {platform::DefaultFileSystem(), drive,
                                                                     wendmark::CompiledStrings(), platform::DefaultMemory()}) {
    builder.AttachProgress(&window);
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
}

TEST_F(ImageDriveTest, AnExistingImageIsJudgedByWhatItHolds) {
  struct Case {
    const char* what;
    std::string image;
    std::string text;  // "" when it passes
    bool fat;
  } cases[] = {
      {"blank 1.44 MB", FloppyHolding(0), "", true},
      {"one cluster in use", FloppyHolding(512), "", true},
      {"two clusters in use", FloppyHolding(513), std::string(tests::kNotBlank) + "\n\n" + tests::kInsertBlank, true},
      {"blank 720 KB", Blank720(), std::string(tests::kTooSmall) + "\n\n" + tests::kInsertBlank, true},
      {"no FAT disk", "image", std::string(tests::kDriveError) + "\n\n" + tests::kInsertBlank, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tests::WriteFile(dir.path() + "/disk1.img", c.image);
    window.boxes.shown.clear();
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
    EXPECT_EQ(drive.lastError().empty(), c.fat);
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
  EXPECT_EQ(reasons.Take(), dir.path() + "/disk1.img: Is a directory");
  EXPECT_EQ(drive.lastError(), "") << "the host's error, not a judgement of the image";
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


// Without a terminal: one line per message, the part that says what is
// wrong, and the answer that stops.
TEST(StopBoxes, TellEachMessageOnOneLineAndStop) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  platform::console::TerminalBoxes boxes(nullptr, out, {.reply = platform::console::TerminalBoxes::Reply::kStop});
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
