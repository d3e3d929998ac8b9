// The copy engine against the in-memory file system: which files land on
// the floppy and how, what each failure shows, and what is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/unit/builder/builder_world.h"
#include "tests/unit/builder/copy_fault_sweep.h"

namespace {

using namespace tests;
namespace ui = platform::ui;
using tests::Fault;
using tests::Op;

const platform::FileTimes kTimes{131000000000000001ULL, 132000000000000002ULL, 133000000000000003ULL};

struct Expected {
  std::string text;
  std::uint32_t buttons;
};

void ExpectShown(const BuilderWorld& w, const std::vector<Expected>& expected) {
  ASSERT_EQ(w.shown().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(w.shown()[i].text, expected[i].text);
    EXPECT_EQ(w.shown()[i].caption, kCaption);
    EXPECT_EQ(w.shown()[i].buttons(), expected[i].buttons);
    // The insert prompt informs; everything else warns.
    EXPECT_EQ(w.shown()[i].icon(), expected[i].text.rfind("Please label", 0) == 0
                                       ? ui::kIconInformation
                                       : ui::kIconExclamation);
  }
}

Expected Insert(int disk) { return {InsertPrompt("Disk " + std::to_string(disk) + " - Sample Suite"), ui::kOk}; }
Expected Choice(const char* text) { return {std::string(text) + kChoice, ui::kAbortRetryIgnore}; }

TEST(CopyEngine, OnlySelectedDisksAreAskedForAndWritten) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\one.txt", "1");
  w.fs.AddFile("C:\\images\\two.txt", "22", kTimes);
  w.fs.AddFile("C:\\images\\three.txt", "333");
  w.AddDisk({"one.txt"}, false);
  w.AddDisk({"two.txt"});
  w.AddDisk({"three.txt"}, false);
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  ExpectShown(w, {Insert(2)});
  EXPECT_EQ(w.dialog.diskLine, "Creating Disk 2 - Sample Suite");
  EXPECT_EQ(w.FloppyFiles(), std::vector<std::string>{"A:\\two.txt"});
  EXPECT_EQ(w.fs.Contents("A:\\two.txt"), "22");
  EXPECT_EQ(w.fs.OpenHandleCount(), 0);
}

TEST(CopyEngine, EntriesLandAtTheTopLevelUnderTheirLastComponent) {
  BuilderWorld w;
  w.profile.diskImages = "C:\\tools";  // the shipped layout: entries climb out of the program's folder
  w.fs.AddFile("C:\\setup\\SETUP.EXE", "setup", kTimes);
  w.fs.AddFile("C:\\tools\\disk1\\sub\\DATA.CAB", "data");
  w.fs.AddFile("C:\\tools\\a\\same.txt", "first");
  w.fs.AddFile("C:\\tools\\b\\same.txt", "second");
  w.AddDisk({"..\\setup\\\\SETUP.EXE", "disk1\\sub\\DATA.CAB", "a\\same.txt", "b\\same.txt"});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.FloppyFiles(), (std::vector<std::string>{"A:\\DATA.CAB", "A:\\SETUP.EXE", "A:\\same.txt"}));
  EXPECT_EQ(w.fs.Contents("A:\\SETUP.EXE"), "setup");
  EXPECT_EQ(w.fs.Contents("A:\\DATA.CAB"), "data");
  EXPECT_EQ(w.fs.Contents("A:\\same.txt"), "second");  // the later entry wins
  EXPECT_EQ(w.fs.Directories(), (std::vector<std::string>{"A:\\", "C:\\", "C:\\images", "C:\\setup",
                                                          "C:\\tools", "C:\\tools\\a", "C:\\tools\\b",
                                                          "C:\\tools\\disk1", "C:\\tools\\disk1\\sub"}));
}

TEST(CopyEngine, SourcePathsAreTheFolderABackslashAndTheWholeEntry) {
  BuilderWorld w;
  w.profile.diskImages = "C:\\images\\";  // a trailing backslash is kept: the path has two
  w.fs.AddFile("C:\\images\\x.bin", "x");
  w.AddDisk({"x.bin"});
  ASSERT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.log.Log().front(), "Open C:\\images\\\\x.bin ReadExclusive -> ok");
  EXPECT_EQ(w.log.Log()[1], "Open A:x.bin CreateAlways -> ok");
}

TEST(CopyEngine, TheDiskImageFolderIsReadAfreshForEachDisk) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.txt", "old images");
  w.fs.AddFile("C:\\fresh\\b.txt", "fresh images");
  w.AddDisk({"a.txt"});
  w.AddDisk({"b.txt"});
  w.dialog.boxes.onShow = [&](const tests::ShownMessage& m) {
    if (m.text == InsertPrompt("Disk 2 - Sample Suite")) w.profile.diskImages = "C:\\fresh";
  };
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.fs.Contents("A:\\b.txt"), "fresh images");
}

TEST(CopyEngine, ChunksFlushesAndThePositionOfA70000ByteFile) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\big\\BIG.CAB", Bytes(70000), kTimes);
  w.fs.AddFile("C:\\images\\next.txt", "n");
  w.AddDisk({"big\\BIG.CAB", "next.txt"});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.Writes(), (std::vector<std::uint32_t>{32768, 32768, 4464, 1}));
  std::vector<std::string> flushesAfterWrites;
  for (const std::string& line : w.log.Log()) {
    if (line.rfind("Write", 0) == 0 || line.rfind("Flush", 0) == 0) flushesAfterWrites.push_back(line.substr(0, 5));
  }
  EXPECT_EQ(flushesAfterWrites, (std::vector<std::string>{"Write", "Flush", "Write", "Flush", "Write",
                                                          "Flush", "Write", "Flush"}));
  const std::string big = "Copying big\\BIG.CAB";
  ASSERT_EQ(w.dialog.pumps.size(), 6u);
  EXPECT_EQ(w.dialog.pumps[0].fileLine, big);
  EXPECT_EQ(w.dialog.pumps[0].bar, 0);
  EXPECT_EQ(w.dialog.pumps[1].bar, 46);
  EXPECT_EQ(w.dialog.pumps[2].bar, 93);
  EXPECT_EQ(w.dialog.pumps[3].bar, 100);
  EXPECT_EQ(w.dialog.pumps[3].fileLine, big);
  // The next file shows from the start of its copy, with the bar back at 0.
  EXPECT_EQ(w.dialog.pumps[4].fileLine, "Copying next.txt");
  EXPECT_EQ(w.dialog.pumps[4].bar, 0);
  EXPECT_EQ(w.dialog.pumps[5].bar, 100);
  EXPECT_EQ(w.fs.Contents("A:\\BIG.CAB"), Bytes(70000));
  platform::FileTimes t = w.fs.Times("A:\\BIG.CAB");
  EXPECT_EQ(t.creation, kTimes.creation);
  EXPECT_EQ(t.lastAccess, kTimes.lastAccess);
  EXPECT_EQ(t.lastWrite, kTimes.lastWrite);
}

TEST(CopyEngine, AnEmptySourceGivesAnEmptyFileWithTheSourcesTimes) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\empty.dat", "", kTimes);
  w.AddDisk({"empty.dat"});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.fs.Contents("A:\\empty.dat"), "");
  platform::FileTimes t = w.fs.Times("A:\\empty.dat");
  EXPECT_EQ(t.creation, kTimes.creation);
  EXPECT_EQ(t.lastAccess, kTimes.lastAccess);
  EXPECT_EQ(t.lastWrite, kTimes.lastWrite);
  EXPECT_TRUE(w.Writes().empty());
  ASSERT_EQ(w.dialog.pumps.size(), 1u);
  EXPECT_EQ(w.dialog.pumps[0].bar, 0);
}

TEST(CopyEngine, AMissingSourceCanBeIgnoredAndTheBuildStillSucceeds) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\there.txt", "here");
  w.AddDisk({"gone.txt", "there.txt"});
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdIgnore});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  ExpectShown(w, {Insert(1), Choice(kSourceMissing)});
  EXPECT_EQ(w.FloppyFiles(), std::vector<std::string>{"A:\\there.txt"});
}

TEST(CopyEngine, ASourceThatCannotBeOpenedOffersTheChoiceAndAbortStops) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\locked.txt", "x");
  w.fs.AddFile("C:\\images\\after.txt", "y");
  w.AddDisk({"locked.txt", "after.txt"});
  w.faults.SetFault({.at = 1, .code = 32, .kinds = std::uint32_t(Op::kOpen)});
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdAbort});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
  ExpectShown(w, {Insert(1), Choice(kSourceUnreadable)});
  EXPECT_TRUE(w.FloppyFiles().empty());
}

TEST(CopyEngine, WriteProtectionThenRetryCopiesTheFile) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.txt", "abc", kTimes);
  w.AddDisk({"a.txt"});
  w.fs.SetWriteProtected('A', true);
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdRetry});
  w.dialog.boxes.onShow = [&](const tests::ShownMessage& m) {
    if (m.text.rfind(kWriteProtected, 0) == 0) w.fs.SetWriteProtected('A', false);  // the user slides the tab
  };
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  ExpectShown(w, {Insert(1), Choice(kWriteProtected)});
  EXPECT_EQ(w.fs.Contents("A:\\a.txt"), "abc");
  EXPECT_EQ(w.fs.Times("A:\\a.txt").lastWrite, kTimes.lastWrite);
  EXPECT_EQ(w.fs.OpenHandleCount(), 0);
}

TEST(CopyEngine, ADestinationThatCannotBeCreatedOffersOnlyOkAndFails) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.txt", "abc");
  w.fs.AddFile("C:\\images\\b.txt", "def");
  w.AddDisk({"a.txt", "b.txt"});
  w.faults.SetFault({.at = 2, .code = 5, .kinds = std::uint32_t(Op::kOpen)});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
  ExpectShown(w, {Insert(1), {kCannotCreate, ui::kOk}});
  EXPECT_TRUE(w.FloppyFiles().empty());
  EXPECT_EQ(w.fs.OpenHandleCount(), 0);  // the source was closed too
}

TEST(CopyEngine, ASourceShorterThanMeasuredEndsAsAReadFailure) {
  // A zero-byte read before the measured length would otherwise loop for
  // ever; here the length is measured, then the file shrinks under us.
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\shrinks.bin", Bytes(40000));
  w.AddDisk({"shrinks.bin"});
  w.dialog.onDispatch = [&](FakeDialog& d) {
    if (d.pumps.size() == 1) w.fs.AddFile("C:\\images\\shrinks.bin", Bytes(10));
    if (d.pumps.size() == 50) d.OnCancel();  // a copy that never ends: stop it, and fail below
  };
  EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
  ExpectShown(w, {Insert(1), Choice(kReadError)});
  EXPECT_FALSE(w.fs.Exists("A:\\shrinks.bin"));
  EXPECT_EQ(w.fs.OpenHandleCount(), 0);
}

TEST(CopyEngine, TheDiskFillingUpAtAnyChunkDeletesThePartialFile) {
  for (std::uint64_t room : {0ull, 100ull, 32768ull, 40000ull, 65536ull, 69999ull}) {
    SCOPED_TRACE(room);
    BuilderWorld w;
    w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
    w.AddDisk({"big.bin"});
    w.fs.SetCapacity('A', room);
    w.dialog.boxes.Answer({ui::kIdOk, ui::kIdAbort});
    EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
    ExpectShown(w, {Insert(1), Choice(kDiskFull)});
    EXPECT_TRUE(w.FloppyFiles().empty());
    EXPECT_EQ(w.fs.OpenHandleCount(), 0);
  }
}

struct WriteFault {
  const char* name;
  Op op;
  std::uint32_t code;
  bool shortWrite;
  const char* message;
};

TEST(CopyEngine, WriteAndFlushFailuresAreToldApartFromAFullDisk) {
  const WriteFault cases[] = {
      {"write, disk full", Op::kWrite, 112, false, kDiskFull},
      {"write, handle disk full", Op::kWrite, 39, false, kDiskFull},
      {"short write", Op::kWrite, 0, true, kDiskFull},
      {"write, other error", Op::kWrite, 5, false, kWriteError},
      {"flush, disk full", Op::kFlush, 112, false, kDiskFull},
      {"flush, other error", Op::kFlush, 31, false, kWriteError},
      // The first close is the written file's: a failure there may have lost
      // data the system still held.
      {"close, disk full", Op::kClose, 112, false, kDiskFull},
      {"close, other error", Op::kClose, 31, false, kWriteError},
      {"read error", Op::kRead, 23, false, kReadError},
      {"size unknown", Op::kGetSize, 6, false, kReadError},
  };
  for (const WriteFault& c : cases) {
    for (std::uint64_t chunk = 1; chunk <= 3; ++chunk) {
      if ((c.op == Op::kGetSize || c.op == Op::kClose) && chunk > 1) continue;
      SCOPED_TRACE(std::string(c.name) + " at chunk " + std::to_string(chunk));
      BuilderWorld w;
      w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
      w.AddDisk({"big.bin"});
      w.faults.SetFault({.at = chunk, .code = c.code, .kinds = std::uint32_t(c.op), .shortWrite = c.shortWrite});
      w.dialog.boxes.Answer({ui::kIdOk, ui::kIdRetry});  // the fault struck once: Retry succeeds
      EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
      ExpectShown(w, {Insert(1), Choice(c.message)});
      EXPECT_EQ(w.fs.Contents("A:\\big.bin"), Bytes(70000));
      EXPECT_EQ(w.fs.OpenHandleCount(), 0);
    }
  }
}

// A close that fails after the copy had already failed, or had been stopped,
// adds nothing: the failure that stopped it is told once, and a stop tells
// nothing at all. The partial file goes either way.
TEST(CopyEngine, AFailingCloseAfterAFailureOrAStopAddsNoMessage) {
  struct Case {
    const char* what;
    Fault fault;
    bool cancel;
    std::vector<Expected> shown;
    int code;
  };
  const Case cases[] = {
      {"a short write, then the close",
       {.at = 1, .code = 31, .persistent = true, .kinds = Op::kWrite | Op::kClose, .shortWrite = true},
       false, {Insert(1), Choice(kDiskFull)}, wendmark::kEndFailed},
      {"a confirmed cancel, then the close", {.at = 1, .code = 112, .kinds = std::uint32_t(Op::kClose)}, true,
       {Insert(1), {kConfirmCancel, ui::kYesNo}}, wendmark::kEndCancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuilderWorld w;
    w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
    w.AddDisk({"big.bin"});
    w.faults.SetFault(c.fault);
    if (c.cancel) {
      w.dialog.onDispatch = [](FakeDialog& d) {
        if (d.pumps.size() == 2) d.OnCancel();
      };
    }
    w.dialog.boxes.Answer({ui::kIdOk, c.cancel ? ui::kIdYes : ui::kIdAbort});
    EXPECT_EQ(w.RunDialog(), c.code);
    ExpectShown(w, c.shown);
    EXPECT_TRUE(w.FloppyFiles().empty());
    EXPECT_EQ(w.fs.OpenHandleCount(), 0);
  }
}

// The disk images in C:\images and the floppy A: of the world's own memory.
class MemoryCopySite final : public tests::CopySite {
 public:
  std::unique_ptr<BuilderWorld> NewRun(const std::map<std::string, std::string>& images) override {
    auto w = std::make_unique<BuilderWorld>();
    for (const auto& [name, data] : images) w->fs.AddFile("C:\\images\\" + name, data, kTimes);
    return w;
  }
  std::map<std::string, std::string> Floppy(BuilderWorld& w) override {
    std::map<std::string, std::string> files;
    for (const std::string& f : w.FloppyFiles()) files[f.substr(3)] = *w.fs.Contents(f);
    EXPECT_EQ(w.fs.OpenHandleCount(), 0);
    return files;
  }
  std::optional<std::string> Image(BuilderWorld& w, const std::string& name) override {
    return w.fs.Contents("C:\\images\\" + name);
  }
};

TEST(CopyEngine, AnyFailingOperationLeavesNoPartialFileAndNoOpenHandle) {
  MemoryCopySite site;
  tests::SweepCopyFaults(site);
}

// A message box that cannot be shown answers 0. Nobody chose to go on, so
// the build gives up as on Cancel or Abort, wherever the box was asked: the
// check of the floppy, a missing source, a write that failed half-way. The
// answer after the 0 would let a build that misread it go on (and end).
TEST(CopyEngine, ABoxThatCannotBeShownCountsAsGivingUp) {
  struct Case {
    const char* what;
    std::function<void(BuilderWorld&)> setUp;
    int afterwards;  // what a second box would have been answered
    Expected problem;
  };
  const Case cases[] = {
      {"floppy check", [](BuilderWorld& w) { w.drives.freeSpace = {tests::Floppy(12)}; }, ui::kIdCancel,
       {std::string(kNotBlank) + "\n\n" + kInsertBlank, ui::kOkCancel}},
      {"missing source", [](BuilderWorld& w) { w.fs.AddFile("C:\\images\\later.txt", "later"); },
       ui::kIdIgnore, Choice(kSourceMissing)},
      {"failing write",
       [](BuilderWorld& w) {
         w.fs.AddFile("C:\\images\\first.bin", Bytes(70000));
         w.fs.AddFile("C:\\images\\later.txt", "later");
         w.faults.SetFault({.at = 2, .code = 5, .kinds = std::uint32_t(Op::kWrite)});
       },
       ui::kIdIgnore, Choice(kWriteError)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuilderWorld w;
    w.AddDisk({"first.bin", "later.txt"});
    w.AddDisk({"later.txt"});
    c.setUp(w);
    w.dialog.boxes.Answer({ui::kIdOk, 0, c.afterwards});
    EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
    ExpectShown(w, {Insert(1), c.problem});
    EXPECT_TRUE(w.FloppyFiles().empty()) << "nothing copied after it, nothing partial left";
    EXPECT_EQ(w.fs.OpenHandleCount(), 0);
  }
}

// A read may bring fewer bytes than asked for without being at the end:
// each is written as it came, so the copy is the source byte for byte.
TEST(CopyEngine, ShortReadsAreCopiedWithoutLosingOrRepeatingAByte) {
  for (std::uint32_t limit : {777u, 1000u, 32767u}) {
    SCOPED_TRACE(limit);
    BuilderWorld w;
    w.fs.AddFile("C:\\images\\big.bin", Bytes(70000), kTimes);
    w.fs.AddFile("C:\\images\\next.txt", "n");
    w.AddDisk({"big.bin", "next.txt"});
    w.faults.SetReadLimit(limit);
    EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
    ExpectShown(w, {Insert(1)});
    EXPECT_EQ(w.fs.Contents("A:\\big.bin"), Bytes(70000));
    EXPECT_EQ(w.fs.Contents("A:\\next.txt"), "n");
    std::vector<std::uint32_t> expected;
    for (std::uint32_t left = 70000; left > 0; left -= std::min(left, limit)) {
      expected.push_back(std::min(left, limit));
    }
    expected.push_back(1);
    EXPECT_EQ(w.Writes(), expected);
    int bar = 0;
    for (const auto& pump : w.dialog.pumps) {
      EXPECT_GE(pump.bar, pump.fileLine == "Copying next.txt" ? 0 : bar) << "the bar never goes back";
      bar = pump.bar;
    }
    EXPECT_EQ(w.dialog.pumps[expected.size() - 1].bar, 100) << "big.bin ends full";
    EXPECT_EQ(w.fs.Times("A:\\big.bin").lastWrite, kTimes.lastWrite);
  }
}

TEST(CopyEngine, CancelConfirmedDuringACopyStopsAfterTheChunkAndShowsNothingMore) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
  w.fs.AddFile("C:\\images\\later.bin", "later");
  w.AddDisk({"big.bin", "later.bin"});
  w.AddDisk({"later.bin"});
  w.dialog.onDispatch = [](FakeDialog& d) {
    if (d.pumps.size() == 2) d.OnCancel();  // pressed while the first chunk was written
  };
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdYes});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndCancelled);
  ExpectShown(w, {Insert(1), {kConfirmCancel, ui::kYesNo}});
  EXPECT_EQ(w.Writes(), std::vector<std::uint32_t>{32768});
  EXPECT_TRUE(w.FloppyFiles().empty());
  EXPECT_EQ(w.fs.OpenHandleCount(), 0);
}

TEST(CopyEngine, CancelAnsweredNoChangesNothingAndALaterYesStops) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
  w.fs.AddFile("C:\\images\\second.bin", Bytes(70000, 'k'));
  w.AddDisk({"big.bin", "second.bin"});
  w.dialog.onDispatch = [](FakeDialog& d) {
    if (d.pumps.size() == 2 || d.pumps.size() == 6) d.OnCancel();
  };
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdNo, ui::kIdYes});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndCancelled);
  ExpectShown(w, {Insert(1), {kConfirmCancel, ui::kYesNo}, {kConfirmCancel, ui::kYesNo}});
  EXPECT_EQ(w.fs.Contents("A:\\big.bin"), Bytes(70000));  // the No let it finish
  EXPECT_FALSE(w.fs.Exists("A:\\second.bin"));            // the Yes stopped this one
  EXPECT_EQ(w.Writes(), (std::vector<std::uint32_t>{32768, 32768, 4464, 32768}));
}

TEST(CopyEngine, GivingUpTheFloppyCheckEndsAsAFailureWithoutCopying) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.txt", "a");
  w.AddDisk({"a.txt"});
  w.drives.freeSpace = {tests::Floppy(12)};
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdCancel});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
  ExpectShown(w, {Insert(1), {std::string(kNotBlank) + "\n\n" + kInsertBlank, ui::kOkCancel}});
  EXPECT_EQ(w.faults.OperationCount(), 0u);
}

TEST(CopyEngine, WithoutAChosenDriveNothingHappens) {
  BuilderWorld w;
  w.AddDisk({"a.txt"});
  wendmark::DriveRecord elsewhere;
  elsewhere.rootPath = "Q:\\";
  w.driveList.Choose(elsewhere);  // clears every chosen flag
  EXPECT_EQ(w.RunDialog(), wendmark::kEndFailed);
  EXPECT_TRUE(w.shown().empty());
}

TEST(CopyEngine, OneBufferOfAChunkServesEveryCopyAndShortMemoryIsARetryableReadError) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.bin", Bytes(50000));
  w.AddDisk({"a.bin", "a.bin"});
  ASSERT_EQ(w.RunDialog(), wendmark::kEndWritten);
  EXPECT_EQ(w.memory.allocations, 1);
  EXPECT_EQ(w.memory.lastSize, wendmark::kCopyChunk);

  // No memory for the buffer: the file cannot be read; Retry asks again.
  BuilderWorld shortOfMemory;
  shortOfMemory.fs.AddFile("C:\\images\\a.bin", Bytes(50000));
  shortOfMemory.AddDisk({"a.bin"});
  shortOfMemory.memory.refusals = 1;
  shortOfMemory.dialog.boxes.Answer({ui::kIdOk, ui::kIdRetry});
  ASSERT_EQ(shortOfMemory.RunDialog(), wendmark::kEndWritten);
  ExpectShown(shortOfMemory, {Insert(1), Choice(kReadError)});
  EXPECT_EQ(shortOfMemory.fs.Contents("A:\\a.bin"), Bytes(50000));
  EXPECT_EQ(shortOfMemory.memory.allocations, 2);

  BuilderWorld noMemory;
  noMemory.fs.AddFile("C:\\images\\a.bin", Bytes(50000));
  noMemory.AddDisk({"a.bin"});
  noMemory.memory.refusals = 1000;
  noMemory.dialog.boxes.Answer({ui::kIdOk, ui::kIdAbort});
  EXPECT_EQ(noMemory.RunDialog(), wendmark::kEndFailed);
  EXPECT_TRUE(noMemory.FloppyFiles().empty());
  EXPECT_EQ(noMemory.fs.OpenHandleCount(), 0);
}

TEST(CopyEngine, EmptyPathsFailQuietly) {
  BuilderWorld w;
  EXPECT_FALSE(w.builder.CopyOneFile("x", "", "A:x"));
  EXPECT_FALSE(w.builder.CopyOneFile("x", "C:\\images\\x", ""));
  EXPECT_TRUE(w.shown().empty());
  EXPECT_EQ(w.faults.OperationCount(), 0u);
}

TEST(CopyEngine, FloppyNameIsTheTextAfterTheLastBackslash) {
  EXPECT_STREQ(wendmark::FloppyName("SETUP.EXE"), "SETUP.EXE");
  EXPECT_STREQ(wendmark::FloppyName("..\\setup\\\\D0F1.CAB"), "D0F1.CAB");
  EXPECT_STREQ(wendmark::FloppyName("disk1\\sub\\x.txt"), "x.txt");
}

}  // namespace
