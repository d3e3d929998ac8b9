// A reader of profile files that gives the results of the Windows profile
// calls for what we read: section and key names match without regard to
// case, blanks around names and values are dropped, a value in matching
// quotes loses them, lines starting with ';' are comments, and the first
// matching key of the first matching section wins.
#include "platform/profile.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/posix/paths.h"
#include "platform/posix/profile_parser.h"
#include "platform/text.h"

namespace platform {
namespace {

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const char* b) {
  std::size_t n = TextLength(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

namespace posix {

bool FindProfileValue(std::istream& in, const char* section, const char* key, std::string* value) {
  std::string line;
  bool inSection = false;
  bool sectionSeen = false;
  while (std::getline(in, line)) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') continue;
    if (t[0] == '[') {
      // Only the first section of a name counts.
      if (inSection) sectionSeen = true;
      std::size_t close = t.find(']');
      std::string name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      inSection = !sectionSeen && SameName(name, section);
      continue;
    }
    if (!inSection) continue;
    std::size_t eq = t.find('=');
    std::string name = Trim(t.substr(0, eq));
    if (!SameName(name, key)) continue;
    std::string v = eq == std::string::npos ? std::string() : Trim(t.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    *value = v;
    return true;
  }
  return false;
}

std::int32_t ParseProfileInt(const char* text) {
  const char* p = text;
  while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = (*p++ == '-');
  std::uint32_t value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10 + static_cast<std::uint32_t>(*p++ - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

}  // namespace posix

namespace {

bool FindValue(const char* path, const char* section, const char* key, std::string* value) {
  std::string native = posix::TranslatePath(path);
  if (native.empty()) return false;
  std::ifstream in(native, std::ios::binary);
  if (!in) return false;
  return posix::FindProfileValue(in, section, key, value);
}

class PosixProfile final : public Profile {
 public:
  std::uint32_t GetString(const char* section, const char* key, const char* fallback,
                          char* buffer, std::uint32_t capacity, const char* path) const override {
    if (capacity == 0) return 0;
    std::string value;
    if (!FindValue(path, section, key, &value)) value = fallback != nullptr ? fallback : "";
    return TextCopy(buffer, capacity, value.c_str());
  }

  std::int32_t GetInt(const char* section, const char* key, std::int32_t fallback,
                      const char* path) const override {
    // Like the system, look at no more than the first 29 characters.
    char text[30];
    if (GetString(section, key, "", text, sizeof text, path) == 0) return fallback;
    return posix::ParseProfileInt(text);
  }
};

}  // namespace

Profile& DefaultProfile() {
  static PosixProfile profile;
  return profile;
}

}  // namespace platform
