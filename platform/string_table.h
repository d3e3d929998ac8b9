// Texts addressed by number: a STRINGTABLE resource on Windows, the same
// entries compiled in elsewhere.
#pragma once

#include <cstdint>

#include "platform/bounded_string.h"

namespace platform {

struct StringEntry {
  std::uint32_t id;
  const char* text;
};

class StringTable {
 public:
  // LoadStringA: copies the text cut to capacity - 1 characters and returns
  // its length; 0 (and an empty buffer) when there is no such string.
  virtual std::uint32_t Load(std::uint32_t id, char* buffer, std::uint32_t capacity) const = 0;

 protected:
  ~StringTable() = default;
};

// A table over compiled-in entries (the same include file that feeds the
// resource script).
class CompiledStringTable final : public StringTable {
 public:
  constexpr CompiledStringTable(const StringEntry* entries, std::uint32_t count)
      : entries_(entries), count_(count) {}
  std::uint32_t Load(std::uint32_t id, char* buffer, std::uint32_t capacity) const override;
  const char* Find(std::uint32_t id) const;

 private:
  const StringEntry* entries_;
  std::uint32_t count_;
};

// String `id` of `strings`, cut to the buffer; empty when there is none.
TextBuffer LoadText(const StringTable& strings, std::uint32_t id);

// String `id` as the format of the arguments that follow (the rules of
// platform/format.h), cut to the buffer.
TextBuffer FormatText(const StringTable& strings, std::uint32_t id, ...);

}  // namespace platform
