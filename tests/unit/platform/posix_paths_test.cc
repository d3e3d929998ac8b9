// How the POSIX layer speaks the system's own language: drive letters become
// the folders TANDREL_DRIVES maps them to, and every errno becomes the Win32
// code the logic classifies failures by. The codes are written out as
// numbers, as Windows documents them.
#include "platform/posix/paths.h"

#include "platform/posix/host_error.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::FileHandle;
using platform::OpenMode;
namespace posix = platform::posix;

class PosixPaths : public ::testing::Test {
 protected:
  void Map(const std::string& drives) { setenv("TANDREL_DRIVES", drives.c_str(), 1); }
  void TearDown() override { unsetenv("TANDREL_DRIVES"); }
  tests::TempDir dir_;
};

TEST_F(PosixPaths, DriveLettersBecomeTheFoldersTheyAreMappedTo) {
  Map("B=/media/b;a=/mnt/floppy;C=;junk;Q/x");
  struct Case {
    const char* path;
    const char* native;
  };
  const Case cases[] = {
      {"A:\\SETUP.EXE", "/mnt/floppy/SETUP.EXE"},
      {"a:\\dir\\sub\\f.txt", "/mnt/floppy/dir/sub/f.txt"},
      {"A:name", "/mnt/floppy/name"},  // drive-relative: at the mapped folder
      {"A:", "/mnt/floppy/"},
      {"B:/x\\y", "/media/b/x/y"},
      {"C:\\x", ""},  // mapped to nothing
      {"D:\\x", ""},  // not mapped
      {"Q:\\x", ""},
      {"dir\\file.txt", "dir/file.txt"},
      {"\\\\server\\share", "//server/share"},
      {"/already/native", "/already/native"},
      {"1:\\x", "1:/x"},
  };
  for (const Case& c : cases) EXPECT_EQ(posix::TranslatePath(c.path), c.native) << c.path;
  EXPECT_EQ(posix::DriveFolder('b'), "/media/b");
  EXPECT_EQ(posix::DriveFolder('A'), "/mnt/floppy");
  EXPECT_EQ(posix::DriveFolder('C'), "");
  EXPECT_EQ(posix::MappedDriveLetters(), "AB");
  EXPECT_TRUE(posix::IsOnMappedDrive("a:\\x"));
  EXPECT_FALSE(posix::IsOnMappedDrive("C:\\x"));
  EXPECT_FALSE(posix::IsOnMappedDrive("/mnt/floppy/x"));
  EXPECT_FALSE(posix::IsOnMappedDrive(nullptr));

  unsetenv("TANDREL_DRIVES");
  EXPECT_EQ(posix::TranslatePath("A:\\x"), "");
  EXPECT_EQ(posix::MappedDriveLetters(), "");
}

TEST_F(PosixPaths, ErrnoBecomesTheWin32Code) {
  Map("A=" + dir_.path());
  tests::WriteFile(dir_.Join("file.txt"), "x");
  const std::string missing = dir_.Join("missing.txt");
  const std::string missingFolder = dir_.Join("nofolder\\missing.txt");
  const std::string underAFile = dir_.Join("file.txt\\x");
  struct Case {
    int err;
    const char* path;
    unsigned code;
  };
  const Case cases[] = {
      {ENOENT, nullptr, 2},
      {ENOENT, missing.c_str(), 2},        // the folder is there: the file is not
      {ENOENT, missingFolder.c_str(), 3},  // a folder on the way is not
      {ENOENT, underAFile.c_str(), 3},     // a file stands where a folder should
      {ENOENT, "bare-name", 2},
      {ENOENT, "\\top-level", 2},
      {ENOTDIR, nullptr, 3},
      {EACCES, nullptr, 5},
      {EPERM, missing.c_str(), 5},
      {EROFS, "A:\\x", 19},  // a mapped drive is a floppy: its tab is closed
      {EROFS, missing.c_str(), 5},
      {EROFS, nullptr, 5},
      {ENOSPC, nullptr, 112},
      {EDQUOT, nullptr, 112},
      {EFBIG, nullptr, 112},
      {EEXIST, missing.c_str(), 80},
      {EBUSY, nullptr, 148},
      {ETXTBSY, nullptr, 32},
      {ENAMETOOLONG, nullptr, 206},
      {ENOMEM, nullptr, 8},
      {EBADF, nullptr, 6},
      {EINVAL, nullptr, 87},
      {ENOTEMPTY, nullptr, 145},
      {ENOMEDIUM, "A:\\x", 21},
      {EIO, nullptr, 31},
      {EXDEV, missing.c_str(), 31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(posix::MapErrno(c.err, c.path), c.code)
        << "errno " << c.err << " on " << (c.path ? c.path : "(no path)");
  }
}

// The Linux tools report a failure in the host's words: each code the layer
// gives comes back as the errno it was made from, and never as a bare number
// where the host has a text.
TEST_F(PosixPaths, EveryCodeTheLayerGivesIsToldInTheHostsWords) {
  const int errnos[] = {ENOENT, EACCES, EROFS, ENOSPC, EEXIST, EBUSY, ETXTBSY,
                        ENAMETOOLONG, ENOMEM, EBADF, EINVAL, ENOTEMPTY, ENOMEDIUM};
  Map("A=/mnt/floppy");  // EROFS on a floppy is its write protection
  for (int err : errnos) {
    std::uint32_t code = posix::MapErrno(err, "A:\\x");
    EXPECT_EQ(posix::ErrnoFor(code), err) << "errno " << err << " as code " << code;
  }
  EXPECT_EQ(posix::HostErrorText(112), "No space left on device");
  EXPECT_EQ(posix::HostErrorText(3), "No such file or directory");
  EXPECT_EQ(posix::HostErrorText(5), "Permission denied");
  EXPECT_EQ(posix::HostErrorText(206), "File name too long");
  EXPECT_EQ(posix::HostErrorText(1234), "error 1234");
}

TEST_F(PosixPaths, TheFileLayerAnswersWithTheCodesOfWhatItMet) {
  platform::FileSystem& fs = platform::DefaultFileSystem();
  tests::WriteFile(dir_.Join("file.txt"), "x");
  tests::MakeDirs(dir_.Join("folder"));
  FileHandle f = platform::kNoFile;
  std::uint32_t a = 0;
  auto open = [&](const std::string& path, OpenMode mode) { return fs.Open(path.c_str(), mode, &f); };
  struct Case {
    const char* what;
    std::function<platform::Status()> call;
    std::uint32_t code;
  };
  const Case cases[] = {
      {"a file as a folder", [&] { return open(dir_.Join("file.txt\\x"), OpenMode::kReadShared); }, 3},
      {"a name too long", [&] { return open(dir_.Join(std::string(300, 'n')), OpenMode::kCreateNew); }, 206},
      {"an unmapped drive", [&] { return open("Q:\\x.txt", OpenMode::kReadShared); }, 3},
      {"a folder opened", [&] { return open(dir_.Join("folder"), OpenMode::kReadShared); }, 5},
      {"a folder removed", [&] { return fs.Remove(dir_.Join("folder").c_str()); }, 5},
      {"a folder made twice", [&] { return fs.MakeDirectory(dir_.Join("folder").c_str()); }, 183},
      {"a folder under a file", [&] { return fs.MakeDirectory(dir_.Join("file.txt\\sub").c_str()); }, 3},
      {"a missing current folder", [&] { return fs.SetCurrentDir(dir_.Join("nowhere").c_str()); }, 3},
      {"a trailing separator", [&] { return fs.GetAttributes(dir_.Join("folder\\").c_str(), &a); }, 2},
      {"a missing file put in place",
       [&] { return fs.Replace(dir_.Join("none").c_str(), dir_.Join("file.txt").c_str()); }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call().code(), c.code);
  }
  EXPECT_EQ(tests::ReadFile(dir_.Join("file.txt")), "x");
}

}  // namespace
