#include "platform/file_system.h"

#include <windows.h>

#include "platform/text.h"
#include "platform/win32/file_system.h"

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

Status Fail() { return Status::Failure(GetLastError()); }

Status Fail(DWORD code) { return Status::Failure(code); }

bool IsReadOnlyFile(const char* path) {
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

}  // namespace

namespace win32 {

Status Win32FileSystem::Open(const char* path, OpenMode mode, FileHandle* file) {
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

Status Win32FileSystem::Read(FileHandle file, void* buffer, std::uint32_t size,
                             std::uint32_t* done) {
  DWORD n = 0;
  BOOL ok = ReadFile(ToHandle(file), buffer, size, &n, nullptr);
  *done = n;
  return ok ? Status::Ok() : Fail();
}

Status Win32FileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                              std::uint32_t* done) {
  DWORD n = 0;
  BOOL ok = WriteFile(ToHandle(file), buffer, size, &n, nullptr);
  *done = n;
  return ok ? Status::Ok() : Fail();
}

Status Win32FileSystem::Flush(FileHandle file) {
  return FlushFileBuffers(ToHandle(file)) ? Status::Ok() : Fail();
}

Status Win32FileSystem::Seek(FileHandle file, std::uint32_t offset) {
  return Move(file, offset, FILE_BEGIN);
}

Status Win32FileSystem::Skip(FileHandle file, std::uint32_t count) {
  // SetFilePointer takes a signed distance: move large skips in two steps.
  if (count > 0x7FFFFFFFu) {
    if (Status moved = Move(file, 0x7FFFFFFF, FILE_CURRENT); !moved) return moved;
    count -= 0x7FFFFFFF;
  }
  return Move(file, count, FILE_CURRENT);
}

Status Win32FileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  SetLastError(NO_ERROR);
  DWORD at = SetFilePointer(ToHandle(file), 0, nullptr, FILE_CURRENT);
  if (at == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return Fail();
  *offset = at;
  return Status::Ok();
}

Status Win32FileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  DWORD high = 0;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(ToHandle(file), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return Fail();
  *size = (static_cast<std::uint64_t>(high) << 32) | low;
  return Status::Ok();
}

Status Win32FileSystem::GetTimes(FileHandle file, FileTimes* times) {
  FILETIME c, a, w;
  if (!GetFileTime(ToHandle(file), &c, &a, &w)) return Fail();
  times->creation = FromFiletime(c);
  times->lastAccess = FromFiletime(a);
  times->lastWrite = FromFiletime(w);
  return Status::Ok();
}

Status Win32FileSystem::SetTimes(FileHandle file, const FileTimes& times) {
  FILETIME c = ToFiletime(times.creation), a = ToFiletime(times.lastAccess),
           w = ToFiletime(times.lastWrite);
  return SetFileTime(ToHandle(file), &c, &a, &w) ? Status::Ok() : Fail();
}

Status Win32FileSystem::Close(FileHandle file) {
  return CloseHandle(ToHandle(file)) ? Status::Ok() : Fail();
}

Status Win32FileSystem::Remove(const char* path) {
  return DeleteFileA(path) ? Status::Ok() : Fail();
}

Status Win32FileSystem::Replace(const char* source, const char* target) {
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

Status Win32FileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(path, &data);
  if (h == INVALID_HANDLE_VALUE) return Fail();
  FindClose(h);
  *attributes = data.dwFileAttributes;
  return Status::Ok();
}

// The plain layer lists no folder: the programs built on it never do,
// and the listing (see folder_listing.cc) would only add to their size.
Status Win32FileSystem::ListDirectory(const char*, DirectoryVisitor&) {
  return Fail(ERROR_NOT_SUPPORTED);
}

Status Win32FileSystem::MakeDirectory(const char* path) {
  return CreateDirectoryA(path, nullptr) ? Status::Ok() : Fail();
}

Status Win32FileSystem::SetCurrentDir(const char* path) {
  return SetCurrentDirectoryA(path) ? Status::Ok() : Fail();
}
namespace {
constinit Win32FileSystem fileSystem;
}  // namespace

FileSystem& PlainFileSystem() { return fileSystem; }

}  // namespace win32

}  // namespace platform
