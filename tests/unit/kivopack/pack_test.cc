// kivopack's output follows the byte layout exactly, and it refuses what the
// extractor could not extract.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/logging_file_system.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"
#include "kit/error_text.h"
#include "tools/kivopack/listing.h"
#include "tools/kivopack/pack.h"
#include "tools/kivopack/times.h"

namespace {

platform::FileTimes TimesOf(const std::string& path) {
  platform::FileSystem& fs = platform::DefaultFileSystem();
  platform::FileTimes t;
  platform::FileHandle h = 0;
  EXPECT_TRUE(fs.Open(path.c_str(), platform::OpenMode::kReadShared, &h));
  (void)fs.GetTimes(h, &t);
  (void)fs.Close(h);
  return t;
}

class Packer : public ::testing::Test {
 protected:
  std::string Src(const std::string& rel) { return dir_.Join("src\\" + rel); }
  void Put(const std::string& rel, const std::string& data) {
    tests::MakeDirs(std::filesystem::path(tests::NativePath(Src(rel))).parent_path().string());
    tests::WriteFile(Src(rel), data);
  }
  kivopack::PackRequest Request() {
    kivopack::PackRequest r;
    r.output = dir_.Join("out.exe");
    r.source = tests::NativePath(dir_.Join("src"));
    return r;
  }
  tests::TempDir dir_;
};

TEST_F(Packer, WritesSortedEntriesWithTheirTimesByteForByte) {
  Put("b.txt", "bee");
  Put("a\\z.bin", std::string(70000, '\xF0'));
  Put("a\\B.txt", "capital");
  Put("A.txt", "upper");
  tests::WriteFile(dir_.Join("stub.exe"), std::string(4096, 'S'));
  kivopack::PackRequest r = Request();
  r.stub = dir_.Join("stub.exe");
  r.program = "a\\B.txt";
  // Byte-wise order: upper case before lower case, "a\B" before "a\z".
  // Times are taken before anything reads the files.
  const char* names[] = {"A.txt", "a\\B.txt", "a\\z.bin", "b.txt"};
  std::vector<platform::FileTimes> times;
  for (const char* name : names) times.push_back(TimesOf(Src(name)));
  std::string error;
  ASSERT_TRUE(kivopack::Pack(platform::DefaultFileSystem(), r, &error)) << error;
  std::vector<tests::HandBuiltEntry> expected;
  for (std::size_t i = 0; i < 4; ++i) {
    expected.emplace_back(names[i], tests::ReadFile(Src(names[i])), times[i], 0x20);
  }
  tests::HandBuiltOptions o(std::string(4096, 'S'), "a\\B.txt");
  std::string want = tests::BuildArchive(expected, o);
  std::string got = tests::ReadFile(r.output);
  ASSERT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want);

  kivopack::ArchiveListing listing;
  ASSERT_TRUE(kivopack::Verify(platform::DefaultFileSystem(), r.output, &listing, &error)) << error;
  EXPECT_EQ(listing.offset, 4096u);
  EXPECT_EQ(listing.program, "a\\B.txt");
  ASSERT_EQ(listing.entries.size(), 4u);
  EXPECT_EQ(listing.entries[2].name, "a\\z.bin");
  EXPECT_EQ(listing.entries[2].size, 70000u);
}

TEST_F(Packer, RefusesWhatTheExtractorCouldNotExtract) {
  std::string error;
  tests::MakeDirs(dir_.Join("src"));
  EXPECT_FALSE(kivopack::Pack(platform::DefaultFileSystem(), Request(), &error));
  EXPECT_EQ(error.rfind("no files below", 0), 0u) << error;

  Put("ok.txt", "ok");
  kivopack::PackRequest r = Request();
  r.program = std::string(264, 'p');
  EXPECT_FALSE(kivopack::Pack(platform::DefaultFileSystem(), r, &error));
  EXPECT_EQ(error, "program name longer than 263 characters");
  r.program = "ok.txt";
  EXPECT_TRUE(kivopack::Pack(platform::DefaultFileSystem(), r, &error)) << error;

#ifndef _WIN32  // Windows itself keeps no path that long
  std::string deep;
  while (deep.size() < 250) deep += std::string(40, 'd') + "\\";
  Put(deep + "f.txt", "deep");
  EXPECT_FALSE(kivopack::Pack(platform::DefaultFileSystem(), Request(), &error));
  EXPECT_EQ(error.rfind("name longer than 259 characters", 0), 0u) << error;
#endif
}

#ifndef _WIN32
TEST_F(Packer, RefusesNamesWindowsWouldReadDifferently) {
  std::string error;
  for (const char* bad : {"a:b.txt", "back\\slash.txt", "...", " "}) {
    SCOPED_TRACE(bad);
    tests::TempDir d;
    tests::MakeDirs(d.Join("src"));
    std::string native = tests::NativePath(d.Join("src")) + "/" + bad;
    std::ofstream(native) << "x";
    kivopack::PackRequest r;
    r.output = d.Join("out");
    r.source = tests::NativePath(d.Join("src"));
    EXPECT_FALSE(kivopack::Pack(platform::DefaultFileSystem(), r, &error));
    EXPECT_EQ(error.rfind("the extractor would refuse the name", 0), 0u) << error;
    // The temporary folder's clean-up reads a backslash as a separator.
    std::filesystem::remove(native);
  }
}
#endif

TEST_F(Packer, RefusesAStubThatHoldsTheSignature) {
  Put("ok.txt", "ok");
  tests::WriteFile(dir_.Join("stub.exe"), "MZ" + tests::kArchiveSignature);
  kivopack::PackRequest r = Request();
  r.stub = dir_.Join("stub.exe");
  std::string error;
  EXPECT_FALSE(kivopack::Pack(platform::DefaultFileSystem(), r, &error));
  EXPECT_EQ(error.rfind("the stub contains the archive signature", 0), 0u) << error;
}

// The kinds of call in a log of the file layer ("ListDirectory", "Write"),
// of every call or only of those that failed.
std::set<std::string> CallKinds(const std::vector<std::string>& log, bool failedOnly) {
  std::set<std::string> kinds;
  for (const std::string& line : log) {
    if (!failedOnly || line.find(" -> error ") != std::string::npos) kinds.insert(line.substr(0, line.find(' ')));
  }
  return kinds;
}

// A pack that fails anywhere (a folder's listing, a read, a write, the
// close that loses the last data, the rename) leaves the earlier kit byte
// for byte, no OUT.partial beside it and no file open, and says why in the
// host's words; a fault that does not stop the pack leaves the new kit
// whole. Every operation of the real file layer fails in turn, once, for
// good and short, until every kind of call packing makes has failed.
TEST_F(Packer, AFailedPackLeavesTheEarlierKitAndNoPartialFile) {
  Put("setup.exe", std::string(3000, 'S'));
  Put("data\\big.bin", std::string(3 << 20, 'b'));  // more than one buffer
  Put("data\\empty.dat", "");
  Put("data\\deeper\\notes.txt", "two folders down");
  tests::MakeDirs(tests::NativePath(Src("blank")));  // an empty folder: a warning only
#ifndef _WIN32
  std::filesystem::create_symlink("../setup.exe", tests::NativePath(Src("data\\setup-link.exe")));
#endif
  tests::WriteFile(dir_.Join("stub.exe"), std::string(4096, 'M'));
  kivopack::PackRequest r = Request();
  r.stub = dir_.Join("stub.exe");
  r.program = "setup.exe";
  r.latestTime = 116444736000000000ull;  // 1970: reading the files changes no stored time
  std::string error;
  tests::LoggingFileSystem reference(platform::DefaultFileSystem());
  ASSERT_TRUE(kivopack::Pack(reference, r, &error)) << error;
  const std::set<std::string> used = CallKinds(reference.Log(), false);
  ASSERT_TRUE(used.count("ListDirectory")) << "the folders are listed through the file layer";
  const std::string whole = tests::ReadFile(r.output);
  const std::string earlier = "the kit packed last week";

  int failed = 0;
  std::set<std::string> struck;
  for (const tests::FaultMode& mode : tests::kFaultModes) {
    for (std::uint64_t k = 1;; ++k) {
      SCOPED_TRACE(std::string(mode.name) + " fault at operation " + std::to_string(k));
      tests::WriteFile(r.output, earlier);
      tests::FaultyFileSystem faults(platform::DefaultFileSystem());
      tests::LoggingFileSystem log(faults);
      faults.SetFault(mode.At(k, platform::error::kDiskFull));
      const bool ok = kivopack::Pack(log, r, &error);
      EXPECT_EQ(faults.OpenHandleCount(), 0);
      EXPECT_FALSE(tests::Exists(r.output + ".partial"));
      if (!faults.FaultHit()) {
        EXPECT_TRUE(ok) << error;
        break;
      }
      if (ok) {
        EXPECT_TRUE(tests::ReadFile(r.output) == whole) << "a kit written despite a fault is whole";
        continue;
      }
      ++failed;
      for (const std::string& kind : CallKinds(log.Log(), true)) struck.insert(kind);
      EXPECT_EQ(tests::ReadFile(r.output), earlier);
      EXPECT_EQ(error.find('\n'), std::string::npos) << error;
      // The system's own words for a full disk ("No space left on device" on
      // Linux), never a bare number.
      EXPECT_NE(error.find(": " + kivopack::ErrorText(platform::error::kDiskFull)), std::string::npos) << error;
    }
  }
  EXPECT_GT(failed, 20);
  EXPECT_EQ(struck, used) << "every kind of call packing makes was made to fail";
}

// SOURCE_DATE_EPOCH as reproducible-build tools read it: digits only.
TEST(SourceDateEpoch, TakesPlainDecimalSecondsAndRefusesTheRest) {
  struct Good {
    const char* text;
    const char* utc;
  };
  for (const Good& g : {Good{"0", "1970-01-01 00:00:00"}, Good{"1577836800", "2020-01-01 00:00:00"},
                        Good{"0001577836801", "2020-01-01 00:00:01"},
                        Good{"253402300799", "9999-12-31 23:59:59"}}) {
    SCOPED_TRACE(g.text);
    platform::FileTime t = 0;
    std::string error;
    ASSERT_TRUE(kivopack::ParseSourceDateEpoch(g.text, &t, &error)) << error;
    EXPECT_EQ(kivopack::FormatTime(t), g.utc);
    EXPECT_EQ(t % 10000000u, 0u) << "a whole second";
  }
  for (const char* bad : {"", "-1", "+5", " 5", "5 ", "5\n", "1e9", "0x10", "1.5", "12abc", "٣",
                          "253402300800", "18446744073709551616", "99999999999999999999999999"}) {
    SCOPED_TRACE(bad);
    platform::FileTime t = 42;
    std::string error;
    EXPECT_FALSE(kivopack::ParseSourceDateEpoch(bad, &t, &error));
    EXPECT_EQ(t, 42u) << "left alone";
    EXPECT_EQ(error.find("SOURCE_DATE_EPOCH"), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
  }
}

class PackerLimit : public Packer {
 protected:
  static platform::FileTime At(const char* epoch) {
    platform::FileTime t = 0;
    std::string error;
    EXPECT_TRUE(kivopack::ParseSourceDateEpoch(epoch, &t, &error)) << error;
    return t;
  }
  // Writes a file and gives it times; creation is set where the system can.
  static void PutTimed(const std::string& path, const std::string& data, platform::FileTimes times) {
    platform::FileSystem& fs = platform::DefaultFileSystem();
    platform::FileHandle h = 0;
    ASSERT_TRUE(fs.Open(path.c_str(), platform::OpenMode::kCreateAlways, &h));
    std::uint32_t done = 0;
    ASSERT_TRUE(fs.Write(h, data.data(), static_cast<std::uint32_t>(data.size()), &done));
    ASSERT_TRUE(fs.SetTimes(h, times));
    ASSERT_TRUE(fs.Close(h));
  }
  void MakeTree(const std::string& root, platform::FileTime accessed) {
    tests::MakeDirs(tests::NativePath(root + "\\docs"));
    const platform::FileTime written = At("1420070400");  // 2015-01-01
    PutTimed(root + "\\setup.exe", "MZ setup", {written, accessed, written});
    PutTimed(root + "\\docs\\readme.txt", std::string(5000, 'r'), {written, accessed, written});
  }
  std::string PackTree(const std::string& root, const std::string& output, std::optional<platform::FileTime> latest) {
    kivopack::PackRequest r;
    r.output = output;
    r.source = tests::NativePath(root);
    r.latestTime = latest;
    std::string error;
    EXPECT_TRUE(kivopack::Pack(platform::DefaultFileSystem(), r, &error)) << error;
    return tests::ReadFile(output);
  }
};

TEST_F(PackerLimit, StoresNoTimeAfterTheLimitAndEarlierTimesAsTheyAre) {
  const platform::FileTime limit = At("1577836800");  // 2020-01-01
  const platform::FileTimes before{At("1262304000"), At("1293840000"), At("1325376000")};  // 2010, 2011, 2012
  const platform::FileTimes after{At("1893456000"), At("1924992000"), At("1956528000")};   // 2030, 2031, 2032
  Put("old.txt", "old");
  Put("new.txt", "new");
  PutTimed(Src("old.txt"), "old", before);
  PutTimed(Src("new.txt"), "new", after);
  // The system may keep its own creation time (the moment of writing).
  const platform::FileTime oldCreation = std::min(TimesOf(Src("old.txt")).creation, limit);

  kivopack::PackRequest r = Request();
  r.latestTime = limit;
  std::string error;
  ASSERT_TRUE(kivopack::Pack(platform::DefaultFileSystem(), r, &error)) << error;
  kivopack::ArchiveListing listing;
  ASSERT_TRUE(kivopack::ReadListing(platform::DefaultFileSystem(), r.output, &listing, &error)) << error;
  ASSERT_EQ(listing.entries.size(), 2u);
  const kivopack::ListedEntry& newer = listing.entries[0];
  const kivopack::ListedEntry& older = listing.entries[1];
  ASSERT_EQ(newer.name, "new.txt");
  EXPECT_EQ(newer.times.creation, limit);
  EXPECT_EQ(newer.times.lastAccess, limit);
  EXPECT_EQ(newer.times.lastWrite, limit);
  EXPECT_EQ(older.times.creation, oldCreation);
  EXPECT_EQ(older.times.lastAccess, before.lastAccess);
  EXPECT_EQ(older.times.lastWrite, before.lastWrite);
  // The limit changes what is stored, never the files themselves.
  EXPECT_EQ(TimesOf(Src("new.txt")).lastWrite, after.lastWrite);
}

// The same files copied at another moment and read since (their creation
// and access times moved on) pack to the same bytes under one limit.
TEST_F(PackerLimit, SameFilesCopiedAndReadAtOtherMomentsPackTheSame) {
  const platform::FileTime limit = At("1577836800");
  MakeTree(dir_.Join("first"), At("1700000000"));
  MakeTree(dir_.Join("second"), At("1750000000"));
  std::string one = PackTree(dir_.Join("first"), dir_.Join("one.arc"), limit);
  std::string two = PackTree(dir_.Join("second"), dir_.Join("two.arc"), limit);
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(one == two) << "the packed times still follow the copies";
  // Packing the first tree again, after packing read its files.
  EXPECT_TRUE(PackTree(dir_.Join("first"), dir_.Join("again.arc"), limit) == one);
  // Without the limit the copies' own times show: the check above is not idle.
  EXPECT_FALSE(PackTree(dir_.Join("first"), dir_.Join("own1.arc"), std::nullopt) ==
               PackTree(dir_.Join("second"), dir_.Join("own2.arc"), std::nullopt));
}

TEST(FormatTime, GivesTheCalendarTimeInUtc) {
  EXPECT_EQ(kivopack::FormatTime(116444736000000000ull), "1970-01-01 00:00:00");
  EXPECT_EQ(kivopack::FormatTime(0), "1601-01-01 00:00:00");
  EXPECT_EQ(kivopack::FormatTime(132223104000000000ull + 36610000000ull), "2020-01-01 01:01:01");
}

}  // namespace
