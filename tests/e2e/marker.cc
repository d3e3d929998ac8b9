// The program a test archive names: started by the extractor, it writes
// marker.txt holding its working folder into that folder, so that a test
// can see that it ran and where.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  HANDLE file = CreateFileA("marker.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, folder, length, &written, nullptr);
  CloseHandle(file);
  return 0;
}
