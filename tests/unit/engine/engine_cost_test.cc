// What an extraction asks of the file layer: the archive is read a buffer
// at a time rather than once per record and once per file, and a folder
// that many files share is made (or looked at) once. None of it may cost a
// file its bytes or a folder its check.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/unit/archive/hand_built.h"
#include "tests/unit/engine/engine_world.h"

namespace {

using Entry = tests::HandBuiltEntry;
using tests::MemoryEngineWorld;
using tests::OnlyMessage;
using tests::Session;
using tests::Bytes;


int Count(const std::vector<std::string>& log, const char* operation) {
  int n = 0;
  for (const std::string& line : log) n += line.rfind(operation, 0) == 0;
  return n;
}

TEST(EngineCost, ManySmallFilesCostAFewReadsAndOneCreatePerFolder) {
  std::vector<Entry> entries;
  for (int folder = 0; folder < 3; ++folder) {
    for (int i = 0; i < 100; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "f%d\\n%03d.txt", folder, i);
      entries.emplace_back(name, Bytes(1000, static_cast<unsigned>(folder * 100 + i)));
    }
  }
  MemoryEngineWorld w;
  w.Put(w.ArchivePath(), tests::BuildArchive(entries, {std::string(5000, 'M'), ""}));
  Session run(w);
  ASSERT_TRUE(run.Extract());
  for (const Entry& e : entries) EXPECT_EQ(w.Get(w.Target() + "\\" + e.name), e.data) << e.name;
  // About 400 KB: read once for the checksum and once for the files, in
  // 32 KiB blocks; a read per record and per file would be 600 more.
  EXPECT_LT(Count(run.log.Log(), "Read "), 40);
  EXPECT_EQ(Count(run.log.Log(), "MakeDirectory "), 3);
  EXPECT_EQ(Count(run.log.Log(), "GetAttributes "), 0) << "a folder just made needs no look";
}

TEST(EngineCost, AFolderThatIsThereIsJudgedByWhatIsThereWhateverTheCreateSaid) {
  struct Case {
    const char* what;
    std::uint32_t createError;
    bool readOnly;
    std::string message;  // "" when the extraction goes on
  };
  MemoryEngineWorld probe;
  const Case cases[] = {
      {"writable, create denied", platform::error::kAccessDenied, false, ""},
      {"writable, create says busy", platform::error::kPathBusy, false, ""},
      {"read-only, create write-protected", platform::error::kWriteProtect, true,
       "Unable to create the directory: " + probe.Target() +
           "\\here, the directory already exsits and is read only. "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEngineWorld w;
    w.MakeDir(w.Target() + "\\here");
    if (c.readOnly) w.MakeReadOnly(w.Target() + "\\here");
    w.Put(w.ArchivePath(), tests::BuildArchive({{"here\\a.txt", "a"}, {"here\\b.txt", "b"}}));
    Session run(w);
    run.faults.SetFault({.at = 1, .code = c.createError,
                         .kinds = static_cast<std::uint32_t>(tests::Op::kMakeDirectory)});
    bool ok = run.Extract();
    if (c.message.empty()) {
      EXPECT_TRUE(ok);
      EXPECT_TRUE(run.boxes.shown.empty());
      EXPECT_EQ(w.Get(w.Target() + "\\here\\b.txt"), "b");
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(OnlyMessage(run), c.message);
      EXPECT_FALSE(w.Get(w.Target() + "\\here\\a.txt"));
    }
  }
}

class EngineShortcuts : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { world_ = tests::MakeWorld(GetParam()); }
  tests::EngineWorld& w() { return *world_; }
  std::string T(const std::string& rel) { return w().Target() + "\\" + rel; }
  std::unique_ptr<tests::EngineWorld> world_;
};

TEST_P(EngineShortcuts, FoldersThatShareOnlyPartOfANameAreStillMade) {
  // Each name starts like the one before it, but not always up to a separator.
  const std::vector<Entry> entries{
      {"dir\\a.txt", "a"},          {"dir2\\b.txt", "b"},        {"di\\c.txt", "c"},
      {"dir\\sub\\d.txt", "d"},     {"dir\\sub2\\e.txt", "e"},   {"dir\\sub2x\\f.txt", "f"},
      {"dir\\f.txt", "ff"},         {"x\\dir\\g.txt", "g"},      {"top.txt", "t"},
      {"dir\\sub\\deeper\\h.txt", "h"}, {"dir\\sub\\i.txt", "i"}};
  w().Put(w().ArchivePath(), tests::BuildArchive(entries));
  Session run(w());
  ASSERT_TRUE(run.Extract());
  EXPECT_TRUE(run.boxes.shown.empty());
  for (const Entry& e : entries) EXPECT_EQ(w().Get(T(e.name)), e.data) << e.name;
}

TEST_P(EngineShortcuts, NoPassesOverALargeFileAndTheFilesAfterItGetTheirOwnBytes) {
  w().Put(T("big.bin"), "kept");
  const std::vector<Entry> entries{{"small.txt", "small"},
                                   {"big.bin", Bytes(100000, 1)},
                                   {"after.txt", "after"},
                                   {"sub\\later.bin", Bytes(40000, 2)}};
  w().Put(w().ArchivePath(), tests::BuildArchive(entries));
  Session run(w());
  run.prompt.answers = {kivo::kAnswerNo};
  ASSERT_TRUE(run.Extract());
  EXPECT_EQ(w().Get(T("big.bin")), "kept");
  EXPECT_EQ(w().Get(T("small.txt")), "small");
  EXPECT_EQ(w().Get(T("after.txt")), "after");
  EXPECT_EQ(w().Get(T("sub\\later.bin")), Bytes(40000, 2));
}

INSTANTIATE_TEST_SUITE_P(Worlds, EngineShortcuts, ::testing::Values("Fake", "Real"),
                         [](const auto& info) { return info.param; });

}  // namespace
