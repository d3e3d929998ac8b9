#include "kit/kit_names.h"

namespace kit {

std::string KitNames::CannotHold(const std::string& what, const std::string& host,
                                 const std::string& missing) const {
  std::string line = "code page " + std::to_string(codePage()) + " cannot hold " + what + " " + host;
  if (!missing.empty()) line += " (\"" + missing + "\")";
  return line;
}

const KitNames& KitNames::AsciiOnly() {
  static const KitNames ascii;
  return ascii;
}

}  // namespace kit
