// Allocation that reports failure by a null pointer, never by an exception.
#pragma once

#include <cstdint>

namespace platform {

class Memory {
 public:
  virtual void* Allocate(std::uint32_t size) = 0;
  virtual void Release(void* block) = 0;

 protected:
  ~Memory() = default;
};

Memory& DefaultMemory();

}  // namespace platform
