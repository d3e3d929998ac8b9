// The staging folder holds what a blank 1.44 MB floppy holds and no more,
// as the copy engine meets it: a file that needs one cluster too many, or a
// name that needs one root entry too many, is refused with the engine's own
// message, and nothing of it is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/resources/strings.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/wendmark/wendmark_world.h"
#include "tools/wendmark/image_drive.h"
#include "tools/wendmark/staging_floppy.h"

namespace {

namespace ui = platform::ui;
constexpr std::uint64_t kFloppyBytes = 2847 * 512;  // 1,457,664

class StagingFloppyTest : public ::testing::Test {
 protected:
  StagingFloppyTest()
      : sources(tests::TempDir::Where::kMemoryIfAny),
        staging(tests::TempDir::Where::kMemoryIfAny),
        floppy(platform::DefaultFileSystem(), staging.path(), Page()),
        drive(nullptr),
        builder(nullptr, nullptr, {floppy, drive, wendmark::CompiledStrings(), platform::DefaultMemory()}) {
    builder.AttachProgress(&window);
  }

  static const platform::posix::CodePage& Page() {
    static platform::posix::CodePage page;
    static bool loaded = [] {
      std::string error;
      return page.Load(1252, &error);
    }();
    EXPECT_TRUE(loaded);
    return page;
  }

  // Copies a source file of `bytes` onto the floppy under `name`, as the
  // engine copies a file entry.
  bool Copy(const std::string& name, std::uint64_t bytes) {
    std::string source = sources.path() + "/" + name;
    tests::WriteFile(source, std::string(bytes, 'x'));
    return builder.CopyOneFile(name.c_str(), source.c_str(), (staging.path() + "/" + name).c_str());
  }

  std::size_t FilesOnFloppy() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(staging.path()),
                                                  std::filesystem::directory_iterator()));
  }

  tests::TempDir sources, staging;
  wendmark::StagingFloppy floppy;
  wendmark::ImageDrive drive;
  wendmark::DiskBuilder builder;
  tests::ScriptedWindow window;
};

TEST_F(StagingFloppyTest, TheWholeDataAreaFitsAndOneClusterMoreIsTheEnginesDiskFull) {
  // Exactly full: one file as large as the data area.
  ASSERT_TRUE(Copy("WHOLE.BIN", kFloppyBytes));
  EXPECT_TRUE(window.boxes.shown.empty());
  EXPECT_EQ(floppy.usedClusters(), 2847u);
  // An empty file takes an entry but no cluster: it still fits.
  ASSERT_TRUE(Copy("EMPTY.DAT", 0));
  EXPECT_TRUE(window.boxes.shown.empty());
  // One byte more needs a cluster that is not there.
  window.boxes.Answer({ui::kIdAbort});
  EXPECT_FALSE(Copy("ONE.BYT", 1));
  ASSERT_EQ(window.boxes.shown.size(), 1u);
  EXPECT_EQ(window.boxes.shown[0].text, std::string(tests::kDiskFull) + tests::kChoice);
  EXPECT_EQ(window.boxes.shown[0].buttons(), ui::kAbortRetryIgnore);
  // The engine removed the partial file, and its entry is free again.
  EXPECT_FALSE(tests::Exists(staging.path() + "/ONE.BYT"));
  EXPECT_EQ(FilesOnFloppy(), 2u);
  EXPECT_EQ(floppy.usedClusters(), 2847u);
  EXPECT_EQ(floppy.usedEntries(), 2u);
}

TEST_F(StagingFloppyTest, AFileThatOutgrowsTheFloppyFailsAtTheChunkThatMeetsTheEnd) {
  ASSERT_TRUE(Copy("FIRST.BIN", 512 * 1000));
  EXPECT_TRUE(Copy("SECOND.BIN", kFloppyBytes - 512 * 1000));  // to the last cluster
  // Replacing a file gives its clusters back first: the same size fits again.
  EXPECT_TRUE(Copy("FIRST.BIN", 512 * 1000));
  window.boxes.Answer({ui::kIdIgnore});
  EXPECT_TRUE(Copy("FIRST.BIN", 512 * 1000 + 1));  // skipped by Ignore
  ASSERT_EQ(window.boxes.shown.size(), 1u);
  EXPECT_EQ(window.boxes.shown[0].text, std::string(tests::kDiskFull) + tests::kChoice);
  // The floppy, like FAT, has no old copy left to fall back on.
  EXPECT_FALSE(tests::Exists(staging.path() + "/FIRST.BIN"));
  EXPECT_EQ(floppy.usedClusters(), 2847u - 1000u);
}

TEST_F(StagingFloppyTest, TwoHundredTwentyThreeEntriesFitAndOneMoreCannotBeCreated) {
  // A long name takes its short entry and one per 13 characters.
  ASSERT_TRUE(Copy("Read Me First.txt", 10));  // 17 characters: 3 entries
  EXPECT_EQ(floppy.usedEntries(), 3u);
  for (int i = 0; i < 220; ++i) ASSERT_TRUE(Copy("F" + std::to_string(i) + ".TXT", 0)) << i;
  EXPECT_EQ(floppy.usedEntries(), 223u);
  EXPECT_TRUE(window.boxes.shown.empty());
  // The root directory is full: creating the file fails, and the engine's
  // message for a file it cannot create offers no choice.
  EXPECT_FALSE(Copy("LAST.TXT", 0));
  ASSERT_EQ(window.boxes.shown.size(), 1u);
  EXPECT_EQ(window.boxes.shown[0].text, tests::kCannotCreate);
  EXPECT_EQ(window.boxes.shown[0].buttons(), ui::kOk);
  EXPECT_FALSE(tests::Exists(staging.path() + "/LAST.TXT"));
  // An existing name needs no new entry.
  EXPECT_TRUE(Copy("F7.TXT", 100));
  EXPECT_EQ(FilesOnFloppy(), 221u);
}

TEST_F(StagingFloppyTest, NamesAreFoundWithoutRegardToCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(Copy("Setup.Ini", 2000));
  ASSERT_TRUE(Copy("SETUP.INI", 10));
  EXPECT_EQ(FilesOnFloppy(), 1u);
  EXPECT_EQ(tests::ReadFile(staging.path() + "/Setup.Ini"), std::string(10, 'x'));
  EXPECT_EQ(floppy.usedClusters(), 1u);
  EXPECT_EQ(floppy.usedEntries(), 2u);
  // Code page letters fold as Windows folds them.
  const std::string lower = "caf\xE9.txt", upper = "CAF\xC9.TXT";
  EXPECT_TRUE(floppy.Adopt(lower, 0));
  EXPECT_FALSE(floppy.Adopt(upper, 0));
}

}  // namespace
