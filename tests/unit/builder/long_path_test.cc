// An entry whose source path does not fit the system's 259 characters: the
// cut path would name another file, so it is never opened; the user hears
// that the file cannot be opened and may skip it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/builder/builder_world.h"

namespace {

using namespace tests;
namespace ui = platform::ui;

TEST(CopyEngine, ASourcePathThatDoesNotFitIsNeverOpenedAndCanBeSkipped) {
  BuilderWorld w;
  // C:\images\ and the entry: 10 + 249 = 259 characters fit; one more does not.
  std::string fits(249, 'f'), cut = std::string(240, 'c') + "\\long.txt!";
  w.fs.AddFile("C:\\images\\" + fits, "fits");
  w.fs.AddFile("C:\\images\\" + cut.substr(0, 249), "another file");
  w.AddDisk({cut, fits});
  w.dialog.boxes.Answer({ui::kIdOk, ui::kIdIgnore});
  EXPECT_EQ(w.RunDialog(), wendmark::kEndWritten);
  ASSERT_EQ(w.shown().size(), 2u);
  EXPECT_EQ(w.shown()[1].text, std::string(kSourceUnreadable) + kChoice);
  EXPECT_EQ(w.shown()[1].style, ui::kAbortRetryIgnore | ui::kIconExclamation);
  EXPECT_EQ(w.FloppyFiles(), std::vector<std::string>{"A:\\" + fits});
}

}  // namespace
