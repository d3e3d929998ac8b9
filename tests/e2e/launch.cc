// Starts a program with a command line taken word for word from a file, waits
// for it and ends with its exit code. Wine quotes the arguments it is given
// again before a program sees them; a test that needs an exact command line
// (-d"C:\with blanks") goes through here.
//   launch.exe FILE
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: launch FILE\n");
    return 2;
  }
  std::FILE* f = std::fopen(argv[1], "rb");
  if (f == nullptr) return 2;
  std::string line;
  for (int c; (c = std::fgetc(f)) != EOF && c != '\n' && c != '\r';) line += static_cast<char>(c);
  std::fclose(f);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "launch: cannot start %s (error %lu)\n", line.c_str(), GetLastError());
    return 2;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 2;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("exit %lu\n", code);
  return static_cast<int>(code);
}
