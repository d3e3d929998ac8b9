// The host's own words for a failure the platform's file layer reported by
// its Win32 code: "No space left on device" tells the person at the
// console what "error 112" does not.
#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace kivopack {

std::string ErrorText(std::uint32_t code);

// "cannot open PATH: No such file or directory": what could not be done to
// which file, and the host's words for why.
std::string FailedOn(const char* what, const std::string& path, platform::Status failure);

}  // namespace kivopack
