// The few functions the compiler itself emits calls to, for a program linked
// without any C runtime.
#include <stddef.h>

extern "C" {

void* memcpy(void* dst, const void* src, size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  while (n-- > 0) *d++ = *s++;
  return dst;
}

void* memmove(void* dst, const void* src, size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  if (d < s) {
    while (n-- > 0) *d++ = *s++;
  } else {
    while (n-- > 0) d[n] = s[n];
  }
  return dst;
}

void* memset(void* dst, int value, size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  while (n-- > 0) *d++ = static_cast<unsigned char>(value);
  return dst;
}

int memcmp(const void* a, const void* b, size_t n) {
  const unsigned char* p = static_cast<const unsigned char*>(a);
  const unsigned char* q = static_cast<const unsigned char*>(b);
  for (; n > 0; --n, ++p, ++q) {
    if (*p != *q) return *p - *q;
  }
  return 0;
}

// Called only if a pure virtual function were ever reached.
void __cxa_pure_virtual() {
  for (;;) {
  }
}

}  // extern "C"
