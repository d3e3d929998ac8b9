// Which entry names the extractor writes. Windows reads more into a name
// than its characters: separators, drives, streams, devices, and trailing
// dots and blanks it silently drops. A name is written only when none of
// that applies, so the file that ends up on disk has exactly the name the
// archive gives it and lies below the target folder.
#include "unpack/archive/format.h"

namespace kivo {
namespace {

bool IsForbiddenCharacter(unsigned char c) {
  switch (c) {
    case '<': case '>': case ':': case '"': case '|': case '?': case '*': case '/':
      return true;
    default:
      return c < 0x20;
  }
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameLetters(const char* text, std::uint32_t length, const char* upper) {
  std::uint32_t i = 0;
  for (; i < length && upper[i] != '\0'; ++i) {
    if (Upper(text[i]) != upper[i]) return false;
  }
  return i == length && upper[i] == '\0';
}

// The part before the first dot, without trailing blanks, names a device:
// "nul", "NUL.txt" and "com1 .log" all open a device instead of a file.
bool IsDeviceName(const char* component, std::uint32_t length) {
  std::uint32_t base = 0;
  while (base < length && component[base] != '.') ++base;
  while (base > 0 && component[base - 1] == ' ') --base;
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$",
                                             "CLOCK$"};
  for (const char* device : kDevices) {
    if (SameLetters(component, base, device)) return true;
  }
  if (base == 4 && (SameLetters(component, 3, "COM") || SameLetters(component, 3, "LPT"))) {
    unsigned char digit = static_cast<unsigned char>(component[3]);
    // Later systems also read the superscript digits 1, 2 and 3 as port numbers.
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

bool IsAcceptableComponent(const char* component, std::uint32_t length) {
  if (length == 0) return false;
  char last = component[length - 1];
  if (last == '.' || last == ' ') return false;  // also refuses "." and ".."
  return !IsDeviceName(component, length);
}

}  // namespace

bool IsAcceptableEntryName(const char* name) {
  const char* component = name;
  for (const char* p = name;; ++p) {
    if (*p != '\0' && IsForbiddenCharacter(static_cast<unsigned char>(*p))) return false;
    if (*p != '\\' && *p != '\0') continue;
    if (!IsAcceptableComponent(component, static_cast<std::uint32_t>(p - component))) return false;
    if (*p == '\0') return true;
    component = p + 1;
  }
}

}  // namespace kivo
