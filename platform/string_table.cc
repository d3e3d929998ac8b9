#include "platform/string_table.h"

#include <cstdarg>

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

TextBuffer LoadText(const StringTable& strings, std::uint32_t id) {
  TextBuffer text;
  strings.Load(id, text.data(), text.capacity());
  text.Sync();
  return text;
}

TextBuffer FormatText(const StringTable& strings, std::uint32_t id, ...) {
  TextBuffer format = LoadText(strings, id);
  TextBuffer text;
  va_list args;
  va_start(args, id);
  TextFormatV(text.data(), text.capacity(), format.c_str(), args);
  va_end(args);
  text.Sync();
  return text;
}

}  // namespace platform
