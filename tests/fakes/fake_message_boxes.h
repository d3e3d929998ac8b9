// Scripted message boxes: every message is recorded (text, caption, style)
// and answered from a queue; with the queue empty the first button of the
// set answers (OK, Abort, Yes).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tests {

struct ShownMessage {
  std::string text;
  std::string caption;
  std::uint32_t style = 0;
  std::uint32_t buttons() const { return style & platform::ui::kButtonMask; }
  std::uint32_t icon() const { return style & platform::ui::kIconMask; }
};

class FakeMessageBoxes final : public platform::ui::MessageBoxes {
 public:
  int Show(const char* text, const char* caption, std::uint32_t style) override {
    shown.push_back({text, caption, style});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
      int answer = answers.front();
      answers.pop_front();
      return answer;
    }
    switch (style & platform::ui::kButtonMask) {
      case platform::ui::kAbortRetryIgnore: return platform::ui::kIdAbort;
      case platform::ui::kYesNo: return platform::ui::kIdYes;
      default: return platform::ui::kIdOk;
    }
  }

  void Answer(std::initializer_list<int> ids) { answers.insert(answers.end(), ids); }

  std::vector<ShownMessage> shown;
  std::deque<int> answers;
  // Called after a message is recorded and before it is answered, so that a
  // test can change the world the way a user would (insert a disk, say).
  std::function<void(const ShownMessage&)> onShow;
};

}  // namespace tests
