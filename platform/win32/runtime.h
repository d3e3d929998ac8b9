// Start-up and exit for the Windows programs, which link no C runtime: the
// program's own entry point calls these around its WinMain.
#pragma once

namespace platform::win32 {

// Runs the constructors of the program's globals. Call it first.
void RunStaticConstructors();

// Runs what was registered to run at exit (the globals' destructors among
// it) and ends the process with `code`.
[[noreturn]] void ExitProgram(unsigned code);

}  // namespace platform::win32
