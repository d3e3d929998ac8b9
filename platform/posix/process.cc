#include "platform/process.h"

#include <unistd.h>

#include <climits>

#include "platform/text.h"

namespace platform {
namespace {

class PosixProcess final : public Process {
 public:
  std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const override {
    if (capacity == 0) return 0;
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
      buffer[0] = '\0';
      return 0;
    }
    path[n] = '\0';
    return TextCopy(buffer, capacity, path);
  }

  std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const override {
    if (capacity == 0) return 0;
    char path[PATH_MAX];
    if (getcwd(path, sizeof path) == nullptr) {
      buffer[0] = '\0';
      return 0;
    }
    return TextCopy(buffer, capacity, path);
  }
};

PosixProcess process;

}  // namespace

Process& DefaultProcess() { return process; }

}  // namespace platform
