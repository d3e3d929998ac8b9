// The text and memory primitives, the same on every system: only the
// formatter (text_format.cc of each system) differs.
#include "platform/text.h"

#include "platform/runtime/bytes.h"

namespace platform {

std::uint32_t TextLength(const char* text) {
  std::uint32_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

std::uint32_t TextCopy(char* dst, std::uint32_t capacity, const char* src) {
  if (capacity == 0) return 0;
  std::uint32_t n = 0;
  while (n + 1 < capacity && src[n] != '\0') {
    dst[n] = src[n];
    ++n;
  }
  dst[n] = '\0';
  return n;
}

std::uint32_t TextAppend(char* dst, std::uint32_t capacity, const char* src) {
  std::uint32_t used = 0;
  while (used < capacity && dst[used] != '\0') ++used;
  if (used >= capacity) return used;
  return used + TextCopy(dst + used, capacity - used, src);
}

int TextCompare(const char* a, const char* b) {
  // Byte-wise, unlike lstrcmpA, which follows the locale.
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
  while (*p != 0 && *p == *q) {
    ++p;
    ++q;
  }
  return static_cast<int>(*p) - static_cast<int>(*q);
}

std::uint32_t TextFormat(char* dst, std::uint32_t capacity, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::uint32_t n = TextFormatV(dst, capacity, format, args);
  va_end(args);
  return n;
}

void MemoryCopy(void* dst, const void* src, std::uint32_t size) { runtime::MoveBytes(dst, src, size); }

void MemoryFill(void* dst, std::uint8_t value, std::uint32_t size) { runtime::FillBytes(dst, value, size); }

int MemoryCompare(const void* a, const void* b, std::uint32_t size) {
  return runtime::CompareBytes(a, b, size);
}

}  // namespace platform
