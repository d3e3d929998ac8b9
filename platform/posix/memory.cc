#include "platform/memory.h"

#include <cstdlib>

namespace platform {
namespace {

class PosixMemory final : public Memory {
 public:
  void* Allocate(std::uint32_t size) override { return std::malloc(size == 0 ? 1 : size); }
  void Release(void* block) override { std::free(block); }
};

}  // namespace

Memory& DefaultMemory() {
  static PosixMemory memory;
  return memory;
}

}  // namespace platform
