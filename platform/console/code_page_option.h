// The number after a --codepage option, read the same way by every tool.
// Each tool keeps its own words for a refusal.
#pragma once

namespace platform::console {

// Digits only, so that "1252x" is not taken for 1252, and a number from 1 to
// 65535 (a Windows code page identifier). False, and `number` untouched,
// for anything else.
bool ParseCodePageNumber(const char* text, unsigned* number);

}  // namespace platform::console
