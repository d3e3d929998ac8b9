// The engine's behaviour, each case once on the in-memory file system and
// once on the platform's real file layer (POSIX natively, Win32 under Wine).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/archive/hand_built.h"
#include "tests/unit/engine/engine_world.h"

namespace {

using tests::OnlyMessage;
using tests::kCorrupt;
using tests::kCannotWrite;
using tests::Session;
using tests::HandBuiltEntry;


class Engine : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { world_ = tests::MakeWorld(GetParam()); }
  tests::EngineWorld& w() { return *world_; }
  std::string T(const std::string& rel) { return w().Target() + "\\" + rel; }
  void Archive(const std::vector<HandBuiltEntry>& entries, const std::string& program = "") {
    tests::HandBuiltOptions o;
    o.image = std::string(3000, 'M');
    o.program = program;
    w().Put(w().ArchivePath(), tests::BuildArchive(entries, o));
  }
  std::unique_ptr<tests::EngineWorld> world_;
};

TEST_P(Engine, ExtractsFilesFoldersAndTimesThenStartsTheProgram) {
  platform::FileTimes times{0x01D5000000001230ull, 0x01D6000000004560ull, 0x01D7000000007890ull};
  Archive({{"top.txt", "top level"},
           {"sub\\a.txt", "first in sub", times},
           {"sub\\b.txt", "second in sub"},
           {"sub\\deep\\er\\c.bin", std::string(32768, '\xA5')},
           {"sub\\d.bin", std::string(32769, '\x5A')},
           {"empty.dat", "", times}},
          "sub\\a.txt");
  Session run(w());
  EXPECT_TRUE(run.Extract());
  EXPECT_TRUE(run.boxes.shown.empty());
  EXPECT_EQ(w().Get(T("top.txt")), "top level");
  EXPECT_EQ(w().Get(T("sub\\a.txt")), "first in sub");
  EXPECT_EQ(w().Get(T("sub\\b.txt")), "second in sub");
  EXPECT_EQ(w().Get(T("sub\\deep\\er\\c.bin")), std::string(32768, '\xA5'));
  EXPECT_EQ(w().Get(T("sub\\d.bin")), std::string(32769, '\x5A'));
  EXPECT_EQ(w().Get(T("empty.dat")), "");
  for (const char* name : {"sub\\a.txt", "empty.dat"}) {
    platform::FileTimes got = w().Times(T(name));
    EXPECT_EQ(got.lastWrite, times.lastWrite) << name;
    if (w().KeepsCreationTime()) {
      EXPECT_EQ(got.creation, times.creation) << name;
      EXPECT_EQ(got.lastAccess, times.lastAccess) << name;
    }
  }
  ASSERT_EQ(run.launcher.started.size(), 1u);
  EXPECT_EQ(run.launcher.started[0].first, "sub\\a.txt");
  EXPECT_EQ(run.launcher.started[0].second, w().Target());
  EXPECT_EQ(run.status, kivo::ExtractStatus::kComplete);
}

TEST_P(Engine, WithoutAProgramNameNothingIsStarted) {
  Archive({{"a.txt", "a"}});
  Session run(w());
  EXPECT_TRUE(run.Extract());
  EXPECT_TRUE(run.launcher.started.empty());
}

TEST_P(Engine, AProgramThatCannotStartIsReportedAfterEverythingWasWritten) {
  Archive({{"a.txt", "a"}}, "missing.exe");
  Session run(w());
  run.launcher.result = false;
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run),
            "Unable to start the program specified in the file.  You will have to start the the "
            "installation prgram manually.");
  EXPECT_EQ(w().Get(T("a.txt")), "a");
}

TEST_P(Engine, AFileInTheWayOfAFolderStopsBeforeAnyFileIsWritten) {
  w().Put(T("one"), "i am a file");
  Archive({{"first.txt", "1"}, {"one\\two\\x.txt", "x"}});
  Session run(w());
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "Unable to create the directory: " + T("one") +
                                  ", a file with the same name is found.");
  EXPECT_FALSE(w().Get(T("first.txt")));
}

TEST_P(Engine, AReadOnlyFolderStopsTheExtractionWithItsFullPath) {
  w().MakeDir(T("one\\two"));
  w().MakeReadOnly(T("one\\two"));
  if (!w().ReportsReadOnly(T("one\\two"))) GTEST_SKIP() << "no read-only folders on this file system";
  Archive({{"first.txt", "1"}, {"one\\two\\three\\x.txt", "x"}});
  Session run(w());
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "Unable to create the directory: " + T("one\\two") +
                                  ", the directory already exsits and is read only. ");
  EXPECT_FALSE(w().Get(T("first.txt")));
  EXPECT_FALSE(w().IsDir(T("one\\two\\three")));
}

TEST_P(Engine, NoKeepsTheFileAndTheNextEntryGetsExactlyItsOwnBytes) {
  w().Put(T("d\\keep.txt"), "old contents");
  Archive({{"d\\keep.txt", "new contents that are longer"}, {"d\\next.txt", "next bytes"}});
  Session run(w());
  run.prompt.answers = {kivo::kAnswerNo};
  EXPECT_TRUE(run.Extract());
  EXPECT_EQ(run.prompt.asked, std::vector<std::string>{"d\\keep.txt"});
  EXPECT_EQ(w().Get(T("d\\keep.txt")), "old contents");
  EXPECT_EQ(w().Get(T("d\\next.txt")), "next bytes");
}

TEST_P(Engine, YesReplacesTheFileWithNoTemporaryFileLeft) {
  w().Put(T("r.txt"), "old");
  Archive({{"r.txt", std::string(40000, 'N')}});
  Session run(w());
  run.prompt.answers = {kivo::kAnswerYes};
  EXPECT_TRUE(run.Extract());
  EXPECT_EQ(w().Get(T("r.txt")), std::string(40000, 'N'));
  EXPECT_EQ(w().Files(), (std::vector<std::string>{"setup.exe", "target\\r.txt"}));
}

TEST_P(Engine, YesToAllStopsAskingAndAReadOnlyFileThenFails) {
  w().Put(T("a.txt"), "old a");
  w().Put(T("b.txt"), "old b");
  w().Put(T("c.txt"), "old c");
  w().MakeReadOnly(T("c.txt"));
  Archive({{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}});
  Session run(w());
  run.prompt.answers = {kivo::kAnswerYesToAll};
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(run.prompt.asked, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(w().Get(T("a.txt")), "new a");
  EXPECT_EQ(w().Get(T("b.txt")), "new b");
  EXPECT_EQ(w().Get(T("c.txt")), "old c");
  EXPECT_EQ(OnlyMessage(run), kCannotWrite);
}

TEST_P(Engine, AbortOnTheThirdOfFiveKeepsTwoFilesAndAllFolders) {
  w().Put(T("f3\\c.txt"), "existing");
  Archive({{"f1\\a.txt", "a"}, {"f2\\b.txt", "b"}, {"f3\\c.txt", "c"}, {"f4\\d.txt", "d"},
           {"f5\\e.txt", "e"}});
  Session run(w());
  run.prompt.answers = {kivo::kAnswerAbort};
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "File extraction terminated at user's request.");
  EXPECT_EQ(run.status, kivo::ExtractStatus::kAborted);
  EXPECT_EQ(w().Get(T("f1\\a.txt")), "a");
  EXPECT_EQ(w().Get(T("f2\\b.txt")), "b");
  EXPECT_EQ(w().Get(T("f3\\c.txt")), "existing");
  EXPECT_FALSE(w().Get(T("f4\\d.txt")));
  for (const char* d : {"f1", "f2", "f3", "f4", "f5"}) EXPECT_TRUE(w().IsDir(T(d))) << d;
}

TEST_P(Engine, ArchiveProblemsAreReportedWithTheirOwnMessages) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  std::string good = tests::BuildArchive({{"a.txt", "aaaa"}});
  std::string damaged = good;
  damaged.back() ^= 1;
  std::vector<Case> cases{
      {"no signature", "MZ just a program", "Unable to find any files in the specified extraction file.  File extraction aborted."},
      {"header cut", good.substr(0, 500), kCorrupt},
      {"checksum", damaged, "There are no files to be extracted.  File extraction aborted."},
      {"appended byte", good + "x", "There are no files to be extracted.  File extraction aborted."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w().Put(w().ArchivePath(), c.bytes);
    Session run(w());
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), c.message);
    EXPECT_EQ(w().Files(), std::vector<std::string>{"setup.exe"});
  }
  Session missing(w());
  missing.options.archivePath.Assign((w().Root() + "\\nothing.exe").c_str());
  EXPECT_FALSE(missing.Extract());
  EXPECT_EQ(OnlyMessage(missing),
            "Unable to open the file from which to extract files.  File extraction aborted.");
  EXPECT_EQ(missing.status, kivo::ExtractStatus::kCannotOpen);
}

TEST_P(Engine, HostileNamesLeaveTheTargetUntouchedAndNothingOutsideIt) {
  for (const char* name : {"..\\evil.txt", "a\\..\\..\\evil.txt", "a\\\\..\\..\\evil.txt",
                           "a\\..\\", "\\evil.txt", "\\\\server\\share\\evil.txt", "C:\\evil.txt",
                           "C:evil.txt", "a\\.. \\..\\evil.txt", "a/../../evil.txt", "NUL",
                           "sub\\con.txt", "dots.\\evil.txt", "star*.txt", "evil.txt:stream"}) {
    SCOPED_TRACE(name);
    Archive({{"fine\\first.txt", "harmless"}, {name, "evil"}});
    Session run(w());
    EXPECT_FALSE(run.Extract());
    EXPECT_EQ(OnlyMessage(run), kCorrupt);
    EXPECT_EQ(w().Files(), std::vector<std::string>{"setup.exe"});
    EXPECT_FALSE(w().IsDir(T("fine")));
  }
}

TEST_P(Engine, NamesWithoutTerminatorAreCorrupt) {
  HandBuiltEntry e("x", "data");
  e.nameField = std::string(260, 'n');
  Archive({e});
  Session run(w());
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), kCorrupt);

  tests::HandBuiltOptions o;
  o.programField = std::string(264, 'p');
  w().Put(w().ArchivePath(), tests::BuildArchive({{"a.txt", "a"}}, o));
  Session again(w());
  EXPECT_FALSE(again.Extract());
  EXPECT_EQ(OnlyMessage(again), kCorrupt);
  EXPECT_TRUE(again.launcher.started.empty());
  EXPECT_EQ(w().Files(), std::vector<std::string>{"setup.exe"});
}

TEST_P(Engine, AMissingTargetFolderIsReportedAndNothingIsWritten) {
  Archive({{"a.txt", "a"}});
  Session run(w());
  std::string missing = w().Root() + "\\no\\such\\folder";
  run.options.targetDirectory.Assign(missing.c_str());
  EXPECT_FALSE(run.Extract());
  EXPECT_EQ(OnlyMessage(run), "The path specified, " + missing + ", cannot be found or used at this time.");
  EXPECT_EQ(w().Files(), std::vector<std::string>{"setup.exe"});
}

INSTANTIATE_TEST_SUITE_P(Worlds, Engine, ::testing::Values("Fake", "Real"),
                         [](const auto& info) { return info.param; });

}  // namespace
