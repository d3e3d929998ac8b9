// Turning the system's own paths into paths of the POSIX file system.
#pragma once

#include <string>

namespace platform::posix {

// Backslashes become slashes. A drive letter mapped in the environment
// variable TANDREL_DRIVES ("A=/mnt/floppy;B=/media/b") is replaced by its
// folder; any other drive-letter path names nothing and yields "".
std::string TranslatePath(const char* path);

// The folder mapped to a drive letter, or "" when it has none.
std::string DriveFolder(char letter);

// The mapped drive letters, in ascending order.
std::string MappedDriveLetters();

// True when the path lies on a mapped drive (so EROFS means write protection).
bool IsOnMappedDrive(const char* path);

// Maps an errno value onto the Win32 error vocabulary. `path` (may be null)
// tells "file not found" from "path not found" and a write-protected floppy
// from any other read-only file system.
unsigned MapErrno(int err, const char* path);

}  // namespace platform::posix
