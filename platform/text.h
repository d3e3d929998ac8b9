// The few text and memory primitives the Windows programs' code needs,
// written out here (the programs link no C runtime); only the formatter
// differs by system: wvsprintfA on Windows, the same rules of our own
// elsewhere.
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
// fit) by wsprintfA's rules on every system (platform/format.h lists them):
// at most 1,023 characters come out. Returns the length written.
std::uint32_t TextFormat(char* dst, std::uint32_t capacity, const char* format, ...);
std::uint32_t TextFormatV(char* dst, std::uint32_t capacity, const char* format, va_list args);

void MemoryCopy(void* dst, const void* src, std::uint32_t size);
void MemoryFill(void* dst, std::uint8_t value, std::uint32_t size);
int MemoryCompare(const void* a, const void* b, std::uint32_t size);

}  // namespace platform
