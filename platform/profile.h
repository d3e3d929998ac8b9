// Reading profile files (sections of key=value lines), with the results of
// GetPrivateProfileStringA and GetPrivateProfileIntA.
#pragma once

#include <cstdint>

namespace platform {

class Profile {
 public:
  // Copies the value of section/key (or `fallback` when the key or the file
  // is missing) into buffer, cut to capacity - 1 characters, and returns the
  // number of characters copied. Section and key match without regard to case.
  virtual std::uint32_t GetString(const char* section, const char* key, const char* fallback,
                                  char* buffer, std::uint32_t capacity,
                                  const char* path) const = 0;

  // The value read as a decimal integer: leading blanks and a sign allowed,
  // digits read up to the first other character (none gives 0). `fallback`
  // when the key or the file is missing, or the value is empty.
  virtual std::int32_t GetInt(const char* section, const char* key, std::int32_t fallback,
                              const char* path) const = 0;

 protected:
  ~Profile() = default;
};

Profile& DefaultProfile();

}  // namespace platform
