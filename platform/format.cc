#include "platform/format.h"

namespace platform {
namespace {

// Appends to the output and stops quietly at the limit.
class Output {
 public:
  explicit Output(char* out) : out_(out) {}
  void Put(char c) {
    if (length_ + 1 < kFormatLimit) out_[length_++] = c;
  }
  void Repeat(char c, std::int32_t count) {
    for (; count > 0; --count) Put(c);
  }
  std::uint32_t Finish() {
    out_[length_] = '\0';
    return length_;
  }

 private:
  char* out_;
  std::uint32_t length_ = 0;
};

struct Directive {
  bool left = false, prefix = false, zero = false;
  std::int32_t width = 0, precision = -1;
};

std::uint32_t Length(const char* text) {
  std::uint32_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

// A field: sign or prefix, zeros up to the precision, the digits or text,
// padded to the width.
void Field(Output& out, const Directive& directive, const char* lead, const char* body, std::int32_t bodyLength,
           std::int32_t zeros) {
  std::int32_t leadLength = static_cast<std::int32_t>(Length(lead));
  std::int32_t pad = directive.width - leadLength - zeros - bodyLength;
  if (pad > 0 && !directive.left && directive.zero) {
    zeros += pad;
    pad = 0;
  }
  if (!directive.left) out.Repeat(' ', pad);
  for (const char* p = lead; *p != '\0'; ++p) out.Put(*p);
  out.Repeat('0', zeros);
  for (std::int32_t i = 0; i < bodyLength; ++i) out.Put(body[i]);
  if (directive.left) out.Repeat(' ', pad);
}

void Number(Output& out, const Directive& directive, std::uint32_t value, bool negative, std::uint32_t base,
            bool upper, const char* prefix) {
  char digits[16];
  std::int32_t n = 0;
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[15 - n++] = set[value % base];
    value /= base;
  } while (value != 0);
  std::int32_t zeros = directive.precision > n ? directive.precision - n : 0;
  Field(out, directive, negative ? "-" : prefix, digits + 16 - n, n, zeros);
}

}  // namespace

std::uint32_t FormatWindowsStyle(char* out, const char* format, va_list args) {
  Output o(out);
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      o.Put(*p);
      continue;
    }
    if (*++p == '\0') break;  // a lone % at the end
    Directive directive;
    for (;; ++p) {
      if (*p == '-') {
        directive.left = true;
      } else if (*p == '#') {
        directive.prefix = true;
      } else if (*p == '0') {
        directive.zero = true;
      } else {
        break;
      }
    }
    while (*p >= '0' && *p <= '9') directive.width = directive.width * 10 + (*p++ - '0');
    if (*p == '.') {
      directive.precision = 0;
      while (*++p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p - '0');
      if (directive.precision == 0) directive.precision = -1;  // ".0" sets no precision at all
    }
    // Sizes: a long and an int are the same here, and a short is passed
    // as an int.
    while (*p == 'l' || *p == 'h' || *p == 'w') ++p;
    switch (*p) {
      case 'd':
      case 'i': {
        std::int32_t v = va_arg(args, std::int32_t);
        std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
        Number(o, directive, magnitude, v < 0, 10, false, "");
        break;
      }
      case 'u':
        Number(o, directive, va_arg(args, std::uint32_t), false, 10, false, "");
        break;
      case 'x':
      case 'X': {
        bool upper = *p == 'X';
        Number(o, directive, va_arg(args, std::uint32_t), false, 16, upper,
               directive.prefix ? (upper ? "0X" : "0x") : "");
        break;
      }
      case 'p': {
        // Eight digits, as the 32-bit programs show a pointer.
        Directive wide;
        wide.zero = true;
        wide.width = 8;
        Number(o, wide, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(va_arg(args, void*))),
               false, 16, true, "");
        break;
      }
      case 'c':
      case 'C': {
        char c = static_cast<char>(va_arg(args, int));
        Field(o, directive, "", &c, 1, 0);
        break;
      }
      case 's':
      case 'S': {
        const char* text = va_arg(args, const char*);
        if (text == nullptr) text = "(null)";
        std::int32_t n = static_cast<std::int32_t>(Length(text));
        if (directive.precision >= 0 && directive.precision < n) n = directive.precision;
        Directive plain = directive;
        plain.zero = false;
        Field(o, plain, "", text, n, 0);
        break;
      }
      case '\0':
        --p;  // the format ended inside a directive
        break;
      default:
        o.Put(*p);  // %% and anything unknown stand for themselves
        break;
    }
  }
  return o.Finish();
}

}  // namespace platform
