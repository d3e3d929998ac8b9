#include "unpack/frame/win32/launch.h"

#include <shellapi.h>

#include "platform/process.h"

namespace kivo::win32 {

bool LaunchProgram(HWND owner, const char* program, const char* directory) {
  char self[MAX_PATH];
  if (platform::DefaultProcess().ProgramPath(self, sizeof self) != 0) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\VQLT", 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "Info", 0, REG_SZ, reinterpret_cast<const BYTE*>(self),
                     static_cast<DWORD>(lstrlenA(self) + 1));
      RegCloseKey(key);
    }
  }
  HINSTANCE started = ShellExecuteA(owner, nullptr, program, nullptr, directory, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(started) > 32;
}

}  // namespace kivo::win32
