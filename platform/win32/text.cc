// Text and memory primitives from kernel32 and user32 only, so that the
// installer stub needs no C runtime.
#include "platform/text.h"

#include <windows.h>

namespace platform {

std::uint32_t TextLength(const char* text) { return static_cast<std::uint32_t>(lstrlenA(text)); }

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

std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  // wvsprintfA writes at most 1024 characters and takes no size, so format
  // into a buffer of that size and cut the result to the caller's.
  char scratch[1025];
  int n = wvsprintfA(scratch, format, args);
  if (n < 0) n = 0;
  scratch[n < 1024 ? n : 1024] = '\0';
  return TextCopy(dst, capacity, scratch);
}

std::uint32_t TextFormat(char* dst, std::uint32_t capacity, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::uint32_t n = TextFormatV(dst, capacity, format, args);
  va_end(args);
  return n;
}

const char* LastPathSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\') last = p;
  }
  return last;
}

void MemoryCopy(void* dst, const void* src, std::uint32_t size) {
  auto* d = static_cast<unsigned char*>(dst);
  const auto* s = static_cast<const unsigned char*>(src);
  if (d < s) {
    for (std::uint32_t i = 0; i < size; ++i) d[i] = s[i];
  } else {
    for (std::uint32_t i = size; i > 0; --i) d[i - 1] = s[i - 1];
  }
}

void MemoryFill(void* dst, std::uint8_t value, std::uint32_t size) {
  auto* d = static_cast<unsigned char*>(dst);
  for (std::uint32_t i = 0; i < size; ++i) d[i] = value;
}

int MemoryCompare(const void* a, const void* b, std::uint32_t size) {
  const auto* p = static_cast<const unsigned char*>(a);
  const auto* q = static_cast<const unsigned char*>(b);
  for (std::uint32_t i = 0; i < size; ++i) {
    if (p[i] != q[i]) return static_cast<int>(p[i]) - static_cast<int>(q[i]);
  }
  return 0;
}

}  // namespace platform
