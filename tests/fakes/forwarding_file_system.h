// The platform's forwarding and intercepting layers, under the tests' own
// names: the fault and log layers derive from the intercepting one.
#pragma once

#include "platform/intercepting_file_system.h"

namespace tests {

using platform::Call;
using platform::ForwardingFileSystem;
using platform::InterceptingFileSystem;
using platform::kAllOps;
using platform::Op;

}  // namespace tests
