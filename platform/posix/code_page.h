// The Windows ANSI code page that text is held in, for programs that run on
// Linux and hand names to Windows machines or take names from them. Windows
// keeps every name a program sees in the system's single-byte code page; a
// Linux host keeps its names in the locale's encoding (UTF-8 as a rule). This
// class converts between the two, exactly and one character per byte.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/windows_name.h"

namespace platform::posix {

class CodePage {
 public:
  // What a kit is written in unless told otherwise: Western European.
  static constexpr unsigned kDefault = 1252;

  // The code pages this class can hold text in: Windows's single-byte ANSI
  // code pages. 1258 is left out: it spells most Vietnamese letters as a
  // letter plus a combining mark, so names as a Linux host spells them would
  // nearly all be refused.
  static bool IsSupported(unsigned number);
  // "874, 1250, 1251, ..., 1257", for help texts and refusals.
  static const char* SupportedList();

  // Loads `number`'s characters (from the C library's converters) and takes
  // the host's encoding from the locale (LC_CTYPE; the C and POSIX locales
  // count as UTF-8, which is how Debian names its files). False with a
  // one-line `error` for a code page it does not support.
  bool Load(unsigned number, std::string* error);

  unsigned number() const { return number_; }

  // Host text in the code page. False when a character has no byte in it
  // (or the text is not valid in the host's encoding); `missing` then gets
  // the first such character as the host spells it.
  bool FromHost(std::string_view host, std::string* text, std::string* missing = nullptr) const;

  // Code page text in the host's encoding. A byte the code page leaves
  // unused (an archive made elsewhere) stands for the control character of
  // the same number, as Windows reads 1252's five unused bytes; a character
  // the host's encoding lacks becomes '?'.
  std::string ToHost(std::string_view text) const;

  // The byte of the upper-case form of `c` in this code page, as Windows
  // folds names: a letter's Unicode upper-case partner when the code page
  // holds it. No letter outside ASCII is folded onto an ASCII one (dotless
  // i, long s) and the micro sign is not folded onto Greek capital mu.
  char UpperCase(char c) const { return case_.Upper(c); }
  // The same for every byte; ASCII only before Load.
  const platform::name::CaseTable& Case() const { return case_; }

  // The Unicode character byte `c` stands for (an unused byte: the control
  // character of the same number, as ToHost reads it).
  char32_t Character(char c) const { return chars_[static_cast<unsigned char>(c)]; }

 private:
  unsigned number_ = 0;
  std::array<char32_t, 256> chars_{};  // what each byte stands for
  std::unordered_map<char32_t, unsigned char> bytes_;  // the byte of each character it holds
  platform::name::CaseTable case_;
  std::string host_;  // the host's encoding, as iconv names it
  bool asciiAsIs_ = false;  // the host spells ASCII as ASCII, as nearly every encoding does
};

}  // namespace platform::posix
