// The profile reader over arbitrary text: it must never crash or read out of
// bounds, and what it finds must be a piece of the text it was given.
#include <cstdint>
#include <sstream>
#include <string>

#include "platform/posix/profile_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  static const char* const kQueries[][2] = {
      {"Global", "Name"}, {"Disks", "Number"}, {"Disk0", "Files"}, {"Disk0", "File0"},
      {"Paths", "DiskImages"}, {"", ""}};
  for (const auto& q : kQueries) {
    std::istringstream in(text);
    std::string value;
    if (platform::posix::FindProfileValue(in, q[0], q[1], &value)) {
      if (value.size() > text.size() || text.find(value) == std::string::npos) __builtin_trap();
      platform::posix::ParseProfileInt(value.c_str());
    }
  }
  return 0;
}
