// The "File Already Exists" question: dialog 102 with Yes, No, Yes To All
// and Abort, placed under the extractor window.
#pragma once

#include <windows.h>

#include "unpack/engine/messages.h"

namespace kivo::win32 {


// The dialog procedure; the creation parameter is the entry's name.
INT_PTR CALLBACK OverwriteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class OverwriteDialog final : public OverwritePrompt {
 public:
  explicit OverwriteDialog(HINSTANCE instance) : instance_(instance) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  // The button's id, or 0 / -1 when the dialog could not be made.
  int Ask(const char* name) override;

 private:
  HINSTANCE instance_;
  HWND owner_ = nullptr;
};

}  // namespace kivo::win32
