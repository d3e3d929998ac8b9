// Drive A: through the file interface, as the copy engine uses it: open
// modes and sharing, reading back, replacing and removing, attributes,
// write protection.
#include <gtest/gtest.h>

#include "tests/unit/floppy/floppy_world.h"

namespace {

using platform::OpenMode;
using tests::FloppyWorld;
namespace code = platform::error;

std::uint32_t OpenCode(FloppyWorld& w, const char* path, OpenMode mode, platform::FileHandle* f) {
  return w.files.Open(path, mode, f).code();
}

TEST(FloppyFiles, OpenModesAndSharingAnswerAsWindowsDoes) {
  FloppyWorld w;
  ASSERT_TRUE(w.Put("here.txt", "old contents"));
  platform::FileHandle reader = platform::kNoFile, other = platform::kNoFile;
  ASSERT_EQ(OpenCode(w, "A:\\HERE.TXT", OpenMode::kReadShared, &reader), code::kNone);
  struct Case {
    const char* path;
    OpenMode mode;
    std::uint32_t code;
  } whileRead[] = {
      {"A:\\here.txt", OpenMode::kReadShared, code::kNone},
      {"A:\\here.txt", OpenMode::kReadExclusive, code::kSharingViolation},
      {"A:\\here.txt", OpenMode::kCreateAlways, code::kSharingViolation},
      {"A:\\here.txt", OpenMode::kCreateNew, code::kFileExists},
      {"A:\\gone.txt", OpenMode::kReadShared, code::kFileNotFound},
      {"A:\\", OpenMode::kReadShared, code::kAccessDenied},
      {"A:\\dir\\x.txt", OpenMode::kCreateNew, code::kPathNotFound},
  };
  for (const Case& c : whileRead) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(OpenCode(w, c.path, c.mode, &other), c.code);
    if (c.code == code::kNone) {
      EXPECT_TRUE(w.files.Close(other));
    }
  }
  EXPECT_EQ(w.files.Remove("A:\\here.txt").code(), code::kSharingViolation);
  std::uint32_t done = 0;
  EXPECT_EQ(w.files.Write(reader, "x", 1, &done).code(), code::kAccessDenied);
  EXPECT_TRUE(w.files.Close(reader));
  EXPECT_EQ(w.files.Close(reader).code(), code::kInvalidHandle);

  // Create-always truncates and keeps the name (and its short entry).
  platform::FileHandle writer = platform::kNoFile;
  ASSERT_EQ(OpenCode(w, "A:HERE.TXT", OpenMode::kCreateAlways, &writer), code::kNone);
  EXPECT_EQ(OpenCode(w, "A:\\here.txt", OpenMode::kReadShared, &other), code::kSharingViolation);
  char buffer[4];
  EXPECT_EQ(w.files.Read(writer, buffer, 4, &done).code(), code::kAccessDenied);
  ASSERT_TRUE(w.files.Write(writer, "new", 3, &done));
  ASSERT_TRUE(w.files.Close(writer));
  std::string back;
  ASSERT_TRUE(w.volume.ReadFile(w.Entry("here.txt"), &back));
  EXPECT_EQ(back, "new");
  EXPECT_EQ(w.volume.List().size(), 2u);
  EXPECT_EQ(w.files.OpenHandleCount(), 0u);
}

TEST(FloppyFiles, ReadSeekTellAndSizeReadBackWhatWasWritten) {
  FloppyWorld w;
  std::string data(5000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(w.Put("data.bin", data, floppy::FileTimeFromUnix(tests::kSomeTime)));
  platform::FileHandle f = platform::kNoFile;
  ASSERT_TRUE(w.files.Open("A:\\DATA.BIN", OpenMode::kReadExclusive, &f));
  std::uint64_t size = 0;
  ASSERT_TRUE(w.files.GetSize(f, &size));
  EXPECT_EQ(size, 5000u);
  struct Step {
    std::uint32_t seek, ask, got;
  } steps[] = {{0, 5000, 5000}, {511, 2, 2}, {4999, 10, 1}, {5000, 10, 0}, {9000, 10, 0}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.seek);
    ASSERT_TRUE(w.files.Seek(f, s.seek));
    std::string buffer(s.ask, '\0');
    std::uint32_t done = 0, at = 0;
    ASSERT_TRUE(w.files.Read(f, buffer.data(), s.ask, &done));
    EXPECT_EQ(done, s.got);
    EXPECT_EQ(buffer.substr(0, done), data.substr(std::min<std::size_t>(s.seek, data.size()), s.got));
    ASSERT_TRUE(w.files.Tell(f, &at));
    EXPECT_EQ(at, s.seek + s.got);
  }
  platform::FileTimes times;
  ASSERT_TRUE(w.files.GetTimes(f, &times));
  EXPECT_EQ(times.lastWrite, floppy::FileTimeFromUnix(tests::kSomeTime));
  EXPECT_EQ(w.files.SetTimes(f, times).code(), code::kAccessDenied);  // a read handle
  EXPECT_TRUE(w.files.Close(f));
}

TEST(FloppyFiles, ReplaceRemoveAttributesAndWriteProtection) {
  FloppyWorld w;
  ASSERT_TRUE(w.Put("target.dat", std::string(3000, 't')));
  ASSERT_TRUE(w.Put("source.tmp", "fresh", floppy::FileTimeFromUnix(tests::kSomeTime - 1000)));
  const std::uint32_t freeBefore = w.volume.FreeClusters();
  ASSERT_TRUE(w.files.Replace("A:\\source.tmp", "A:\\TARGET.DAT"));
  std::string back;
  ASSERT_TRUE(w.volume.ReadFile(w.Entry("target.dat"), &back));
  EXPECT_EQ(back, "fresh");
  EXPECT_EQ(w.volume.FreeClusters(), freeBefore + 6);  // the old data's clusters are free
  std::uint32_t a = 0;
  EXPECT_EQ(w.files.GetAttributes("A:\\source.tmp", &a).code(), code::kFileNotFound);
  EXPECT_TRUE(w.files.Replace("A:\\target.dat", "A:\\renamed.dat"));  // nothing there: a rename
  ASSERT_TRUE(w.volume.ReadFile(w.Entry("renamed.dat"), &back));
  EXPECT_EQ(back, "fresh");

  ASSERT_TRUE(w.files.GetAttributes("A:\\renamed.dat", &a));
  EXPECT_EQ(a, platform::attr::kArchive);
  ASSERT_TRUE(w.files.GetAttributes("A:\\", &a));
  EXPECT_EQ(a, platform::attr::kDirectory);
  ASSERT_TRUE(w.files.SetAttributes("A:\\renamed.dat", platform::attr::kReadOnly));
  EXPECT_EQ(w.files.Remove("A:\\renamed.dat").code(), code::kAccessDenied);
  EXPECT_EQ(w.Put("renamed.dat").code(), code::kFileExists);
  ASSERT_TRUE(w.files.SetAttributes("A:\\renamed.dat", platform::attr::kArchive));

  w.files.SetWriteProtected(true);
  EXPECT_EQ(w.Put("new.txt").code(), code::kWriteProtect);
  EXPECT_EQ(w.files.Remove("A:\\renamed.dat").code(), code::kWriteProtect);
  w.files.SetWriteProtected(false);
  EXPECT_TRUE(w.files.Remove("A:\\renamed.dat"));
  EXPECT_EQ(w.files.Remove("A:\\renamed.dat").code(), code::kFileNotFound);
  EXPECT_EQ(w.volume.FreeClusters(), 2847u);
  EXPECT_EQ(w.files.MakeDirectory("A:\\SUB").code(), code::kAccessDenied);
  EXPECT_TRUE(w.files.SetCurrentDir("A:\\"));
}

}  // namespace
