// kivopack's output follows the byte layout exactly, and it refuses what the
// extractor could not extract.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"
#include "tools/kivopack/pack.h"

namespace {

platform::FileTimes TimesOf(const std::string& path) {
  platform::FileSystem& fs = platform::DefaultFileSystem();
  platform::FileTimes t;
  platform::FileHandle h = 0;
  EXPECT_TRUE(fs.Open(path.c_str(), platform::OpenMode::kReadShared, &h));
  fs.GetTimes(h, &t);
  fs.Close(h);
  return t;
}

class Packer : public ::testing::Test {
 protected:
  std::string Src(const std::string& rel) { return dir_.Join("src\\" + rel); }
  void Put(const std::string& rel, const std::string& data) {
    test::MakeDirs(std::filesystem::path(test::NativePath(Src(rel))).parent_path().string());
    test::WriteFile(Src(rel), data);
  }
  kivopack::PackRequest Request() {
    kivopack::PackRequest r;
    r.output = dir_.Join("out.exe");
    r.source = test::NativePath(dir_.Join("src"));
    return r;
  }
  test::TempDir dir_;
};

TEST_F(Packer, WritesSortedEntriesWithTheirTimesByteForByte) {
  Put("b.txt", "bee");
  Put("a\\z.bin", std::string(70000, '\xF0'));
  Put("a\\B.txt", "capital");
  Put("A.txt", "upper");
  test::WriteFile(dir_.Join("stub.exe"), std::string(4096, 'S'));
  kivopack::PackRequest r = Request();
  r.stub = dir_.Join("stub.exe");
  r.program = "a\\B.txt";
  // Byte-wise order: upper case before lower case, "a\B" before "a\z".
  // Times are taken before anything reads the files.
  const char* names[] = {"A.txt", "a\\B.txt", "a\\z.bin", "b.txt"};
  std::vector<platform::FileTimes> times;
  for (const char* name : names) times.push_back(TimesOf(Src(name)));
  std::string error;
  ASSERT_TRUE(kivopack::Pack(r, &error)) << error;
  std::vector<handbuilt::Entry> expected;
  for (std::size_t i = 0; i < 4; ++i) {
    expected.emplace_back(names[i], test::ReadFile(Src(names[i])), times[i], 0x20);
  }
  handbuilt::Options o(std::string(4096, 'S'), "a\\B.txt");
  std::string want = handbuilt::Build(expected, o);
  std::string got = test::ReadFile(r.output);
  ASSERT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want);

  kivopack::ArchiveListing listing;
  ASSERT_TRUE(kivopack::Verify(r.output, &listing, &error)) << error;
  EXPECT_EQ(listing.offset, 4096u);
  EXPECT_EQ(listing.program, "a\\B.txt");
  ASSERT_EQ(listing.entries.size(), 4u);
  EXPECT_EQ(listing.entries[2].name, "a\\z.bin");
  EXPECT_EQ(listing.entries[2].size, 70000u);
}

TEST_F(Packer, RefusesWhatTheExtractorCouldNotExtract) {
  std::string error;
  test::MakeDirs(dir_.Join("src"));
  EXPECT_FALSE(kivopack::Pack(Request(), &error));
  EXPECT_EQ(error.rfind("no files below", 0), 0u) << error;

  Put("ok.txt", "ok");
  kivopack::PackRequest r = Request();
  r.program = std::string(264, 'p');
  EXPECT_FALSE(kivopack::Pack(r, &error));
  EXPECT_EQ(error, "program name longer than 263 characters");
  r.program = std::string(263, 'p');
  EXPECT_TRUE(kivopack::Pack(r, &error)) << error;

#ifndef _WIN32  // Windows itself keeps no path that long
  std::string deep;
  while (deep.size() < 250) deep += std::string(40, 'd') + "\\";
  Put(deep + "f.txt", "deep");
  EXPECT_FALSE(kivopack::Pack(Request(), &error));
  EXPECT_EQ(error.rfind("name longer than 259 characters", 0), 0u) << error;
#endif
}

#ifndef _WIN32
TEST_F(Packer, RefusesNamesWindowsWouldReadDifferently) {
  std::string error;
  for (const char* bad : {"a:b.txt", "back\\slash.txt", "...", " "}) {
    SCOPED_TRACE(bad);
    test::TempDir d;
    test::MakeDirs(d.Join("src"));
    std::string native = test::NativePath(d.Join("src")) + "/" + bad;
    std::ofstream(native) << "x";
    kivopack::PackRequest r;
    r.output = d.Join("out");
    r.source = test::NativePath(d.Join("src"));
    EXPECT_FALSE(kivopack::Pack(r, &error));
    EXPECT_EQ(error.rfind("the extractor would refuse the name", 0), 0u) << error;
    // The temporary folder's clean-up reads a backslash as a separator.
    std::filesystem::remove(native);
  }
}
#endif

TEST_F(Packer, RefusesAStubThatHoldsTheSignature) {
  Put("ok.txt", "ok");
  test::WriteFile(dir_.Join("stub.exe"), "MZ" + handbuilt::kSignature);
  kivopack::PackRequest r = Request();
  r.stub = dir_.Join("stub.exe");
  std::string error;
  EXPECT_FALSE(kivopack::Pack(r, &error));
  EXPECT_EQ(error.rfind("the stub contains the archive signature", 0), 0u) << error;
}

TEST(FormatTime, GivesTheCalendarTimeInUtc) {
  EXPECT_EQ(kivopack::FormatTime(116444736000000000ull), "1970-01-01 00:00:00");
  EXPECT_EQ(kivopack::FormatTime(0), "1601-01-01 00:00:00");
  EXPECT_EQ(kivopack::FormatTime(132223104000000000ull + 36610000000ull), "2020-01-01 01:01:01");
}

}  // namespace
