#include "platform/posix/host_error.h"
#include "kit/error_text.h"

namespace kivopack {

std::string ErrorText(std::uint32_t code) { return platform::posix::HostErrorText(code); }

}  // namespace kivopack
