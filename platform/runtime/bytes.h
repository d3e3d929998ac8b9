// The byte loops behind memcpy, memmove, memset, memcmp and strlen in the Windows
// programs, which link no C runtime. Kept apart from the extern "C" names so
// the same loops are tested natively.
#pragma once

#include <cstddef>

namespace platform::runtime {

inline void* CopyBytes(void* dst, const void* src, std::size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  while (n-- > 0) *d++ = *s++;
  return dst;
}

// Overlapping ranges come out as if the source were copied aside first.
inline void* MoveBytes(void* dst, const void* src, std::size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  if (d < s) {
    while (n-- > 0) *d++ = *s++;
  } else {
    while (n-- > 0) d[n] = s[n];
  }
  return dst;
}

inline void* FillBytes(void* dst, int value, std::size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  while (n-- > 0) *d++ = static_cast<unsigned char>(value);
  return dst;
}

// Compares as unsigned bytes, so 0x80 sorts after 0x7F.
inline int CompareBytes(const void* a, const void* b, std::size_t n) {
  const unsigned char* p = static_cast<const unsigned char*>(a);
  const unsigned char* q = static_cast<const unsigned char*>(b);
  for (; n > 0; --n, ++p, ++q) {
    if (*p != *q) return *p - *q;
  }
  return 0;
}

inline std::size_t LengthOf(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

}  // namespace platform::runtime
