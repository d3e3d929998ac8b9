// The real file layer on real temporary folders: natively the POSIX one,
// under Wine the Win32 one. Both must answer in the same Win32 vocabulary.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using platform::FileHandle;
using platform::OpenMode;
namespace error = platform::error;

class FileSystemTest : public ::testing::Test {
 protected:
  platform::FileSystem& fs_ = platform::DefaultFileSystem();
  tests::TempDir dir_;
};

TEST_F(FileSystemTest, WritesReadsAndPositions) {
  std::string path = dir_.Join("a.bin");
  FileHandle f = platform::kNoFile;
  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kCreateNew, &f));
  std::uint32_t done = 0;
  ASSERT_TRUE(fs_.Write(f, "0123456789", 10, &done));
  EXPECT_EQ(done, 10u);
  EXPECT_TRUE(fs_.Flush(f));
  ASSERT_TRUE(fs_.Close(f));

  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kReadShared, &f));
  std::uint64_t size = 0;
  ASSERT_TRUE(fs_.GetSize(f, &size));
  EXPECT_EQ(size, 10u);
  char buffer[16] = {};
  ASSERT_TRUE(fs_.Seek(f, 3));
  ASSERT_TRUE(fs_.Read(f, buffer, 2, &done));
  EXPECT_EQ(std::string(buffer, done), "34");
  ASSERT_TRUE(fs_.Skip(f, 2));
  std::uint32_t at = 0;
  ASSERT_TRUE(fs_.Tell(f, &at));
  EXPECT_EQ(at, 7u);
  ASSERT_TRUE(fs_.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(std::string(buffer, done), "789");
  ASSERT_TRUE(fs_.Read(f, buffer, sizeof buffer, &done));
  EXPECT_EQ(done, 0u) << "end of file reads nothing, successfully";
  EXPECT_TRUE(fs_.Close(f));
}

TEST_F(FileSystemTest, CreateNewRefusesAnExistingFileAndCreateAlwaysTruncates) {
  std::string path = dir_.Join("b.txt");
  tests::WriteFile(path, "old contents");
  FileHandle f = platform::kNoFile;
  EXPECT_EQ(fs_.Open(path.c_str(), OpenMode::kCreateNew, &f).code(), error::kFileExists);
  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kCreateAlways, &f));
  (void)fs_.Close(f);
  EXPECT_EQ(tests::ReadFile(path), "");
}

TEST_F(FileSystemTest, ReadOnlyFilesCannotBeReplacedOrTruncated) {
  std::string path = dir_.Join("ro.txt");
  std::string other = dir_.Join("new.txt");
  tests::WriteFile(path, "keep");
  tests::WriteFile(other, "new");
  tests::SetReadOnly(path, true);
  FileHandle f = platform::kNoFile;
  EXPECT_EQ(fs_.Open(path.c_str(), OpenMode::kCreateAlways, &f).code(), error::kAccessDenied);
  EXPECT_EQ(fs_.Replace(other.c_str(), path.c_str()).code(), error::kAccessDenied);
  EXPECT_EQ(tests::ReadFile(path), "keep");
  std::uint32_t a = 0;
  ASSERT_TRUE(fs_.GetAttributes(path.c_str(), &a));
  EXPECT_TRUE(a & platform::attr::kReadOnly);
  EXPECT_FALSE(a & platform::attr::kDirectory);
}

TEST_F(FileSystemTest, ReplacePutsTheNewFileInPlace) {
  std::string target = dir_.Join("t.txt"), source = dir_.Join("t.tmp");
  tests::WriteFile(target, "old");
  tests::WriteFile(source, "new");
  ASSERT_TRUE(fs_.Replace(source.c_str(), target.c_str()));
  EXPECT_EQ(tests::ReadFile(target), "new");
  EXPECT_FALSE(tests::Exists(source));
}

TEST_F(FileSystemTest, MissingThingsAreToldApart) {
  std::uint32_t a = 0;
  FileHandle f = platform::kNoFile;
  EXPECT_EQ(fs_.Open(dir_.Join("none.txt").c_str(), OpenMode::kReadShared, &f).code(), error::kFileNotFound);
  EXPECT_EQ(fs_.Open(dir_.Join("nodir\\none.txt").c_str(), OpenMode::kCreateNew, &f).code(), error::kPathNotFound);
  EXPECT_EQ(fs_.GetAttributes(dir_.Join("none").c_str(), &a).code(), error::kFileNotFound);
  EXPECT_EQ(fs_.MakeDirectory(dir_.Join("x\\y").c_str()).code(), error::kPathNotFound);
  EXPECT_EQ(fs_.Remove(dir_.Join("none.txt").c_str()).code(), error::kFileNotFound);
}

// What a listing says of each kind of entry, and of a folder that is not one.
TEST_F(FileSystemTest, ListingNamesEveryEntryWithItsKind) {
  using platform::EntryKind;
  tests::WriteFile(dir_.Join("file.txt"), "x");
  tests::MakeDirs(dir_.Join("sub"));
  std::map<std::string, std::pair<EntryKind, EntryKind>> want = {
      {"file.txt", {EntryKind::kFile, EntryKind::kFile}}, {"sub", {EntryKind::kDirectory, EntryKind::kDirectory}}};
#ifndef _WIN32
  std::string host = tests::NativePath(dir_.path());
  ASSERT_EQ(::symlink("file.txt", (host + "/to-file").c_str()), 0);
  ASSERT_EQ(::symlink("sub", (host + "/to-sub").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (host + "/dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo((host + "/fifo").c_str(), 0600), 0);
  want["to-file"] = {EntryKind::kLink, EntryKind::kFile};
  want["to-sub"] = {EntryKind::kLink, EntryKind::kDirectory};
  want["dangling"] = {EntryKind::kLink, EntryKind::kOther};
  want["fifo"] = {EntryKind::kOther, EntryKind::kOther};
#endif
  struct Collect final : platform::DirectoryVisitor {
    std::map<std::string, std::pair<EntryKind, EntryKind>> seen;
    void Visit(const platform::DirectoryEntry& e) override { seen[e.name] = {e.kind, e.target}; }
  } collect;
  ASSERT_TRUE(fs_.ListDirectory(dir_.path().c_str(), collect));
  EXPECT_EQ(collect.seen, want);

  EXPECT_EQ(fs_.ListDirectory(dir_.Join("none").c_str(), collect).code(), error::kPathNotFound);
  platform::Status onFile = fs_.ListDirectory(dir_.Join("file.txt").c_str(), collect);
  EXPECT_FALSE(onFile);
#ifndef _WIN32
  // Told apart from a missing folder, so that the message says what is wrong.
  EXPECT_EQ(onFile.code(), error::kDirectoryName);
#endif
}

TEST_F(FileSystemTest, DirectoriesAndTheCurrentDirectory) {
  std::string sub = dir_.Join("sub");
  ASSERT_TRUE(fs_.MakeDirectory(sub.c_str()));
  EXPECT_EQ(fs_.MakeDirectory(sub.c_str()).code(), error::kAlreadyExists);
  std::uint32_t a = 0;
  ASSERT_TRUE(fs_.GetAttributes(sub.c_str(), &a));
  EXPECT_TRUE(a & platform::attr::kDirectory);
  ASSERT_TRUE(fs_.SetCurrentDir(sub.c_str()));
  FileHandle f = platform::kNoFile;
  ASSERT_TRUE(fs_.Open("rel.txt", OpenMode::kCreateNew, &f));
  (void)fs_.Close(f);
  EXPECT_TRUE(tests::Exists(dir_.Join("sub\\rel.txt")));
  // Doubled separators and ".." are the system's own path forms.
  EXPECT_TRUE(fs_.GetAttributes((dir_.path() + "\\sub\\..\\sub\\\\rel.txt").c_str(), &a));
  ASSERT_TRUE(fs_.SetCurrentDir(dir_.path().c_str()));
  EXPECT_TRUE(fs_.Remove(dir_.Join("sub\\rel.txt").c_str()));
}

TEST_F(FileSystemTest, FullPathsReachTheirFolderWhicheverFolderIsCurrent) {
  for (const char* folder : {"sub", "sub2", "sub\\inner"}) {
    ASSERT_TRUE(fs_.MakeDirectory(dir_.Join(folder).c_str())) << folder;
  }
  auto create = [&](const std::string& path) {
    FileHandle f = platform::kNoFile;
    ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kCreateNew, &f)) << path;
    (void)fs_.Close(f);
  };
  ASSERT_TRUE(fs_.SetCurrentDir((dir_.Join("sub") + "\\").c_str()));
  create(dir_.Join("sub\\a.txt"));
  create(dir_.Join("sub2\\b.txt"));  // begins like the current folder's path
  create(dir_.Join("sub\\inner\\c.txt"));
  create(dir_.Join("sub") + "\\\\d.txt");
  // A folder made current by a relative path is below the one before.
  ASSERT_TRUE(fs_.SetCurrentDir("inner"));
  create(dir_.Join("sub\\e.txt"));
  create("f.txt");
  for (const char* file : {"sub\\a.txt", "sub2\\b.txt", "sub\\inner\\c.txt", "sub\\d.txt",
                           "sub\\e.txt", "sub\\inner\\f.txt"}) {
    EXPECT_TRUE(tests::Exists(dir_.Join(file))) << file;
  }
  EXPECT_FALSE(tests::Exists(dir_.Join("sub\\inner\\e.txt")));
  ASSERT_TRUE(fs_.SetCurrentDir(dir_.path().c_str()));
}

TEST_F(FileSystemTest, TimesSurviveARoundTrip) {
  std::string path = dir_.Join("times.txt");
  FileHandle f = platform::kNoFile;
  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kCreateNew, &f));
  // 2001-02-03 04:05:06.7 UTC and neighbours, in 100 ns ticks since 1601.
  platform::FileTimes t{126255579067000000ull, 126255579167000000ull, 126255579267000000ull};
  ASSERT_TRUE(fs_.SetTimes(f, t));
  ASSERT_TRUE(fs_.Close(f));
  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kReadExclusive, &f));
  platform::FileTimes back;
  ASSERT_TRUE(fs_.GetTimes(f, &back));
  (void)fs_.Close(f);
  EXPECT_EQ(back.lastWrite, t.lastWrite);
  EXPECT_EQ(back.lastAccess, t.lastAccess);
  // The creation time is kept only where the file system can hold one: not
  // on Linux, neither natively nor under Wine.
}

#ifdef _WIN32
TEST_F(FileSystemTest, ExclusiveOpensShareWithNobody) {
  std::string path = dir_.Join("busy.txt");
  tests::WriteFile(path, "x");
  FileHandle first = platform::kNoFile, second = platform::kNoFile;
  ASSERT_TRUE(fs_.Open(path.c_str(), OpenMode::kReadExclusive, &first));
  EXPECT_EQ(fs_.Open(path.c_str(), OpenMode::kReadShared, &second).code(), error::kSharingViolation);
  (void)fs_.Close(first);
}
#endif

}  // namespace
