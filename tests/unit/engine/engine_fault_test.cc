// Failures of the file layer: every failure point of a reference extraction,
// on the in-memory file system and on the platform's real one, and the cases
// that need a fault injected.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/unit/archive/hand_built.h"
#include "tests/unit/engine/engine_world.h"

namespace {

using tests::EngineWorld;
using tests::MemoryEngineWorld;
using tests::OnlyMessage;
using tests::kCorrupt;
using tests::kExtractionDiskFull;
using tests::Session;
using tests::Bytes;
using tests::HandBuiltEntry;



// Ten files in three folders, one of them over 96 KiB, one already there.
struct Reference {
  Reference() {
    const char* names[] = {"alpha\\1.txt", "alpha\\2.txt", "alpha\\3.txt", "beta\\4.bin",
                           "beta\\5.txt",  "beta\\6.txt",  "gamma\\7.txt", "gamma\\8.txt",
                           "gamma\\9.txt", "gamma\\10.txt"};
    for (unsigned i = 0; i < 10; ++i) {
      entries.emplace_back(names[i], Bytes(i == 3 ? 100000 : 1000 + 300 * i, i));
    }
    archive = tests::BuildArchive(entries, {std::string(2000, 'M'), ""});
  }
  void Prepare(EngineWorld& w) const {
    w.Put(w.ArchivePath(), archive);
    w.Put(w.Target() + "\\" + kExisting, kOld);
  }
  std::vector<HandBuiltEntry> entries;
  std::string archive;
  static constexpr const char* kExisting = "beta\\5.txt";
  static constexpr const char* kOld = "the old contents of five";
};

// Messages a failing operation may lead to, by where it strikes.
std::set<std::string> AllowedMessages(const std::string& target) {
  std::set<std::string> allowed{
      "Unable to open the file from which to extract files.  File extraction aborted.",
      "Unable to find any files in the specified extraction file.  File extraction aborted.",
      kCorrupt,
      "There are no files to be extracted.  File extraction aborted.",
      "Unable to access file (001F).  File extraction aborted.",
      kExtractionDiskFull,
      "The path specified, " + target + ", cannot be found or used at this time.",
  };
  for (const char* d : {"alpha", "beta", "gamma"}) {
    allowed.insert("Unable to create the directory: " + target + "\\" + d + ".");
  }
  return allowed;
}

// The same sweep on the in-memory file system and on the real file layer in
// a temporary folder: the invariants must hold on the files a user gets.
class EngineFaults : public ::testing::TestWithParam<std::string> {};

TEST_P(EngineFaults, EveryFailurePointOfTheReferenceExtractionKeepsTheInvariants) {
  Reference ref;
  int covered = 0;
  for (const tests::FaultMode& mode : tests::kFaultModes) {
    for (std::uint64_t k = 1;; ++k) {
      SCOPED_TRACE(std::string(mode.name) + " fault at operation " + std::to_string(k));
      std::unique_ptr<EngineWorld> world = tests::MakeWorld(GetParam());
      EngineWorld& w = *world;
      ref.Prepare(w);
      Session run(w);
      run.faults.SetFault(mode.At(k, platform::error::kGeneric));
      run.prompt.fallback = kivo::kAnswerYes;
      bool ok = run.Extract();
      if (!run.faults.FaultHit()) {
        EXPECT_TRUE(ok);
        break;
      }
      ++covered;
      EXPECT_EQ(run.faults.OpenHandleCount(), 0);
      for (const HandBuiltEntry& e : ref.entries) {
        std::optional<std::string> got = w.Get(w.Target() + "\\" + e.name);
        if (e.name == Reference::kExisting) {
          ASSERT_TRUE(got);
          EXPECT_TRUE(*got == e.data || *got == Reference::kOld) << "replaced file damaged";
        } else if (got) {
          EXPECT_TRUE(*got == e.data) << e.name << " truncated: " << got->size() << " bytes";
        }
        if (ok) {
          EXPECT_TRUE(got && *got == e.data) << e.name;
        }
      }
      for (const std::string& f : w.Files()) {
        EXPECT_EQ(f.find("~kv"), std::string::npos) << "temporary file left: " << f;
      }
      EXPECT_EQ(w.Get(w.ArchivePath()), ref.archive) << "the archive is only read";
      if (ok) {
        EXPECT_TRUE(run.boxes.shown.empty());
      } else {
        ASSERT_EQ(run.boxes.shown.size(), 1u);
        EXPECT_EQ(run.boxes.shown[0].caption, "Tandrel");
        EXPECT_EQ(run.boxes.shown[0].style, 0x30u);
        EXPECT_TRUE(AllowedMessages(w.Target()).count(run.boxes.shown[0].text)) << run.boxes.shown[0].text;
        if (mode.shortWrite) {
          EXPECT_EQ(run.boxes.shown[0].text, kExtractionDiskFull);
        }
      }
    }
  }
  std::cout << "failure points covered: " << covered << std::endl;
  RecordProperty("failure_points", covered);
  EXPECT_GT(covered, 100);
}

INSTANTIATE_TEST_SUITE_P(Worlds, EngineFaults, ::testing::Values("Fake", "Real"),
                         [](const auto& info) { return info.param; });

class EngineOnFake : public ::testing::Test {
 protected:
  std::string T(const std::string& rel) { return w_.Target() + "\\" + rel; }
  void Archive(const std::vector<HandBuiltEntry>& entries) {
    w_.Put(w_.ArchivePath(), tests::BuildArchive(entries));
  }
  MemoryEngineWorld w_;
};

TEST_F(EngineOnFake, FileErrorsAreShownByTheirCode) {
  struct Case {
    std::uint32_t code;
    std::string message;
  };
  std::vector<Case> cases{
      {32, "Unable to access file (0020).  File extraction aborted."},
      {0x12345, "Unable to access file (12345).  File extraction aborted."},
      {5, "Unable to write to a file.  Either the file already exists and is in use by another "
          "program, or the file exists and is read only,  or the destination directory is read "
          "only.  Try running this program in a different directory."},
      {39, kExtractionDiskFull},
      {112, kExtractionDiskFull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    MemoryEngineWorld w;
    w.Put(w.ArchivePath(), tests::BuildArchive({{"d\\a.txt", "aaaa"}}));
    Session run(w);
    run.faults.SetFault({1, c.code, false, static_cast<std::uint32_t>(tests::Op::kWrite), false});
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), c.message);
    EXPECT_FALSE(w.Get(w.Target() + "\\d\\a.txt")) << "a failed new file is removed";
  }
}

TEST_F(EngineOnFake, AFullDiskStopsWithStringEightAndNoTruncatedFile) {
  w_.fake.SetCapacity('C', 200000 + 1000);
  Archive({{"small.txt", "small"}, {"big.bin", Bytes(300000, 1)}});
  w_.fake.SetCapacity('C', w_.fake.Contents(w_.ArchivePath())->size() + 100000);
  Session run(w_);
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), kExtractionDiskFull);
  EXPECT_EQ(w_.Get(T("small.txt")), "small");
  EXPECT_FALSE(w_.Get(T("big.bin")));
}

TEST_F(EngineOnFake, AFailedReplacementLeavesTheOldFileWhateverWriteFails) {
  std::string data = Bytes(3 * 32768 + 5, 2);
  for (std::uint64_t k = 1; k <= 4; ++k) {
    for (bool shortWrite : {false, true}) {
      SCOPED_TRACE("write " + std::to_string(k) + (shortWrite ? " short" : " failing"));
      MemoryEngineWorld w;
      w.Put(w.ArchivePath(), tests::BuildArchive({{"f.txt", data}}));
      w.Put(w.Target() + "\\f.txt", "precious");
      Session run(w);
      run.faults.SetFault({k, 112, false, static_cast<std::uint32_t>(tests::Op::kWrite), shortWrite});
      run.prompt.answers = {kivo::kAnswerYes};
      EXPECT_FALSE(run.Extract());
      EXPECT_EQ(OnlyMessage(run), kExtractionDiskFull);
      EXPECT_EQ(w.Get(w.Target() + "\\f.txt"), "precious");
      EXPECT_EQ(w.Files(), (std::vector<std::string>{"setup.exe", "target\\f.txt"}));
    }
  }
}

// The temporary's close can lose its last data, and the put in place can
// fail: either way the old file stays and the temporary goes.
TEST_F(EngineOnFake, AFailedCloseOrPutInPlaceLeavesTheOldFile) {
  for (tests::Op op : {tests::Op::kClose, tests::Op::kReplace}) {
    SCOPED_TRACE(static_cast<std::uint32_t>(op));
    MemoryEngineWorld w;
    w.Put(w.ArchivePath(), tests::BuildArchive({{"f.txt", "new"}}));
    w.Put(w.Target() + "\\f.txt", "precious");
    Session run(w);
    run.faults.SetFault({1, 32, false, static_cast<std::uint32_t>(op), false});
    run.prompt.answers = {kivo::kAnswerYesToAll};
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), "Unable to access file (0020).  File extraction aborted.");
    EXPECT_EQ(w.Get(w.Target() + "\\f.txt"), "precious");
    EXPECT_EQ(w.Files(), (std::vector<std::string>{"setup.exe", "target\\f.txt"}));
  }
}

TEST_F(EngineOnFake, ATopLevelEntryMakesNoFolderAndDeeperOnesOneLevelEach) {
  Session run(w_);
  kivo::Extractor extractor({w_.fake, run.memory, run.messages, run.prompt, run.launcher});
  platform::PathBuffer path(w_.Target().c_str());
  std::vector<std::string> before = w_.fake.Directories();
  EXPECT_TRUE(extractor.CreateEntryDirectories("top.txt", &path));
  EXPECT_EQ(path.c_str(), w_.Target());
  EXPECT_EQ(w_.fake.Directories(), before);
  EXPECT_TRUE(extractor.CreateEntryDirectories("a\\b\\c.txt", &path));
  EXPECT_EQ(path.c_str(), T("a\\b"));
  EXPECT_TRUE(w_.fake.IsDirectory(T("a\\b")));
  EXPECT_TRUE(run.boxes.shown.empty());
}

TEST_F(EngineOnFake, BlocksAreFullAndARemainderIsReadOnlyWhenThereIsOne) {
  for (std::uint32_t size : {32768u, 32769u}) {
    SCOPED_TRACE(size);
    MemoryEngineWorld w;
    w.Put(w.ArchivePath(), tests::BuildArchive({{"x.bin", Bytes(size, 5)}}));
    Session run(w);
    ASSERT_TRUE(run.Extract());
    std::vector<std::string> writes;
    for (const std::string& line : run.log.Log()) {
      if (line.rfind("Write ", 0) == 0) writes.push_back(line);
    }
    std::vector<std::string> expected{"Write 32768 -> ok"};
    if (size == 32769) expected.push_back("Write 1 -> ok");
    EXPECT_EQ(writes, expected);
  }
}

TEST_F(EngineOnFake, ShortReadsAreContinued) {
  std::string data = Bytes(100000, 3);
  Archive({{"a\\x.bin", data}, {"y.txt", "why"}});
  Session run(w_);
  run.faults.SetReadLimit(777);
  EXPECT_TRUE(run.Extract());
  EXPECT_EQ(w_.Get(T("a\\x.bin")), data);
  EXPECT_EQ(w_.Get(T("y.txt")), "why");
}

TEST_F(EngineOnFake, AnArchiveThatEndsInsideAnEntryIsCorruptAndTheFileIsGone) {
  Archive({{"first.txt", "first"}, {"x.bin", Bytes(70000, 4)}});
  // Count the reads of a clean run to end the stream in the middle of x.bin.
  std::uint64_t reads = 0;
  {
    MemoryEngineWorld clean;
    clean.Put(clean.ArchivePath(), *w_.Get(w_.ArchivePath()));
    Session run(clean);
    ASSERT_TRUE(run.Extract());
    reads = run.faults.OperationCount(tests::Op::kRead);
  }
  Session run(w_);
  // The second of the three data reads of x.bin finds the end of the file.
  run.faults.SetFault({.at = reads - 1, .kinds = std::uint32_t(tests::Op::kRead), .emptyRead = true});
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), kCorrupt);
  EXPECT_EQ(w_.Get(T("first.txt")), "first");
  EXPECT_FALSE(w_.Get(T("x.bin")));
}

TEST_F(EngineOnFake, NoCopyBufferMeansStringSix) {
  Archive({{"a.txt", "a"}});
  Session run(w_);
  run.memory.failSize = 32768;
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run),
            "Unabel to allocate memory for extraction process.  File extraction aborted.");
}

TEST_F(EngineOnFake, AFileOfFourGibibytesIsNoArchive) {
  Archive({{"a.txt", "a"}});
  Session run(w_);
  run.faults.SetSizeSurplus(0x100000000ull);
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "There are no files to be extracted.  File extraction aborted.");
  EXPECT_EQ(w_.Files(), std::vector<std::string>{"setup.exe"});
}

TEST_F(EngineOnFake, FolderFailuresAreShownByTheirCode) {
  struct Case {
    std::uint32_t code;
    std::string message;
  };
  std::string path = T("one");
  std::vector<Case> cases{
      {3, "The path specified, " + path + ", cannot be found or used at this time."},
      {148, "The path specified, " + path + ", cannot be found or used at this time."},
      {112, "Unable to continue creation of directories due to destination directory being out "
            "of disk space.  Please free some disk space and run this program again."},
      {39, "Unable to continue creation of directories due to destination directory being out "
           "of disk space.  Please free some disk space and run this program again."},
      {5, "Unable to create the directory: " + path + "."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    MemoryEngineWorld w;
    w.Put(w.ArchivePath(), tests::BuildArchive({{"top.txt", "t"}, {"one\\two\\a.txt", "a"}}));
    Session run(w);
    run.faults.SetFault({1, c.code, false, static_cast<std::uint32_t>(tests::Op::kMakeDirectory), false});
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), c.message);
    EXPECT_FALSE(w.Get(w.Target() + "\\top.txt"));
  }
}

TEST_F(EngineOnFake, PathsThatDoNotFitAreNeverCut) {
  // A folder deep enough that target + name passes 259 characters.
  std::string target = "C:\\" + std::string(200, 't');
  w_.MakeDir(target);
  std::string longDir = std::string(40, 'd') + "\\" + std::string(40, 'e');
  w_.Put(w_.ArchivePath(), tests::BuildArchive({{"ok.txt", "ok"}, {longDir + "\\f.txt", "f"}}));
  Session run(w_);
  run.options.targetDirectory.Assign(target.c_str());
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "Unable to access file (00CE).  File extraction aborted.");
  EXPECT_FALSE(w_.Get(target + "\\ok.txt"));
}

// Records that claim more or fewer bytes than the file holds, with a valid
// checksum (the header lies outside it, a changed record is resealed): the
// kit is refused as invalid before anything is made, and the front end
// learns why while the message is shown.
TEST_F(EngineOnFake, ChangedCountsAndSizesAreRefusedBeforeAnythingIsWritten) {
  using kivo::ArchiveFault;
  std::string good = tests::BuildArchive({{"a\\x.txt", "xxxx"}, {"b.txt", "bbbbbbbb"}});
  struct Change {
    const char* what;
    std::vector<std::size_t> at;
    std::uint32_t value;
    ArchiveFault fault;
    std::uint32_t figure;  // the record that disagrees, or the bytes left unclaimed
  };
  const std::size_t second = 800 + 308;
  const Change changes[] = {
      {"huge count", {12}, 0xFFFFFFFFu, ArchiveFault::kDataMismatch, 0},
      {"count + 1", {12}, 3, ArchiveFault::kDataMismatch, 0},
      {"count - 1", {12}, 1, ArchiveFault::kDataMismatch, 308 + 8},
      {"first size", {800 + 260}, 0x7FFFFFFFu, ArchiveFault::kSizesDisagree, 0},
      {"second size", {second + 260}, 9, ArchiveFault::kSizesDisagree, 1},
      {"second high size", {second + 264}, 1, ArchiveFault::kSizesDisagree, 1},
      {"both second sizes", {second + 260, second + 300}, 9, ArchiveFault::kDataMismatch, 0},
      {"both first sizes", {800 + 260, 800 + 300}, 3, ArchiveFault::kDataMismatch, 1},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    for (std::size_t at : c.at) tests::Put32(bytes, at, c.value);
    tests::ResealArchive(bytes);
    MemoryEngineWorld w;
    w.Put(w.ArchivePath(), bytes);
    Session run(w);
    std::optional<kivo::ArchiveCheck> told;
    run.boxes.onShow = [&run, &told](const tests::ShownMessage&) {
      kivo::MessageCause cause = run.messages.TakeCause();
      if (cause.archive != nullptr) told = *cause.archive;
    };
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), "There are no files to be extracted.  File extraction aborted.");
    ASSERT_TRUE(told);
    EXPECT_EQ(told->fault, c.fault);
    EXPECT_EQ(c.fault == ArchiveFault::kSizesDisagree ? told->entry : told->unfilled, c.figure);
    EXPECT_EQ(w.Files(), std::vector<std::string>{"setup.exe"});
    EXPECT_FALSE(w.fake.IsDirectory(w.Target() + "\\a"));
    EXPECT_EQ(w.fake.OpenHandleCount(), 0);
  }
}

}  // namespace
