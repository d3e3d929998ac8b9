#include "kit/kit_names.h"

namespace kivopack {

std::string KitNames::CannotHold(const std::string& what, const std::string& host,
                                 const std::string& missing) const {
  std::string line = "code page " + std::to_string(codePage()) + " cannot hold " + what + " " + host;
  if (!missing.empty()) line += " (\"" + missing + "\")";
  return line;
}

bool KitNames::ParseNumber(const std::string& text, unsigned* number) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  unsigned long n = std::stoul(text);
  if (n == 0 || n > 65535) return false;
  *number = static_cast<unsigned>(n);
  return true;
}

const KitNames& KitNames::AsciiOnly() {
  static const KitNames ascii;
  return ascii;
}

}  // namespace kivopack
