// The progress dialog's behaviour over a recorded window: its lines and
// bar, the start timer, the cancel question and the end codes.
#include <gtest/gtest.h>

#include "tests/unit/builder/builder_world.h"

namespace {

using namespace tests;
namespace ui = platform::ui;

TEST(ProgressDialog, LinesAndBarFollowTheBuild) {
  BuilderWorld w;
  FakeDialog& d = w.dialog;
  d.OnInitDialog();
  EXPECT_EQ(d.barLow, 0);
  EXPECT_EQ(d.barHigh, 100);
  EXPECT_EQ(d.bar, 0);
  EXPECT_EQ(d.diskLine, "<template>");  // no title yet: the template's empty text stays
  EXPECT_EQ(d.fileLine, "");

  d.SetDiskTitle("Disk 3 - Sample Suite");
  EXPECT_EQ(d.diskTitle, "Disk 3 - Sample Suite");
  EXPECT_EQ(d.diskLine, "Creating Disk 3 - Sample Suite");

  EXPECT_TRUE(d.PumpMessages("..\\setup\\\\D2F0.CAB", 46));
  EXPECT_EQ(d.fileLine, "Copying ..\\setup\\\\D2F0.CAB");
  EXPECT_EQ(d.bar, 46);
  ASSERT_EQ(d.pumps.size(), 1u);

  d.SetDiskTitle("Disk 4 - Sample Suite");
  EXPECT_EQ(d.diskLine, "Creating Disk 4 - Sample Suite");
  EXPECT_EQ(d.fileLine, "");
  EXPECT_EQ(d.bar, 0);
  EXPECT_TRUE(w.shown().empty());
}

TEST(ProgressDialog, TheInsertPromptNamesTheTitleAndTheDriveLetter) {
  BuilderWorld w;
  wendmark::DriveRecord b;
  b.rootPath = "B:\\";
  b.letter = 'B';
  w.dialog.PromptForDisk("Disk 1 - Sample Suite", b);
  ASSERT_EQ(w.shown().size(), 1u);
  EXPECT_EQ(w.shown()[0].text,
            "Please label a blank, formatted 1.44MB floppy disk 'Disk 1 - Sample Suite' and place it "
            "in drive B:.");
  EXPECT_EQ(w.shown()[0].caption, kCaption);
  EXPECT_EQ(w.shown()[0].buttons(), ui::kOk);
  EXPECT_EQ(w.shown()[0].icon(), ui::kIconInformation);
}

TEST(ProgressDialog, OnlyTheFirstPaintAsksForTheOneShotTimer) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\a.txt", "a");
  w.AddDisk({"a.txt"});
  FakeDialog& d = w.dialog;
  d.OnInitDialog();
  d.OnPaint();
  d.OnPaint();
  EXPECT_TRUE(d.timerStarted);
  EXPECT_EQ(d.timerCalls, std::vector<std::string>{"start 8466 250"});
  EXPECT_FALSE(d.OnTimer(1));  // not ours: default handling, nothing runs
  EXPECT_TRUE(d.endCodes.empty());
  EXPECT_TRUE(d.OnTimer(8466));
  EXPECT_EQ(d.timerCalls, (std::vector<std::string>{"start 8466 250", "stop 8466"}));
  EXPECT_EQ(d.endCodes, std::vector<int>{wendmark::kEndWritten});
}

TEST(ProgressDialog, ARefusedTimerSaysSoAndFailsWithoutTouchingADisk) {
  BuilderWorld w;
  w.AddDisk({"a.txt"});
  w.dialog.refuseTimer = true;
  w.dialog.OnInitDialog();
  w.dialog.OnPaint();
  ASSERT_EQ(w.shown().size(), 1u);
  EXPECT_EQ(w.shown()[0].text, kNoTimer);
  EXPECT_EQ(w.shown()[0].caption, kCaption);
  EXPECT_EQ(w.shown()[0].buttons(), ui::kOk);
  EXPECT_EQ(w.shown()[0].icon(), 0u);
  EXPECT_EQ(w.dialog.endCodes, std::vector<int>{wendmark::kEndFailed});
  EXPECT_TRUE(w.drives.queriedRoots.empty());
  EXPECT_EQ(w.faults.OperationCount(), 0u);
}

TEST(ProgressDialog, TheCancelQuestionOnlySetsTheFlag) {
  BuilderWorld w;
  FakeDialog& d = w.dialog;
  d.boxes.Answer({ui::kIdYes, ui::kIdNo, 0});
  d.OnCancel();
  EXPECT_TRUE(d.cancelRequested);
  EXPECT_FALSE(d.PumpMessages("x", 10));
  d.OnCancel();
  EXPECT_FALSE(d.cancelRequested);  // No takes it back
  EXPECT_TRUE(d.PumpMessages("x", 20));
  d.OnCancel();
  EXPECT_FALSE(d.cancelRequested);  // a box that could not be shown is no Yes
  ASSERT_EQ(w.shown().size(), 3u);
  for (const tests::ShownMessage& m : w.shown()) {
    EXPECT_EQ(m.text, kConfirmCancel);
    EXPECT_EQ(m.caption, kCaption);
    EXPECT_EQ(m.buttons(), ui::kYesNo);
    EXPECT_EQ(m.icon(), ui::kIconExclamation);
  }
  EXPECT_TRUE(d.endCodes.empty());  // the dialog never closes on its own here
}

TEST(ProgressDialog, CancelBeforeTheTimerStillAsksForTheDiskAndStopsAfterTheFirstChunk) {
  BuilderWorld w;
  w.fs.AddFile("C:\\images\\big.bin", Bytes(70000));
  w.AddDisk({"big.bin"});
  w.drives.freeSpace = {tests::QueryFails(21), tests::Floppy(2847)};
  w.dialog.boxes.Answer({ui::kIdYes, ui::kIdOk, ui::kIdOk});
  w.dialog.OnInitDialog();
  w.dialog.OnPaint();
  w.dialog.OnCancel();  // within the first 250 ms
  w.dialog.OnTimer(wendmark::kStartTimerId);
  EXPECT_EQ(w.dialog.endCodes, std::vector<int>{wendmark::kEndCancelled});
  ASSERT_EQ(w.shown().size(), 3u);
  EXPECT_EQ(w.shown()[0].text, kConfirmCancel);
  EXPECT_EQ(w.shown()[1].text, InsertPrompt("Disk 1 - Sample Suite"));
  EXPECT_EQ(w.shown()[2].text, kInsertBlank);
  EXPECT_EQ(w.Writes(), std::vector<std::uint32_t>{32768});
  EXPECT_FALSE(w.fs.Exists("A:\\big.bin"));
}

}  // namespace
