// A fixed-capacity text buffer that cannot overflow: every write is cut to
// the capacity and the text is always terminated. Used where the design
// keeps texts in buffers of a fixed size (paths of 260 bytes and the like).
#pragma once

#include <cstdarg>
#include <cstdint>

#include "platform/text.h"
#include "platform/types.h"

namespace platform {

template <std::uint32_t Capacity>
class BoundedString {
  static_assert(Capacity > 0);

 public:
  BoundedString() { data_[0] = '\0'; }
  explicit BoundedString(const char* text) { Assign(text); }
  // Cut to the capacity, as Assign.
  BoundedString& operator=(const char* text) {
    Assign(text);
    return *this;
  }

  static constexpr std::uint32_t capacity() { return Capacity; }
  std::uint32_t size() const { return length_; }
  bool empty() const { return length_ == 0; }
  const char* c_str() const { return data_; }
  char* data() { return data_; }
  char operator[](std::uint32_t i) const { return data_[i]; }

  void Clear() {
    data_[0] = '\0';
    length_ = 0;
  }
  // Each of these returns false when the text had to be cut.
  bool Assign(const char* text) {
    length_ = TextCopy(data_, Capacity, text);
    return text[length_] == '\0';
  }
  // The first `length` characters of text (which need no terminator).
  bool Assign(const char* text, std::uint32_t length) {
    bool whole = length < Capacity;
    if (!whole) length = Capacity - 1;
    MemoryCopy(data_, text, length);
    data_[length] = '\0';
    length_ = length;
    return whole;
  }
  bool Append(const char* text) {
    std::uint32_t before = length_;
    length_ = TextAppend(data_, Capacity, text);
    return text[length_ - before] == '\0';
  }
  bool Append(char c) {
    if (length_ + 1 >= Capacity) return false;
    data_[length_++] = c;
    data_[length_] = '\0';
    return true;
  }
  bool Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    length_ = TextFormatV(data_, Capacity, format, args);
    va_end(args);
    return length_ + 1 < Capacity;
  }
  // Cuts the text to `length` characters (no effect when it is shorter).
  void Truncate(std::uint32_t length) {
    if (length < length_) {
      length_ = length;
      data_[length_] = '\0';
    }
  }
  // Recomputes the length after the buffer was filled through data().
  void Sync() {
    data_[Capacity - 1] = '\0';
    length_ = TextLength(data_);
  }

 private:
  char data_[Capacity];
  std::uint32_t length_ = 0;
};

template <std::uint32_t Capacity>
bool operator==(const BoundedString<Capacity>& a, const char* b) {
  return TextCompare(a.c_str(), b) == 0;
}
template <std::uint32_t A, std::uint32_t B>
bool operator==(const BoundedString<A>& a, const BoundedString<B>& b) {
  return TextCompare(a.c_str(), b.c_str()) == 0;
}

// A path or a profile value: 259 characters and the terminator.
using PathBuffer = BoundedString<kMaxPath>;
// A text of the string table, or a message formatted from one.
using TextBuffer = BoundedString<1024>;

}  // namespace platform
