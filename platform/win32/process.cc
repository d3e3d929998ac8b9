#include "platform/process.h"

#include <windows.h>

namespace platform {
namespace {

class Win32Process final : public Process {
 public:
  std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const override {
    if (capacity == 0) return 0;
    DWORD n = GetModuleFileNameA(nullptr, buffer, capacity);
    if (n >= capacity) n = capacity - 1;  // older systems do not terminate a cut name
    buffer[n] = '\0';
    return n;
  }
  std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const override {
    if (capacity == 0) return 0;
    DWORD n = GetCurrentDirectoryA(capacity, buffer);
    if (n == 0 || n >= capacity) {  // too long: the buffer holds nothing usable
      buffer[0] = '\0';
      return 0;
    }
    return n;
  }
};

Win32Process process;

}  // namespace

Process& DefaultProcess() { return process; }

}  // namespace platform
