// The platform's forwarding layer, under the tests' own name.
#pragma once

#include "platform/forwarding_file_system.h"

namespace tests {

using platform::ForwardingFileSystem;

}  // namespace tests
