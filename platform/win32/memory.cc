#include "platform/memory.h"

#include <windows.h>

namespace platform {
namespace {

class Win32Memory final : public Memory {
 public:
  void* Allocate(std::uint32_t size) override {
    return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
  }
  void Release(void* block) override {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
  }
};

Win32Memory memory;

}  // namespace

Memory& DefaultMemory() { return memory; }

}  // namespace platform
