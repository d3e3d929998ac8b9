#include "platform/posix/code_page.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <strings.h>

#include <cerrno>
#include <cwctype>

namespace platform::posix {
namespace {

constexpr unsigned kSupported[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257};

// One iconv conversion, closed on every way out.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`. On a character it cannot convert it stops there
  // and returns false, with *done the bytes of `in` taken before it.
  bool Run(std::string_view in, std::string* out, std::size_t* done = nullptr) {
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[256];
    bool whole = true;
    while (whole && left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out->append(buffer, sizeof buffer - room);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) whole = false;
    }
    // A converter may hold a character back in case a combining mark
    // follows: let it go.
    while (whole) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      std::size_t rc = iconv(cd_, nullptr, nullptr, &dst, &room);
      out->append(buffer, sizeof buffer - room);
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) whole = false;
    }
    if (done != nullptr) *done = in.size() - left;
    return whole;
  }

 private:
  iconv_t cd_;
};

std::string Utf32(char32_t c) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
  return s;
}

char32_t FromUtf32(const char* p) {
  char32_t c = 0;
  for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>(p[i]);
  return c;
}

std::string HostCharset() {
  const char* set = nl_langinfo(CODESET);
  // The C and POSIX locales say ASCII; Debian's file names are UTF-8 even there.
  if (set == nullptr || *set == '\0' || strcasecmp(set, "ANSI_X3.4-1968") == 0 ||
      strcasecmp(set, "ASCII") == 0 || strcasecmp(set, "US-ASCII") == 0) {
    return "UTF-8";
  }
  return set;
}

}  // namespace

bool CodePage::IsSupported(unsigned number) {
  for (unsigned n : kSupported)
    if (n == number) return true;
  return false;
}

const char* CodePage::SupportedList() { return "874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257"; }

bool CodePage::Load(unsigned number, std::string* error) {
  if (!IsSupported(number)) {
    *error = "code page " + std::to_string(number) + " is not supported (supported: " + SupportedList() + ")";
    return false;
  }
  const std::string name = "CP" + std::to_string(number);
  bytes_.clear();
  for (unsigned b = 0; b < 256; ++b) {
    // Byte by byte, so that no converter composes a letter with the mark
    // after it: Windows reads these code pages one byte per character.
    Converter decode("UTF-32LE", name);
    if (!decode.ok()) {
      *error = "the C library cannot convert code page " + std::to_string(number);
      return false;
    }
    std::string one(1, static_cast<char>(b)), wide;
    if (decode.Run(one, &wide) && wide.size() == 4) {
      chars_[b] = FromUtf32(wide.data());
      bytes_.emplace(chars_[b], static_cast<unsigned char>(b));
    } else {
      chars_[b] = b;
    }
    if (b < 0x80 && chars_[b] != b) {
      *error = "code page " + std::to_string(number) + " does not keep ASCII as it is";
      return false;
    }
  }

  case_ = platform::name::CaseTable();
  if (locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    for (unsigned b = 0x80; b < 256; ++b) {
      char32_t c = chars_[b];
      if (bytes_.count(c) == 0 || c == 0xB5) continue;
      char32_t up = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
      auto it = bytes_.find(up);
      if (up != c && up >= 0x80 && it != bytes_.end()) case_.Pair(static_cast<char>(b), static_cast<char>(it->second));
    }
    freelocale(unicode);
  }
  host_ = HostCharset();
  // Names are nearly all ASCII, and the code pages keep ASCII as it is: when
  // the host's encoding does too, they need no converter (opening one costs
  // more than creating the file the name is for).
  std::string ascii, spelt;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  Converter encode(host_, "UTF-8");
  asciiAsIs_ = encode.ok() && encode.Run(ascii, &spelt) && spelt == ascii;
  number_ = number;
  return true;
}

bool CodePage::FromHost(std::string_view host, std::string* text, std::string* missing) const {
  text->clear();
  std::string wide;
  std::size_t taken = 0;
  Converter decode("UTF-32LE", host_);
  if (!decode.ok()) return false;
  bool whole = decode.Run(host, &wide, &taken);
  for (std::size_t i = 0; i + 4 <= wide.size(); i += 4) {
    auto it = bytes_.find(FromUtf32(wide.data() + i));
    if (it == bytes_.end()) {
      if (missing != nullptr) {
        missing->clear();
        Converter encode(host_, "UTF-32LE");
        if (encode.ok()) encode.Run(std::string_view(wide).substr(i, 4), missing);
      }
      return false;
    }
    text->push_back(static_cast<char>(it->second));
  }
  // A byte the host's encoding does not allow there: shown as it is.
  if (!whole && missing != nullptr) *missing = std::string(host.substr(taken, 1));
  return whole;
}

std::string CodePage::ToHost(std::string_view text) const {
  if (asciiAsIs_) {
    bool ascii = true;
    for (unsigned char b : text) ascii = ascii && b < 0x80;
    if (ascii) return std::string(text);
  }
  std::string wide, out;
  for (unsigned char b : text) wide += Utf32(chars_[b]);
  Converter encode(host_, "UTF-32LE");
  std::string_view rest(wide);
  while (!rest.empty() && encode.ok()) {
    std::size_t done = 0;
    if (encode.Run(rest, &out, &done)) break;
    out += '?';
    rest.remove_prefix(done + 4 <= rest.size() ? done + 4 : rest.size());
  }
  return out;
}

}  // namespace platform::posix
