// The launch step after a complete extraction: the registry value that says
// where the extractor lives, then the start of the archive's program.
#pragma once

#include <windows.h>

#include "unpack/engine/extractor.h"

namespace kivo::win32 {

// Writes HKLM\SOFTWARE\Classes\VQLT "Info" (this program's own full path)
// before it opens `program` in `directory`, so that the value is there even
// when the start fails; a registry failure is silent. True when the system
// started the program. The engine tells the user when it was not.
bool LaunchProgram(HWND owner, const char* program, const char* directory);

class ShellLauncher final : public ProgramLauncher {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  bool Start(const char* program, const char* directory) override {
    return LaunchProgram(owner_, program, directory);
  }

 private:
  HWND owner_ = nullptr;
};

}  // namespace kivo::win32
