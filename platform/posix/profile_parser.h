// The parsing half of the profile reader, on any stream, so that it can be
// fuzzed without files.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace platform::posix {

// The value of section/key in profile text; false when it is not there.
bool FindProfileValue(std::istream& in, const char* section, const char* key, std::string* value);

// A value read as GetPrivateProfileIntA reads it (blanks, a sign, digits).
std::int32_t ParseProfileInt(const char* text);

}  // namespace platform::posix
