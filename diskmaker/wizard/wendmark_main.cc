// Wendmark's entry point: the program object runs start-up and the wizard.
// The program links no C runtime (it must start on a Windows 95 without
// msvcrt.dll), so WendmarkStart stands in for the runtime's start-up code.
#include <windows.h>

#include "diskmaker/wizard/wendmark_app.h"
#include "diskmaker/wizard/wizard_logic.h"
#include "platform/win32/runtime.h"
#include "platform/windows_path.h"

namespace {

wendmark::CWendmarkApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // No "no disk in drive" box of the system's own: our disk check asks first.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  return theApp.Run(instance);
}

extern "C" void WendmarkStart() {
  platform::win32::RunStaticConstructors();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  char* arguments = const_cast<char*>(platform::path::ArgumentsOf(GetCommandLineA()));
  platform::win32::ExitProgram(static_cast<unsigned>(WinMain(instance, nullptr, arguments, SW_SHOWNORMAL)));
}
