#include "floppy/names.h"

#include <algorithm>
#include <cstring>

namespace floppy {
namespace {

class Latin1 final : public NameCodec {
 public:
  char16_t Wide(char c) const override { return static_cast<unsigned char>(c); }
  const platform::name::CaseTable& Case() const override { return platform::name::kAsciiCase; }
};

// Characters a short name holds as they are, besides letters and digits.
bool IsShortNameChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

// One character of a long name as a short name holds it; '_' (and *lossy)
// for one it cannot.
char ShortChar(char c, bool* lossy) {
  char upper = platform::name::AsciiUpper(c);
  if (IsShortNameChar(static_cast<unsigned char>(upper))) return upper;
  *lossy = true;
  return '_';
}

}  // namespace

const NameCodec& Latin1Codec() {
  static const Latin1 codec;
  return codec;
}

std::string ShortNameText(const ShortName& name) {
  std::string base(name.data(), 8), ext(name.data() + 8, 3);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  while (!ext.empty() && ext.back() == ' ') ext.pop_back();
  return ext.empty() ? base : base + "." + ext;
}

std::uint8_t ShortNameChecksum(const ShortName& name) {
  std::uint8_t sum = 0;
  for (char c : name) sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + static_cast<unsigned char>(c));
  return sum;
}

bool IsPlainShortName(std::string_view name) {
  std::size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  for (std::string_view part : {base, ext})
    for (char c : part)
      if (!IsShortNameChar(static_cast<unsigned char>(c))) return false;
  return true;
}

ShortBasis ShortBasisOf(std::string_view name) {
  std::string squeezed;
  for (char c : name)
    if (c != ' ') squeezed += c;
  std::size_t start = squeezed.find_first_not_of('.');
  std::string_view rest = start == std::string::npos ? std::string_view() : std::string_view(squeezed).substr(start);

  ShortBasis basis;
  bool lossy = false;
  for (std::size_t i = 0; i < rest.size() && rest[i] != '.' && basis.base.size() < 8; ++i)
    basis.base += ShortChar(rest[i], &lossy);
  std::size_t lastDot = rest.rfind('.');
  if (lastDot != std::string_view::npos) {
    for (std::size_t i = lastDot + 1; i < rest.size() && basis.extension.size() < 3; ++i)
      basis.extension += ShortChar(rest[i], &lossy);
  }
  if (basis.base.empty()) {  // nothing a short name could take
    basis.base.push_back('_');
    lossy = true;
  }
  // The name itself in upper case, as far as ASCII goes: no tail then.
  std::string upper = FoldKey(name, Latin1Codec());
  std::string plain = basis.base;
  if (!basis.extension.empty()) plain.append(1, '.').append(basis.extension);
  basis.needsTail = lossy || upper != plain;
  return basis;
}

ShortName ShortNameWithTail(const ShortBasis& basis, unsigned n) {
  std::string base = basis.base;
  if (n > 0) {
    std::string tail = std::to_string(n);
    base.resize(std::min(base.size(), 7 - tail.size()));
    base.append(1, '~').append(tail);
  }
  ShortName out;
  out.fill(' ');
  std::memcpy(out.data(), base.data(), base.size() < 8 ? base.size() : 8);
  std::memcpy(out.data() + 8, basis.extension.data(), basis.extension.size());
  return out;
}

std::u16string LongNameOf(std::string_view name, const NameCodec& codec) {
  std::u16string wide;
  wide.reserve(name.size());
  for (char c : name) wide += codec.Wide(c);
  return wide;
}

std::string WhyNotStorable(std::string_view name) {
  using platform::name::Refusal;
  // Counted no further than one past the limit: longer is too long whatever the size.
  auto length = static_cast<std::uint32_t>(std::min<std::size_t>(name.size(), platform::name::kMaxLength + 1));
  switch (platform::name::WhyRefused(name.data(), length)) {
    case Refusal::kNone: return "";
    case Refusal::kNotAName: return "not a file name";
    case Refusal::kTooLong: return "longer than 255 characters";
    case Refusal::kForbiddenCharacter: return "holds a character FAT does not allow";
    case Refusal::kTrailingDotOrBlank: return "ends in a dot or a blank";
    case Refusal::kLeadingBlank: return "begins with a blank";
    case Refusal::kDevice: return "is the name of a device";
  }
  return "";
}

std::uint32_t RootSlotsOf(std::string_view name) {
  if (IsPlainShortName(name)) return 1;
  return 1 + static_cast<std::uint32_t>((name.size() + 12) / 13);
}

std::uint64_t ClustersOf(std::uint64_t bytes, std::uint32_t clusterBytes) {
  return (bytes + clusterBytes - 1) / clusterBytes;
}

std::string FoldKey(std::string_view name, const NameCodec& codec) { return FoldKey(name, codec.Case()); }

std::string FoldKey(std::string_view name, const platform::name::CaseTable& cases) {
  std::string key(name);
  cases.Fold(key.data(), static_cast<std::uint32_t>(key.size()));
  return key;
}

}  // namespace floppy
