#include "tools/wendplan/floppy_fat.h"

#include <cstring>

namespace wendplan {
namespace {

bool IsShortNameChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

bool IsReservedDevice(const std::string& name) {
  std::string base = FoldCase(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (const char* d : kDevices)
    if (base == d) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::uint64_t ClustersOf(std::uint64_t bytes) { return (bytes + kClusterBytes - 1) / kClusterBytes; }

bool IsPlainShortName(const std::string& name) {
  std::size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  for (char c : base + ext)
    if (!IsShortNameChar(static_cast<unsigned char>(c))) return false;
  return true;
}

std::uint32_t RootSlotsOf(const std::string& name) {
  if (IsPlainShortName(name)) return 1;
  return 1 + static_cast<std::uint32_t>((name.size() + 12) / 13);
}

std::string WhyNotStorable(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return "not a file name";
  if (name.size() > 255) return "longer than 255 characters";
  for (unsigned char c : name) {
    if (c < 0x20 || std::strchr("\"*/:<>?\\|", c) != nullptr) return "holds a character FAT does not allow";
  }
  if (name.back() == '.' || name.back() == ' ') return "ends in a dot or a blank";
  if (name.front() == ' ') return "begins with a blank";
  if (IsReservedDevice(name)) return "is the name of a device";
  return "";
}

std::string FoldCase(const std::string& name, const kivopack::KitNames& names) {
  std::string folded = name;
  for (char& c : folded) c = names.UpperCase(c);
  return folded;
}

}  // namespace wendplan
