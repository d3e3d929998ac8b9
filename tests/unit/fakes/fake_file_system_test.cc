// The in-memory file system the engines are tested against must answer the
// way Windows does, or every test built on it proves nothing.
#include "tests/fakes/fake_file_system.h"

#include <gtest/gtest.h>

namespace {

using fakes::Fault;
using fakes::FakeFileSystem;
using fakes::Op;
using platform::FileHandle;
using platform::OpenMode;
namespace error = platform::error;

TEST(FakeFileSystem, ResolvesPathsTheWayWindowsDoes) {
  FakeFileSystem fs;
  fs.AddFile("C:\\Target\\Dir\\File.txt", "x");
  fs.SetCurrentDirectory("C:\\Target");
  EXPECT_TRUE(fs.Exists("dir\\file.txt"));
  EXPECT_TRUE(fs.Exists("C:\\TARGET\\\\dir\\.\\sub\\..\\File.txt"));
  EXPECT_TRUE(fs.Exists("\\target\\dir/file.txt"));
  EXPECT_EQ(fs.Key("..\\..\\..\\x"), "") << "above the root";
  EXPECT_EQ(fs.Key("\\\\server\\share\\x"), "") << "no network here";
  EXPECT_EQ(fs.Key("A:name"), "a:\\name") << "drive-relative, at that drive's root";
  EXPECT_EQ(fs.Files(), std::vector<std::string>{"C:\\Target\\Dir\\File.txt"});
}

TEST(FakeFileSystem, AnswersInWin32Codes) {
  FakeFileSystem fs;
  fs.AddFile("C:\\a.txt", "abc");
  fs.AddFile("C:\\ro.txt", "ro", {}, platform::attr::kReadOnly);
  FileHandle f = 0, g = 0;
  EXPECT_FALSE(fs.Open("C:\\a.txt", OpenMode::kCreateNew, &f));
  EXPECT_EQ(fs.LastError(), error::kFileExists);
  EXPECT_FALSE(fs.Open("C:\\ro.txt", OpenMode::kCreateAlways, &f));
  EXPECT_EQ(fs.LastError(), error::kAccessDenied);
  EXPECT_FALSE(fs.Open("C:\\none\\b.txt", OpenMode::kCreateNew, &f));
  EXPECT_EQ(fs.LastError(), error::kPathNotFound);
  EXPECT_FALSE(fs.Open("C:\\b.txt", OpenMode::kReadShared, &f));
  EXPECT_EQ(fs.LastError(), error::kFileNotFound);
  ASSERT_TRUE(fs.Open("C:\\a.txt", OpenMode::kReadExclusive, &f));
  EXPECT_FALSE(fs.Open("C:\\a.txt", OpenMode::kReadShared, &g));
  EXPECT_EQ(fs.LastError(), error::kSharingViolation);
  EXPECT_EQ(fs.OpenHandleCount(), 1);
  fs.Close(f);
  EXPECT_EQ(fs.OpenHandleCount(), 0);
  std::uint32_t a = 0;
  EXPECT_FALSE(fs.GetAttributes("C:\\none\\x", &a));
  EXPECT_EQ(fs.LastError(), error::kPathNotFound);
  EXPECT_FALSE(fs.MakeDirectory("C:\\a.txt"));
  EXPECT_EQ(fs.LastError(), error::kAlreadyExists);
}

TEST(FakeFileSystem, FaultsStrikeTheChosenOperationOnceOrFromThenOn) {
  for (bool persistent : {false, true}) {
    SCOPED_TRACE(persistent);
    FakeFileSystem fs;
    fs.AddFile("C:\\a.txt", "abcdef");
    fs.SetFault({2, error::kSharingViolation, persistent, fakes::kAllOps, false});
    FileHandle f = 0;
    ASSERT_TRUE(fs.Open("C:\\a.txt", OpenMode::kReadShared, &f));  // operation 1
    char buffer[8];
    std::uint32_t done = 0;
    EXPECT_FALSE(fs.Read(f, buffer, 2, &done));  // operation 2
    EXPECT_EQ(fs.LastError(), error::kSharingViolation);
    EXPECT_EQ(fs.Read(f, buffer, 2, &done), !persistent);
    fs.Close(f);
    EXPECT_TRUE(fs.FaultHit());
    EXPECT_EQ(fs.OpenHandleCount(), 0) << "a failing close still gives the handle up";
  }
}

TEST(FakeFileSystem, ShortWritesAndFullDisks) {
  FakeFileSystem fs;
  fs.AddDirectory("A:\\");
  fs.SetCapacity('A', 10);
  FileHandle f = 0;
  ASSERT_TRUE(fs.Open("A:\\x", OpenMode::kCreateAlways, &f));
  std::uint32_t done = 0;
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 8u);
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 2u) << "what fits is stored";
  EXPECT_FALSE(fs.Write(f, "1", 1, &done));
  EXPECT_EQ(fs.LastError(), error::kDiskFull);
  fs.SetFault({1, 0, false, std::uint32_t(Op::kWrite), true});
  fs.Close(f);
  fs.SetCapacity('A', 1000);
  ASSERT_TRUE(fs.Open("A:\\y", OpenMode::kCreateAlways, &f));
  EXPECT_TRUE(fs.Write(f, "12345678", 8, &done));
  EXPECT_EQ(done, 4u);
  fs.Close(f);
  fs.SetWriteProtected('A', true);
  EXPECT_FALSE(fs.Open("A:\\z", OpenMode::kCreateAlways, &f));
  EXPECT_EQ(fs.LastError(), error::kWriteProtect);
}

}  // namespace
