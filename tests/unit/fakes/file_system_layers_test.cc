// The layers the engines are tested through. The in-memory file system must
// answer the way Windows does, or every test built on it proves nothing; the
// fault and logging layers must do the same on the real file layer as on
// memory, or a fault sweep on real files would test the layer instead.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/logging_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::FileHandle;
using platform::OpenMode;
using tests::Fault;
using tests::FaultyFileSystem;
using tests::LoggingFileSystem;
using tests::MemoryFileSystem;
using tests::Op;
namespace error = platform::error;

TEST(MemoryFileSystem, ResolvesPathsTheWayWindowsDoes) {
  MemoryFileSystem fs;
  fs.AddFile("C:\\Target\\Dir\\File.txt", "x");
  fs.SetCurrentDirectory("C:\\Target");
  EXPECT_TRUE(fs.Exists("dir\\file.txt"));
  EXPECT_TRUE(fs.Exists("C:\\TARGET\\\\dir\\.\\sub\\..\\File.txt"));
  EXPECT_TRUE(fs.Exists("\\target\\dir/file.txt"));
  EXPECT_EQ(fs.Key("..\\..\\..\\x"), "") << "above the root";
  EXPECT_EQ(fs.Key("\\\\server\\share\\x"), "") << "no network here";
  EXPECT_EQ(fs.Key("A:name"), "a:\\name") << "drive-relative, at that drive's root";
  EXPECT_EQ(fs.Key("c:dir"), "c:\\target\\dir") << "drive-relative, at the current folder";
  EXPECT_EQ(fs.Files(), std::vector<std::string>{"C:\\Target\\Dir\\File.txt"});
}

TEST(MemoryFileSystem, AnswersInWin32Codes) {
  MemoryFileSystem fs;
  fs.AddFile("C:\\a.txt", "abc");
  fs.AddFile("C:\\ro.txt", "ro", {}, platform::attr::kReadOnly);
  FileHandle f = 0, g = 0;
  EXPECT_EQ(fs.Open("C:\\a.txt", OpenMode::kCreateNew, &f).code(), error::kFileExists);
  EXPECT_EQ(fs.Open("C:\\ro.txt", OpenMode::kCreateAlways, &f).code(), error::kAccessDenied);
  EXPECT_EQ(fs.Open("C:\\none\\b.txt", OpenMode::kCreateNew, &f).code(), error::kPathNotFound);
  EXPECT_EQ(fs.Open("C:\\b.txt", OpenMode::kReadShared, &f).code(), error::kFileNotFound);
  ASSERT_TRUE(fs.Open("C:\\a.txt", OpenMode::kReadExclusive, &f));
  EXPECT_EQ(fs.Open("C:\\a.txt", OpenMode::kReadShared, &g).code(), error::kSharingViolation);
  EXPECT_EQ(fs.OpenHandleCount(), 1);
  (void)fs.Close(f);
  EXPECT_EQ(fs.OpenHandleCount(), 0);
  std::uint32_t a = 0;
  EXPECT_EQ(fs.GetAttributes("C:\\none\\x", &a).code(), error::kPathNotFound);
  EXPECT_EQ(fs.MakeDirectory("C:\\a.txt").code(), error::kAlreadyExists);
}

TEST(MemoryFileSystem, ShortWritesAndFullDisks) {
  MemoryFileSystem disk;
  FaultyFileSystem fs(disk);
  disk.AddDirectory("A:\\");
  disk.SetCapacity('A', 10);
  FileHandle f = 0;
  ASSERT_TRUE(fs.Open("A:\\x", OpenMode::kCreateAlways, &f));
  std::uint32_t done = 0;
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 8u);
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 2u) << "what fits is stored";
  EXPECT_EQ(fs.Write(f, "1", 1, &done).code(), error::kDiskFull);
  fs.SetFault({1, 0, false, std::uint32_t(Op::kWrite), true});
  (void)fs.Close(f);
  disk.SetCapacity('A', 1000);
  ASSERT_TRUE(fs.Open("A:\\y", OpenMode::kCreateAlways, &f));
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 4u);
  (void)fs.Close(f);
  disk.SetWriteProtected('A', true);
  EXPECT_EQ(fs.Open("A:\\z", OpenMode::kCreateAlways, &f).code(), error::kWriteProtect);
}

// The layers over either file system below them: memory, or the platform's
// real one in a temporary folder.
class Layers : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "Memory") {
      memory_ = std::make_unique<MemoryFileSystem>();
      memory_->AddDirectory("C:\\work");
      folder_ = "C:\\work";
    } else {
      dir_ = std::make_unique<tests::TempDir>();
      folder_ = dir_->path();
    }
  }
  platform::FileSystem& Below() {
    return memory_ ? static_cast<platform::FileSystem&>(*memory_) : platform::DefaultFileSystem();
  }
  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  void Put(const std::string& name, const std::string& data) {
    if (memory_) {
      memory_->AddFile(Path(name), data);
    } else {
      tests::WriteFile(Path(name), data);
    }
  }
  bool Exists(const std::string& name) const {
    return memory_ ? memory_->Exists(Path(name)) : tests::Exists(Path(name));
  }
  // Handles the system below still holds, where it can tell.
  int HandlesBelow() const {
    if (memory_) return memory_->OpenHandleCount();
#ifdef __linux__
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n - baseline_;
#else
    return 0;
#endif
  }
  void NoteHandlesBelow() { baseline_ += HandlesBelow(); }

  std::unique_ptr<MemoryFileSystem> memory_;
  std::unique_ptr<tests::TempDir> dir_;
  std::string folder_;
  int baseline_ = 0;
};

TEST_P(Layers, FaultsStrikeTheChosenOperationOnceOrFromThenOn) {
  for (bool persistent : {false, true}) {
    SCOPED_TRACE(persistent);
    Put("a.txt", "abcdef");
    NoteHandlesBelow();
    FaultyFileSystem fs(Below());
    fs.SetFault({2, error::kSharingViolation, persistent, tests::kAllOps, false});
    FileHandle f = 0;
    ASSERT_TRUE(fs.Open(Path("a.txt").c_str(), OpenMode::kReadShared, &f));  // operation 1
    char buffer[8];
    std::uint32_t done = 0;
    EXPECT_EQ(fs.Read(f, buffer, 2, &done).code(), error::kSharingViolation);  // operation 2
    EXPECT_EQ(fs.Read(f, buffer, 2, &done).ok(), !persistent);
    EXPECT_EQ(fs.Close(f).ok(), !persistent);
    EXPECT_TRUE(fs.FaultHit());
    EXPECT_EQ(fs.OpenHandleCount(), 0) << "a failing close still gives the handle up";
    EXPECT_EQ(HandlesBelow(), 0) << "and closes it below";
    EXPECT_EQ(fs.OperationCount(), 4u);
    EXPECT_EQ(fs.OperationCount(Op::kRead), 2u);
  }
}

TEST_P(Layers, InjectedFailuresNeverReachTheSystemBelowAndItsOwnAreKept) {
  FaultyFileSystem fs(Below());
  fs.SetFault({1, error::kDiskFull, false, std::uint32_t(Op::kOpen), false});
  FileHandle f = 0;
  EXPECT_EQ(fs.Open(Path("new.txt").c_str(), OpenMode::kCreateNew, &f).code(), error::kDiskFull);
  EXPECT_FALSE(Exists("new.txt")) << "a create made to fail leaves no file";
  // The system's own failure comes through with its own code.
  EXPECT_EQ(fs.Open(Path("none\\x.txt").c_str(), OpenMode::kCreateNew, &f).code(), error::kPathNotFound);
  EXPECT_EQ(fs.OpenHandleCount(), 0);
}

TEST_P(Layers, ShortReadsEarlyEndsShortWritesAndSurplusSizes) {
  Put("r.bin", "0123456789");
  FaultyFileSystem fs(Below());
  fs.SetReadLimit(3);
  fs.SetSizeSurplus(100);
  FileHandle f = 0;
  ASSERT_TRUE(fs.Open(Path("r.bin").c_str(), OpenMode::kReadShared, &f));
  char buffer[16];
  std::uint32_t done = 0;
  ASSERT_TRUE(fs.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(std::string(buffer, done), "012");
  std::uint64_t size = 0;
  ASSERT_TRUE(fs.GetSize(f, &size));
  EXPECT_EQ(size, 110u);
  fs.SetFault({.at = 2, .kinds = std::uint32_t(Op::kRead), .emptyRead = true});
  ASSERT_TRUE(fs.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(done, 3u);
  ASSERT_TRUE(fs.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(done, 0u) << "the end, early";
  ASSERT_TRUE(fs.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(std::string(buffer, done), "678") << "and nothing skipped";
  EXPECT_TRUE(fs.Close(f));

  fs.SetFault({.at = 1, .kinds = std::uint32_t(Op::kWrite), .shortWrite = true});
  ASSERT_TRUE(fs.Open(Path("w.bin").c_str(), OpenMode::kCreateNew, &f));
  EXPECT_TRUE(fs.Write(f, "abcdefgh", 8, &done));
  EXPECT_EQ(done, 4u);
  EXPECT_TRUE(fs.Close(f));
}

TEST_P(Layers, TheLogRecordsEachCallAndWhatItAnswered) {
  Put("a.txt", "abc");
  FaultyFileSystem faults(Below());
  LoggingFileSystem fs(faults);
  faults.SetFault({.at = 1, .code = error::kWriteProtect, .kinds = std::uint32_t(Op::kRemove)});
  FileHandle f = 0;
  std::uint32_t done = 0;
  char buffer[8];
  ASSERT_TRUE(fs.Open(Path("a.txt").c_str(), OpenMode::kReadExclusive, &f));
  ASSERT_TRUE(fs.Read(f, buffer, 8, &done));
  ASSERT_TRUE(fs.Close(f));
  EXPECT_FALSE(fs.Remove(Path("a.txt").c_str()));
  EXPECT_FALSE(fs.Open(Path("b.txt").c_str(), OpenMode::kReadShared, &f));
  EXPECT_EQ(fs.Log(), (std::vector<std::string>{"Open " + Path("a.txt") + " ReadExclusive -> ok",
                                                "Read 8 -> ok", "Close -> ok",
                                                "Remove " + Path("a.txt") + " -> error 19",
                                                "Open " + Path("b.txt") + " ReadShared -> error 2"}));
  EXPECT_TRUE(Exists("a.txt"));
}

INSTANTIATE_TEST_SUITE_P(Below, Layers, ::testing::Values("Memory", "Real"),
                         [](const auto& info) { return info.param; });

}  // namespace
