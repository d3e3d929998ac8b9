// The Windows file layer as the programs linked without a C runtime use it.
#pragma once

#include "platform/file_system.h"

namespace platform::win32 {

// The file layer without folder listing (ListDirectory answers
// ERROR_NOT_SUPPORTED): for the extractor stub and the wizard, which never
// list a folder and are kept small. DefaultFileSystem() is the same layer
// with listing.
FileSystem& PlainFileSystem();

}  // namespace platform::win32
