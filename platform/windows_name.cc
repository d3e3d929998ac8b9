#include "platform/windows_name.h"

namespace platform::name {
namespace {

// Each device's length, then its name; '#' stands for a port number. Kept
// as one string, as it costs the installer stub the fewest bytes.
constexpr char kDevices[] = "\3CON\3PRN\3AUX\3NUL\6CONIN$\7CONOUT$\6CLOCK$\4COM#\4LPT#";

// Below 0x20, or one of " * / : < > ? \ |: the first seven as bits from
// 0x20 on.
bool IsForbidden(unsigned char c) {
  constexpr std::uint32_t kPunctuation = 1u << 2 | 1u << 10 | 1u << 15 | 1u << 26 | 1u << 28 | 1u << 30 | 1u << 31;
  if (c < 0x40) return c < 0x20 || (kPunctuation >> (c - 0x20) & 1) != 0;
  return c == '\\' || c == '|';
}

// Later systems also read the superscript digits 1, 2 and 3 (as code page
// 1252 and its neighbours place them) as port numbers.
bool IsPortDigit(unsigned char c) {
  return static_cast<unsigned char>(c - '0') < 10 || static_cast<unsigned char>(c - 0xB2) < 2 || c == 0xB9;
}

// The part before the first dot, without the blanks before it, names the
// device: "nul", "NUL.txt" and "com1 .log" all open one instead of a file.
bool IsDevice(const char* component, std::uint32_t length) {
  std::uint32_t base = 0;
  while (base < length && component[base] != '.') ++base;
  while (base > 0 && component[base - 1] == ' ') --base;
  for (const char* d = kDevices; *d != '\0'; d += 1 + *d) {
    if (static_cast<std::uint32_t>(*d) != base) continue;
    std::uint32_t i = 0;
    for (; i < base; ++i) {
      char c = AsciiUpper(component[i]);
      if (d[1 + i] == '#' ? !IsPortDigit(static_cast<unsigned char>(c)) : c != d[1 + i]) break;
    }
    if (i == base) return true;
  }
  return false;
}

}  // namespace

Refusal WhyRefused(const char* component, std::uint32_t length) {
  if (length == 0) return Refusal::kNotAName;
  if (length > kMaxLength) return Refusal::kTooLong;
  for (std::uint32_t i = 0; i < length; ++i) {
    if (IsForbidden(static_cast<unsigned char>(component[i]))) return Refusal::kForbiddenCharacter;
  }
  char last = component[length - 1];
  if (last == '.' || last == ' ') {
    // "." and ".." are no names at all rather than names that lose a dot.
    return length <= 2 && component[0] == '.' && last == '.' ? Refusal::kNotAName : Refusal::kTrailingDotOrBlank;
  }
  if (component[0] == ' ') return Refusal::kLeadingBlank;
  return IsDevice(component, length) ? Refusal::kDevice : Refusal::kNone;
}

}  // namespace platform::name
