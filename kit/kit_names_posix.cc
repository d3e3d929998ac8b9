// On Linux the kit's code page is ours to choose, and every name crosses
// between it and the host's encoding here.
#include "kit/kit_names.h"

#include <algorithm>

namespace kivopack {
namespace {

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

bool KitNames::Load(unsigned number, std::string* error) {
  return page_.Load(number == 0 ? platform::posix::CodePage::kDefault : number, error);
}

unsigned KitNames::codePage() const { return page_.number(); }

bool KitNames::FromHost(const std::string& host, std::string* kit, std::string* missing) const {
  if (page_.number() != 0) return page_.FromHost(host, kit, missing);
  if (missing != nullptr) missing->clear();
  if (!IsAscii(host)) return false;
  *kit = host;
  return true;
}

bool KitNames::NameOf(const std::string& found, std::string* kit, std::string* missing) const {
  return FromHost(found, kit, missing);
}

std::string KitNames::SystemPath(const std::filesystem::path& path) const { return path.string(); }

std::filesystem::path KitNames::PathOf(const std::string& argument) const { return argument; }

std::string KitNames::ToHost(const std::string& kit) const {
  return page_.number() != 0 ? page_.ToHost(kit) : kit;
}

std::string KitNames::HostPath(const std::string& kit) const {
  std::string host = ToHost(kit);
  std::replace(host.begin(), host.end(), '\\', '/');
  return host;
}

const platform::name::CaseTable& KitNames::Case() const { return page_.Case(); }

}  // namespace kivopack
