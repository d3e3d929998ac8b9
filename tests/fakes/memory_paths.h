// How the in-memory file system reads a path, the way Windows does: an
// optional drive letter (a drive-relative "A:name" starts at the current
// folder when it is on that drive, else at its root), a leading separator
// for the current drive's root, backslashes or slashes, doubled separators
// collapsed, "." and ".." resolved, no network names. Everything the file
// system knows about paths is here; the rules it shares with the product
// (separators, what is absolute) it takes from platform/windows_path.h.
#pragma once

#include <string>

namespace tests {

// The full path ("C:\dir\name", each part spelt as given; "C:\" for a
// root) of `path` seen from `currentDirectory` (itself a full path), or ""
// when it names nothing here: ".." above a root, or a network name.
std::string ResolvePath(const std::string& path, const std::string& currentDirectory);

// The name under which a full path is stored: names are compared without
// regard to case.
std::string PathKey(const std::string& fullPath);

// The folder that holds a full path or key; a root for a top-level name,
// and a root is its own parent.
std::string ParentPath(const std::string& fullPath);

// Whether a full path or key is a drive's root.
inline bool IsRootPath(const std::string& fullPath) { return fullPath.size() <= 3; }

// The upper-case drive letter of a full path or key.
char DriveOf(const std::string& fullPath);

}  // namespace tests
