// The floppy check: which free-space answers pass, which prompt each
// failing one produces, and how the prompts follow one another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/builder/builder_world.h"

namespace {

using namespace tests;
using tests::Floppy;
using tests::FreeSpaceAnswer;
using tests::QueryFails;
namespace ui = platform::ui;

std::string Prompt(const char* reason) {
  return reason == nullptr ? std::string(kInsertBlank) : std::string(reason) + "\n\n" + kInsertBlank;
}

struct CheckCase {
  const char* name;
  std::vector<FreeSpaceAnswer> answers;  // the last one repeats
  std::vector<int> buttons;              // pressed on the prompts, in order
  bool passes;
  std::vector<const char*> reasons;      // one per prompt; null: the plain request
};

TEST(CheckDestination, PromptsFollowTheFreeSpaceAnswers) {
  FreeSpaceAnswer big = Floppy(0xFFFFFFFFu, 0xFFFFFFFFu);
  big.space.sectorsPerCluster = 64;
  big.space.bytesPerSector = 4096;
  FreeSpaceAnswer justOver = Floppy(0, 0);  // 4 GiB + 400 KiB: 400 KiB in 32 bits
  justOver.space = {8, 512, 1048676, 1048676};
  FreeSpaceAnswer wraps = Floppy(0, 0);  // 2^32 bytes exactly: 0 in 32 bits
  wraps.space = {8, 512, 1048576, 1048576};
  const std::vector<CheckCase> cases = {
      {"blank 1.44 MB disk", {Floppy(2847)}, {}, true, {}},
      {"one cluster in use", {Floppy(2846)}, {}, true, {}},
      {"two clusters in use", {Floppy(2845), Floppy(2847)}, {ui::kIdOk}, true, {kNotBlank}},
      {"2,793 clusters, all free", {Floppy(2793, 2793)}, {}, true, {}},
      {"2,792 clusters, all free", {Floppy(2792, 2792), Floppy(2847)}, {ui::kIdOk}, true, {kTooSmall}},
      {"used and small is called used", {Floppy(100, 2000)}, {ui::kIdCancel}, false, {kNotBlank}},
      {"no disk, then no disk, then a blank one",
       {QueryFails(21), QueryFails(21), QueryFails(21), Floppy(2847)},
       {ui::kIdOk, ui::kIdOk, ui::kIdOk},
       true,
       {nullptr, kNoDisk, kNoDisk}},
      {"no disk until Cancel", {QueryFails(21)}, {ui::kIdOk, ui::kIdOk, ui::kIdCancel}, false,
       {nullptr, kNoDisk, kNoDisk}},
      {"used disk, then an empty drive", {Floppy(10), QueryFails(21), QueryFails(21)},
       {ui::kIdOk, ui::kIdOk, ui::kIdCancel}, false, {kNotBlank, nullptr, kNoDisk}},
      {"other errors every time", {QueryFails(5), QueryFails(31), QueryFails(3)},
       {ui::kIdOk, ui::kIdOk, ui::kIdCancel}, false, {kDriveError, kDriveError, kDriveError}},
      {"a box that cannot be shown gives up", {QueryFails(21)}, {0}, false, {nullptr}},
      // More than 4 GiB free: the product must not wrap around to a small number.
      {"huge volume", {big}, {}, true, {}},
      {"just over 4 GiB free", {justOver}, {}, true, {}},
      {"exactly 4 GiB free", {wraps}, {}, true, {}},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    BuilderWorld w;
    w.drives.freeSpace.assign(c.answers.begin(), c.answers.end());
    for (int b : c.buttons) w.dialog.boxes.answers.push_back(b);
    // A prompt the case does not expect is answered Cancel, so that a
    // wrong verdict fails the case instead of prompting for ever.
    w.dialog.boxes.onShow = [&w](const tests::ShownMessage&) {
      if (w.dialog.boxes.answers.empty()) w.dialog.boxes.answers.push_back(ui::kIdCancel);
    };
    EXPECT_EQ(w.builder.CheckDestination(w.driveList[0]), c.passes);
    ASSERT_EQ(w.shown().size(), c.reasons.size());
    for (std::size_t i = 0; i < c.reasons.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(w.shown()[i].text, Prompt(c.reasons[i]));
      EXPECT_EQ(w.shown()[i].caption, kCaption);
      EXPECT_EQ(w.shown()[i].buttons(), ui::kOkCancel);
      EXPECT_EQ(w.shown()[i].icon(), ui::kIconExclamation);
    }
    for (const std::string& root : w.drives.queriedRoots) EXPECT_EQ(root, "A:\\");
    EXPECT_EQ(w.drives.queriedRoots.size(), c.reasons.size() + (c.passes ? 1 : 0));
  }
}

TEST(CheckDestination, EveryCheckStartsWithThePlainRequestForAMissingDisk) {
  BuilderWorld w;
  w.drives.freeSpace = {QueryFails(21), QueryFails(21), Floppy(2847), QueryFails(21), Floppy(2847)};
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdOk, ui::kIdOk});
  ASSERT_TRUE(w.builder.CheckDestination(w.driveList[0]));
  ASSERT_TRUE(w.builder.CheckDestination(w.driveList[0]));
  ASSERT_EQ(w.shown().size(), 3u);
  EXPECT_EQ(w.shown()[0].text, kInsertBlank);
  EXPECT_EQ(w.shown()[1].text, Prompt(kNoDisk));
  EXPECT_EQ(w.shown()[2].text, kInsertBlank);  // the second disk's first "not ready"
}

TEST(CheckDestination, NothingIsWrittenToTheDisk) {
  BuilderWorld w;
  w.drives.freeSpace = {Floppy(5), Floppy(2847)};
  ASSERT_TRUE(w.builder.CheckDestination(w.driveList[0]));
  EXPECT_EQ(w.faults.OperationCount(), 0u);
}

}  // namespace
