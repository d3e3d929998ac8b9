// The few text and memory primitives the installer stub's code needs. They
// come from the system (lstr*, wsprintfA) on Windows and from the C library
// elsewhere, so that code built on them needs no C runtime of its own.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace platform {

std::uint32_t TextLength(const char* text);

// Copies src into dst (capacity bytes, terminator included), cutting it when
// it does not fit. Returns the length copied.
std::uint32_t TextCopy(char* dst, std::uint32_t capacity, const char* src);

// Appends src to the text already in dst, cutting it to fit. Returns the new length.
std::uint32_t TextAppend(char* dst, std::uint32_t capacity, const char* src);

// Byte-wise comparison, <0, 0 or >0.
int TextCompare(const char* a, const char* b);

// Formats into dst (capacity bytes, always terminated, cut when it does not
// fit). Supports %s, %d, %u, %c, %lX and %lu with flags and widths as wsprintfA
// knows them. Returns the length written.
std::uint32_t TextFormat(char* dst, std::uint32_t capacity, const char* format, ...);
std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args);

// The last path separator of a path, or null when it has none. On Windows
// that is the last backslash; elsewhere a slash counts as well, since the
// system's own paths (the program's, the current directory) use slashes.
const char* LastPathSeparator(const char* path);

void MemoryCopy(void* dst, const void* src, std::uint32_t size);
void MemoryFill(void* dst, std::uint8_t value, std::uint32_t size);
int MemoryCompare(const void* a, const void* b, std::uint32_t size);

}  // namespace platform
