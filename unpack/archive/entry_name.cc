// Which entry names the extractor writes. Windows reads more into a name
// than its characters: separators, drives, streams, devices, and dots and
// blanks it silently drops. A name is written only when every component is
// one Windows stores as it stands, so the file that ends up on disk has
// exactly the name the archive gives it and lies below the target folder.
#include "platform/windows_name.h"
#include "unpack/archive/format.h"

namespace kivo {

bool IsAcceptableEntryName(const char* name) {
  const char* component = name;
  for (const char* p = name;; ++p) {
    if (*p != '\\' && *p != '\0') continue;
    auto length = static_cast<std::uint32_t>(p - component);
    if (platform::name::WhyRefused(component, length) != platform::name::Refusal::kNone) return false;
    if (*p == '\0') return true;
    component = p + 1;
  }
}

}  // namespace kivo
