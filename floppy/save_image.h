// Saving an image whole or not at all.
#pragma once

#include <cstdint>
#include <span>

#include "platform/file_system.h"

namespace floppy {

// Writes `bytes` to PATH.partial, flushes and closes it, and only then puts
// it in place of PATH. On any failure the partial file is removed, PATH is
// as it was, and the first failure's Status is returned.
platform::Status SaveImage(platform::FileSystem& files, const char* path, std::span<const std::uint8_t> bytes);

}  // namespace floppy
