// The Windows rules for one name: which names a file can be given so that
// it is stored, found and opened under exactly that name, and how Windows
// folds the case of names. Every program and tool takes them from here: the
// extractor's entry check, the packer, the planner and the floppy volume,
// so that a name one of them accepts is accepted by all.
//
// A name here is one component (no separator in it), in a single-byte code
// page. Runtime-free: the installer stub carries it.
#pragma once

#include <cstdint>

namespace platform::name {

// The longest component Windows and FAT long names allow.
constexpr std::uint32_t kMaxLength = 255;

// Why Windows would not store a file under a name as given. The order is
// the order of the checks: a name gets the first answer that applies.
enum class Refusal : std::uint8_t {
  kNone,
  kNotAName,              // empty, "." or ".."
  kTooLong,               // more than kMaxLength characters
  kForbiddenCharacter,    // below 0x20, or one of " * / : < > ? \ |
  kTrailingDotOrBlank,    // Windows drops them: "a." would be "a"
  kLeadingBlank,          // FAT drops them from a long name
  kDevice,                // CON, PRN, AUX, NUL, CONIN$, CONOUT$, CLOCK$,
                          // COM0-9, LPT0-9, with or without an extension
};

// The first rule the `length` characters at `component` break.
Refusal WhyRefused(const char* component, std::uint32_t length);

// ASCII's letters in upper case, every other byte as it is.
constexpr char AsciiUpper(char c) {
  return static_cast<unsigned char>(c - 'a') < 26 ? static_cast<char>(c - 'a' + 'A') : c;
}

// A code page's case as Windows folds names: each byte's upper-case
// partner, so that "é.txt" and "É.TXT" name one file and "ß" stays. Two
// names that fold alike cannot stand in one folder. Whoever knows the code
// page's characters pairs them; until then only ASCII folds.
class CaseTable {
 public:
  constexpr CaseTable() {
    for (unsigned b = 0; b < 256; ++b) upper_[b] = static_cast<unsigned char>(AsciiUpper(static_cast<char>(b)));
  }

  void Pair(char lower, char upper) { upper_[static_cast<unsigned char>(lower)] = static_cast<unsigned char>(upper); }

  char Upper(char c) const { return static_cast<char>(upper_[static_cast<unsigned char>(c)]); }

  // Folds `length` bytes of `text` in place.
  void Fold(char* text, std::uint32_t length) const {
    for (std::uint32_t i = 0; i < length; ++i) text[i] = Upper(text[i]);
  }

 private:
  unsigned char upper_[256] = {};
};

// Folds ASCII only: for names whose code page is not known.
inline constexpr CaseTable kAsciiCase{};

}  // namespace platform::name
