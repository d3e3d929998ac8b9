#include "platform/profile.h"

#include <windows.h>

namespace platform {
namespace {

class Win32Profile final : public Profile {
 public:
  std::uint32_t GetString(const char* section, const char* key, const char* fallback,
                          char* buffer, std::uint32_t capacity, const char* path) const override {
    return GetPrivateProfileStringA(section, key, fallback, buffer, capacity, path);
  }
  std::int32_t GetInt(const char* section, const char* key, std::int32_t fallback,
                      const char* path) const override {
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, fallback, path));
  }
};

Win32Profile profile;

}  // namespace

Profile& DefaultProfile() { return profile; }

}  // namespace platform
