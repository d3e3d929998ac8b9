// What the wendmark suites share: the builder's exact texts, and a window
// for the engine that records every message box and answers from a script.
#pragma once

#include <string>

#include "diskmaker/builder/copy_progress.h"
#include "tests/fakes/fake_message_boxes.h"
#include "tests/unit/builder/builder_texts.h"

namespace tests {

class ScriptedWindow final : public wendmark::CopyProgress {
 public:
  void SetDiskTitle(const char*) override {}
  void PromptForDisk(const char*, const wendmark::DriveRecord&) override {}
  bool PumpMessages(const char*, int) override { return true; }
  platform::ui::MessageBoxes& Messages() override { return boxes; }
  FakeMessageBoxes boxes;
};

}  // namespace tests
