// The builder on the real POSIX layer: a temporary folder stands in for the
// floppy of drive A: (TANDREL_DRIVES), another holds the disk images.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/unit/builder/builder_world.h"
#include "tests/unit/builder/copy_fault_sweep.h"

namespace {

using namespace tests;
namespace ui = platform::ui;

class PosixBuilder : public ::testing::Test {
 protected:
  PosixBuilder()
      : packages(profile, program),
        driveList(platform::DefaultDrives()),
        builder(&packages, &driveList,
                {platform::DefaultFileSystem(), platform::DefaultDrives(), wendmark::CompiledStrings(),
                 platform::DefaultMemory()}),
        dialog(&builder) {
    floppy = dir.path() + "/floppy";
    tests::MakeDirs(floppy);
    tests::MakeDirs(dir.path() + "/images/sub");
    setenv("TANDREL_DRIVES", ("A=" + floppy).c_str(), 1);
    profile.diskImages = dir.Join("images");
    packages.name = "Sample Suite";
    builder.AttachProgress(&dialog);
  }
  ~PosixBuilder() override { unsetenv("TANDREL_DRIVES"); }

  static void SetTimes(const std::string& path, time_t access, time_t write) {
    struct timespec ts[2] = {{access, 500}, {write, 700}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), ts, 0), 0);
  }

  tests::TempDir dir;
  std::string floppy;
  SettingsProfile profile;
  ProgramAt program{"C:\\tools\\Wendmark.exe", "C:\\tools"};
  wendmark::PackageList packages;
  wendmark::DriveList driveList;
  wendmark::DiskBuilder builder;
  FakeDialog dialog;
};

TEST_F(PosixBuilder, CopiesADiskOntoTheTopLevelOfTheMappedFolderWithItsTimes) {
  ASSERT_TRUE(driveList.Enumerate());
  std::string big = Bytes(100000), small = "small";
  tests::WriteFile(dir.path() + "/images/sub/BIG.CAB", big);
  tests::WriteFile(dir.path() + "/images/SMALL.TXT", small);
  SetTimes(dir.path() + "/images/sub/BIG.CAB", 1000000000, 981173106);
  wendmark::DiskEntry disk;
  disk.number = 0;
  ASSERT_TRUE(tests::Fill(disk.files, {"sub\\BIG.CAB", "SMALL.TXT"}));
  ASSERT_TRUE(builder.CopyDisk(driveList[0], disk));
  EXPECT_TRUE(dialog.boxes.shown.empty());
  struct stat st;  // before anything reads the copy
  ASSERT_EQ(stat((floppy + "/BIG.CAB").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 981173106);
  EXPECT_EQ(st.st_mtim.tv_nsec, 700);
  // The times are taken after the copy, so the access time is the one the
  // copy's own reading left on the source (where the system keeps it).
  struct stat source;
  ASSERT_EQ(stat((dir.path() + "/images/sub/BIG.CAB").c_str(), &source), 0);
  EXPECT_EQ(st.st_atim.tv_sec, source.st_atim.tv_sec);
  EXPECT_EQ(st.st_atim.tv_nsec / 100, source.st_atim.tv_nsec / 100);
  // (Read only now: reading moves the access time on.)
  EXPECT_EQ(tests::ReadFile(floppy + "/BIG.CAB"), big);
  EXPECT_EQ(tests::ReadFile(floppy + "/SMALL.TXT"), small);
  EXPECT_FALSE(tests::Exists(floppy + "/sub"));

}

TEST_F(PosixBuilder, AMissingSourceIsReportedAndNothingIsLeftOnTheFloppy) {
  ASSERT_TRUE(driveList.Enumerate());
  wendmark::DiskEntry disk;
  disk.number = 0;
  ASSERT_TRUE(tests::Fill(disk.files, {"NOPE.BIN"}));
  dialog.boxes.Answer({ui::kIdAbort});
  EXPECT_FALSE(builder.CopyDisk(driveList[0], disk));
  ASSERT_EQ(dialog.boxes.shown.size(), 1u);
  EXPECT_EQ(dialog.boxes.shown[0].text, std::string(kSourceMissing) + kChoice);
  EXPECT_FALSE(tests::Exists(floppy + "/NOPE.BIN"));
}

TEST_F(PosixBuilder, AFloppyFolderThatIsNotThereIsADriveWithoutADisk) {
  ASSERT_TRUE(driveList.Enumerate());
  tests::RemoveTree(floppy);
  dialog.boxes.Answer({ui::kIdOk, ui::kIdCancel});
  EXPECT_FALSE(builder.CheckDestination(driveList[0]));
  ASSERT_EQ(dialog.boxes.shown.size(), 2u);
  EXPECT_EQ(dialog.boxes.shown[0].text, kInsertBlank);
  EXPECT_EQ(dialog.boxes.shown[1].text, std::string(kNoDisk) + "\n\n" + kInsertBlank);
}

// The copy engine's fault sweep on the real file layer: the disk images in
// a temporary folder, the floppy A: mapped onto another. The drive checks
// stay scripted (no folder here is a blank floppy); every file operation
// is real.
class RealCopySite final : public tests::CopySite {
 public:
  RealCopySite() : floppy_(dir_.path() + "/floppy") {
    setenv("TANDREL_DRIVES", ("A=" + floppy_).c_str(), 1);
  }
  ~RealCopySite() override { unsetenv("TANDREL_DRIVES"); }

  std::unique_ptr<BuilderWorld> NewRun(const std::map<std::string, std::string>& images) override {
    tests::RemoveTree(floppy_);
    tests::MakeDirs(floppy_);
    tests::RemoveTree(dir_.Join("images"));
    tests::MakeDirs(dir_.Join("images"));
    for (const auto& [name, data] : images) tests::WriteFile(dir_.Join("images\\" + name), data);
    auto w = std::make_unique<BuilderWorld>(&platform::DefaultFileSystem());
    w->profile.diskImages = dir_.Join("images");
    return w;
  }
  std::map<std::string, std::string> Floppy(BuilderWorld&) override {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(floppy_)) {
      files[entry.path().filename().string()] = tests::ReadFile(entry.path().string());
    }
    return files;
  }
  std::optional<std::string> Image(BuilderWorld&, const std::string& name) override {
    std::string path = dir_.Join("images\\" + name);
    if (!tests::Exists(path)) return std::nullopt;
    return tests::ReadFile(path);
  }

 private:
  tests::TempDir dir_{tests::TempDir::Where::kMemoryIfAny};
  std::string floppy_;
};

TEST(PosixBuilderFaults, AnyFailingOperationLeavesNoPartialFileAndNoOpenHandle) {
  RealCopySite site;
  tests::SweepCopyFaults(site);
}

}  // namespace
