// The one way the logic talks to the user: a message box with a text, a
// caption, a button set and an icon, answered by the button pressed. Styles
// and answers use the Win32 values on every platform.
#pragma once

#include <cstdint>

namespace platform::ui {

// Button sets.
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kAbortRetryIgnore = 0x2;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kButtonMask = 0xF;

// Icons.
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconExclamation = 0x30;  // also the warning icon
constexpr std::uint32_t kIconWarning = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr std::uint32_t kIconMask = 0xF0;

// Answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class MessageBoxes {
 public:
  // Shows the message modally and returns the button pressed (0 when the
  // box could not be shown).
  virtual int Show(const char* text, const char* caption, std::uint32_t style) = 0;

 protected:
  ~MessageBoxes() = default;
};

}  // namespace platform::ui
