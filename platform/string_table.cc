#include "platform/string_table.h"

#include "platform/text.h"

namespace platform {

const char* CompiledStringTable::Find(std::uint32_t id) const {
  for (std::uint32_t i = 0; i < count_; ++i) {
    if (entries_[i].id == id) return entries_[i].text;
  }
  return nullptr;
}

std::uint32_t CompiledStringTable::Load(std::uint32_t id, char* buffer,
                                        std::uint32_t capacity) const {
  if (capacity == 0) return 0;
  const char* text = Find(id);
  if (text == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  return TextCopy(buffer, capacity, text);
}

}  // namespace platform
