#include "kit/error_text.h"

namespace kivopack {

std::string FailedOn(const char* what, const std::string& path, platform::Status failure) {
  return std::string(what) + " " + path + ": " + ErrorText(failure.code());
}

}  // namespace kivopack
