#include "platform/file_system.h"

#include <windows.h>

#include "platform/text.h"

namespace platform {
namespace {

HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FILETIME ToFiletime(FileTime t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return ft;
}

FileTime FromFiletime(const FILETIME& ft) {
  return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

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

class Win32FileSystem final : public FileSystem {
 public:
  Status Open(const char* path, OpenMode mode, FileHandle* file) override {
    DWORD access = GENERIC_READ, share = 0, disposition = OPEN_EXISTING;
    switch (mode) {
      case OpenMode::kReadShared: share = FILE_SHARE_READ; break;
      case OpenMode::kReadExclusive: break;
      case OpenMode::kCreateNew: access = GENERIC_WRITE; disposition = CREATE_NEW; break;
      case OpenMode::kCreateAlways: access = GENERIC_WRITE; disposition = CREATE_ALWAYS; break;
    }
    // Windows refuses to truncate a read-only file; say so ourselves as well,
    // since a file system that maps the attribute onto permissions lets an
    // administrator through.
    if (mode == OpenMode::kCreateAlways && IsReadOnlyFile(path)) return Fail(ERROR_ACCESS_DENIED);
    HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Fail();
    *file = reinterpret_cast<FileHandle>(h);
    return Status::Ok();
  }

  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    DWORD n = 0;
    BOOL ok = ReadFile(ToHandle(file), buffer, size, &n, nullptr);
    *done = n;
    return ok ? Status::Ok() : Fail();
  }

  Status Write(FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    DWORD n = 0;
    BOOL ok = WriteFile(ToHandle(file), buffer, size, &n, nullptr);
    *done = n;
    return ok ? Status::Ok() : Fail();
  }

  Status Flush(FileHandle file) override { return FlushFileBuffers(ToHandle(file)) ? Status::Ok() : Fail(); }

  Status Seek(FileHandle file, std::uint32_t offset) override { return Move(file, offset, FILE_BEGIN); }

  Status Skip(FileHandle file, std::uint32_t count) override {
    // SetFilePointer takes a signed distance: move large skips in two steps.
    if (count > 0x7FFFFFFFu) {
      if (Status moved = Move(file, 0x7FFFFFFF, FILE_CURRENT); !moved) return moved;
      count -= 0x7FFFFFFF;
    }
    return Move(file, count, FILE_CURRENT);
  }

  Status Tell(FileHandle file, std::uint32_t* offset) override {
    SetLastError(NO_ERROR);
    DWORD at = SetFilePointer(ToHandle(file), 0, nullptr, FILE_CURRENT);
    if (at == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return Fail();
    *offset = at;
    return Status::Ok();
  }

  Status GetSize(FileHandle file, std::uint64_t* size) override {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(ToHandle(file), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return Fail();
    *size = (static_cast<std::uint64_t>(high) << 32) | low;
    return Status::Ok();
  }

  Status GetTimes(FileHandle file, FileTimes* times) override {
    FILETIME c, a, w;
    if (!GetFileTime(ToHandle(file), &c, &a, &w)) return Fail();
    times->creation = FromFiletime(c);
    times->lastAccess = FromFiletime(a);
    times->lastWrite = FromFiletime(w);
    return Status::Ok();
  }

  Status SetTimes(FileHandle file, const FileTimes& times) override {
    FILETIME c = ToFiletime(times.creation), a = ToFiletime(times.lastAccess),
             w = ToFiletime(times.lastWrite);
    return SetFileTime(ToHandle(file), &c, &a, &w) ? Status::Ok() : Fail();
  }

  Status Close(FileHandle file) override { return CloseHandle(ToHandle(file)) ? Status::Ok() : Fail(); }

  Status Remove(const char* path) override { return DeleteFileA(path) ? Status::Ok() : Fail(); }

  Status Replace(const char* source, const char* target) override {
    if (IsReadOnlyFile(target)) return Fail(ERROR_ACCESS_DENIED);
    if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING)) return Status::Ok();
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return Fail();
    // Windows 95 has no MoveFileEx: set the old file aside, move the new one
    // in, and put the old one back if that fails.
    char backup[MAX_PATH + 8];
    TextCopy(backup, MAX_PATH, target);
    TextAppend(backup, sizeof backup, ".~old");
    if (!MoveFileA(target, backup)) return Fail();
    if (!MoveFileA(source, target)) {
      DWORD code = GetLastError();
      MoveFileA(backup, target);
      return Fail(code);
    }
    DeleteFileA(backup);
    return Status::Ok();
  }

  Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(path, &data);
    if (h == INVALID_HANDLE_VALUE) return Fail();
    FindClose(h);
    *attributes = data.dwFileAttributes;
    return Status::Ok();
  }

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

  Status MakeDirectory(const char* path) override {
    return CreateDirectoryA(path, nullptr) ? Status::Ok() : Fail();
  }

  Status SetCurrentDir(const char* path) override {
    return SetCurrentDirectoryA(path) ? Status::Ok() : Fail();
  }


 private:
  static Status Fail() { return Status::Failure(GetLastError()); }
  static Status Fail(DWORD code) { return Status::Failure(code); }

  static bool IsReadOnlyFile(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) &&
           !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  Status Move(FileHandle file, std::uint32_t distance, DWORD method) {
    SetLastError(NO_ERROR);
    DWORD at = SetFilePointer(ToHandle(file), static_cast<LONG>(distance), nullptr, method);
    if (at == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return Fail();
    return Status::Ok();
  }
};

Win32FileSystem fileSystem;

}  // namespace

FileSystem& DefaultFileSystem() { return fileSystem; }

}  // namespace platform
