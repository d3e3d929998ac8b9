// The Windows file layer with folder listing, for the tools: every other
// call is the plain layer's. Kept apart so that the programs that never list
// a folder (the extractor stub, the wizard) are linked without it.
#include <windows.h>

#include "platform/win32/file_system.h"

namespace platform {
namespace {

Status Fail() { return Status::Failure(GetLastError()); }
Status Fail(DWORD code) { return Status::Failure(code); }

// `folder` and `name` joined into `out` (kMaxPath bytes and a wildcard's
// room); false when they do not fit.
bool JoinName(const char* folder, const char* name, char* out, DWORD room) {
  DWORD n = 0;
  for (; folder[n] != '\0'; ++n) {
    if (n + 2 >= room) return false;
    out[n] = folder[n];
  }
  if (n > 0 && out[n - 1] != '\\' && out[n - 1] != '/' && out[n - 1] != ':') out[n++] = '\\';
  for (DWORD i = 0; name[i] != '\0'; ++i, ++n) {
    if (n + 1 >= room) return false;
    out[n] = name[i];
  }
  out[n] = '\0';
  return true;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A reparse point that is a symbolic link, as FindFirstFile describes it;
// the tag is the one NTFS gives symbolic links.
constexpr DWORD kSymlinkTag = 0xA000000CL;

EntryKind KindOfAttributes(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kDirectory : EntryKind::kFile;
}

DirectoryEntry Describe(const char* folder, const WIN32_FIND_DATAA& data) {
  DirectoryEntry entry{data.cFileName, KindOfAttributes(data.dwFileAttributes), EntryKind::kOther};
  constexpr DWORD kReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT, which Windows 95 never sets
  if ((data.dwFileAttributes & kReparsePoint) && data.dwReserved0 == kSymlinkTag) entry.kind = EntryKind::kLink;
  entry.target = entry.kind;
  if (entry.kind == EntryKind::kLink) {
    char path[MAX_PATH + 2];
    DWORD followed = JoinName(folder, data.cFileName, path, sizeof path) ? GetFileAttributesA(path)
                                                                         : INVALID_FILE_ATTRIBUTES;
    entry.target = followed == INVALID_FILE_ATTRIBUTES ? EntryKind::kOther : KindOfAttributes(followed);
  }
  return entry;
}

class ListingFileSystem final : public win32::Win32FileSystem {
 public:
  Status ListDirectory(const char* path, DirectoryVisitor& visitor) override {
    char pattern[MAX_PATH + 2];
    if (!JoinName(path, "*", pattern, sizeof pattern)) return Fail(ERROR_FILENAME_EXCED_RANGE);
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern, &data);
    if (h == INVALID_HANDLE_VALUE) {
      // A drive's root has no "." or "..": nothing found there is an empty folder.
      return GetLastError() == ERROR_FILE_NOT_FOUND ? Status::Ok() : Fail();
    }
    do {
      if (!IsDotOrDotDot(data.cFileName)) visitor.Visit(Describe(path, data));
    } while (FindNextFileA(h, &data));
    DWORD ended = GetLastError();
    FindClose(h);
    return ended == ERROR_NO_MORE_FILES ? Status::Ok() : Fail(ended);
  }
};

constinit ListingFileSystem fileSystem;

}  // namespace

FileSystem& DefaultFileSystem() { return fileSystem; }

}  // namespace platform
