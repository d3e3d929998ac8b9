// The Windows path rules the programs and tools share, in one place: they
// hold for paths in the system's own form (backslashes, drive letters, "..",
// doubled separators) on every system, so they are tested natively.
//
// A path lives in a buffer of kMaxPath bytes: at most kMaxLength characters.
// Joining reports a cut instead of handing on a path that names another file.
#pragma once

#include <cstdint>

#include "platform/bounded_string.h"
#include "platform/types.h"

namespace platform::path {

constexpr std::uint32_t kMaxLength = kMaxPath - 1;

// Windows takes a slash where a backslash stands; the system's own paths on
// other systems (the program's, the current folder) come with slashes.
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The last separator of a path, or null when it has none.
const char* LastSeparator(const char* path);

// The length of the folder part: up to, not including, the last separator
// (0 when there is none).
std::uint32_t FolderLength(const char* path);

// The text after the last backslash, or the whole path when it has none:
// the name a file entry gets on a floppy, where only a backslash separates.
const char* LastComponent(const char* path);

// A path that does not depend on the current folder: a drive letter and a
// colon, or a leading separator (the current drive's root, or a UNC name).
bool IsAbsolute(const char* path);

// The length of the path without its trailing separators.
std::uint32_t LengthWithoutTrailingSeparators(const char* path);

// `folder` without its trailing separators. False when it had to be cut.
bool AssignFolder(PathBuffer* path, const char* folder);

// Appends a backslash and `name` as written (a doubled separator stays, as
// the file system accepts it), or only its first `length` characters. False
// when the result had to be cut.
bool Append(PathBuffer* path, const char* name);
bool Append(PathBuffer* path, const char* name, std::uint32_t length);

// `folder` without its trailing separators, a backslash and `name`: a path
// under the folder that never doubles a separator ("C:\" + "a" is "C:\a").
// False when the result had to be cut.
bool JoinUnder(PathBuffer* path, const char* folder, const char* name);

// The arguments of a whole command line (as GetCommandLineA gives it): what
// follows the program's own name, quoted or not, with the blanks after it
// skipped; the rest verbatim.
const char* ArgumentsOf(const char* commandLine);

}  // namespace platform::path
