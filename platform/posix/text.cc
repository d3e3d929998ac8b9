#include "platform/text.h"

#include <cstdio>
#include <cstring>

namespace platform {

std::uint32_t TextLength(const char* text) { return static_cast<std::uint32_t>(std::strlen(text)); }

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
  std::uint32_t used = static_cast<std::uint32_t>(strnlen(dst, capacity));
  if (used >= capacity) return used;
  return used + TextCopy(dst + used, capacity - used, src);
}

int TextCompare(const char* a, const char* b) { return std::strcmp(a, b); }

std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  int n = std::vsnprintf(dst, capacity, format, args);
  if (n < 0) {
    dst[0] = '\0';
    return 0;
  }
  return static_cast<std::uint32_t>(n) < capacity ? static_cast<std::uint32_t>(n) : capacity - 1;
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
    if (*p == '\\' || *p == '/') last = p;
  }
  return last;
}

void MemoryCopy(void* dst, const void* src, std::uint32_t size) {
  if (size != 0) std::memmove(dst, src, size);
}
void MemoryFill(void* dst, std::uint8_t value, std::uint32_t size) {
  if (size != 0) std::memset(dst, value, size);
}
int MemoryCompare(const void* a, const void* b, std::uint32_t size) {
  return size == 0 ? 0 : std::memcmp(a, b, size);
}

}  // namespace platform
