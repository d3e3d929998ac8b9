// What the running program knows about itself.
#pragma once

#include <cstdint>

namespace platform {

class Process {
 public:
  // Full path of the running program file, as GetModuleFileNameA gives it:
  // copied into buffer (cut to capacity - 1), length returned, 0 on failure.
  virtual std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const = 0;

  // The process's current directory, absolute; 0 on failure.
  virtual std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const = 0;

 protected:
  ~Process() = default;
};

Process& DefaultProcess();

}  // namespace platform
