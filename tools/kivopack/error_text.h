// The host's own words for a failure the platform's file layer reported by
// its Win32 code: "No space left on device" tells the person at the
// console what "error 112" does not.
#pragma once

#include <cstdint>
#include <string>

namespace kivopack {

std::string ErrorText(std::uint32_t code);

}  // namespace kivopack
