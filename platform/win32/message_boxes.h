// Message boxes and string resources of the real system.
#pragma once

#include "platform/string_table.h"
#include "platform/ui.h"

namespace platform::win32 {

// Modal message boxes owned by a window (none until one is set).
class SystemMessageBoxes final : public ::platform::ui::MessageBoxes {
 public:
  explicit constexpr SystemMessageBoxes(void* owner = nullptr) : owner_(owner) {}
  void SetOwner(void* owner) { owner_ = owner; }
  void* owner() const { return owner_; }
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  void* owner_;
};

// The STRINGTABLE of a module, read with LoadStringA.
class ResourceStringTable final : public StringTable {
 public:
  explicit constexpr ResourceStringTable(void* instance) : instance_(instance) {}
  std::uint32_t Load(std::uint32_t id, char* buffer, std::uint32_t capacity) const override;

 private:
  void* instance_;
};

}  // namespace platform::win32
