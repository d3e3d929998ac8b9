// Files and folders. Paths are given in the system's own form (backslashes,
// drive letters, "..", doubled separators); an implementation translates them
// before it touches its file system. Every call returns its own Status: true
// on success, else false with the failure's Win32 error code, which no later
// call can overwrite. This is the one thin layer every file operation goes
// through (where tests inject faults); the logic holds files through
// platform::File, which closes them.
#pragma once

#include <cstdint>

#include "platform/status.h"
#include "platform/types.h"

namespace platform {

using FileHandle = std::uintptr_t;
constexpr FileHandle kNoFile = 0;

enum class OpenMode {
  kReadShared,     // existing file, read access, others may read
  kReadExclusive,  // existing file, read access, no sharing
  kCreateNew,      // write access, no sharing, normal attributes; fails if it exists
  kCreateAlways,   // write access, no sharing, normal attributes; truncates an existing file
};

// What a folder's entry is, as the entry itself says: a link is not
// followed, so a link and what it leads to are told apart.
enum class EntryKind {
  kFile,
  kDirectory,
  kLink,   // a symbolic link (a reparse point on Windows)
  kOther,  // a FIFO, socket or device: nothing a file can be read from
};

struct DirectoryEntry {
  const char* name;  // the entry's own name, never "." or ".."; valid during the visit only
  EntryKind kind;
  // What a link leads to when followed (kOther when it leads nowhere or
  // round in a loop); for any other entry, `kind` again.
  EntryKind target;
};

// Told of a folder's entries one by one, in the order the system keeps
// them. A callback rather than a container, so that the installer stub's
// layer stays free of the C++ library.
class DirectoryVisitor {
 public:
  virtual void Visit(const DirectoryEntry& entry) = 0;

 protected:
  ~DirectoryVisitor() = default;
};

class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;

  // Opens or creates a file. On success *file is a handle other than kNoFile.
  virtual Status Open(const char* path, OpenMode mode, FileHandle* file) = 0;

  // Reads up to `size` bytes. Success with *done == 0 means end of file.
  virtual Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) = 0;

  // Writes `size` bytes. Success may still store fewer (*done < size): the
  // caller treats that as a full disk.
  virtual Status Write(FileHandle file, const void* buffer, std::uint32_t size,
                     std::uint32_t* done) = 0;

  // Pushes the file's buffers to the device.
  virtual Status Flush(FileHandle file) = 0;

  // Absolute positioning, forward positioning, and the current position, all
  // 32-bit like SetFilePointer without its high word.
  virtual Status Seek(FileHandle file, std::uint32_t offset) = 0;
  virtual Status Skip(FileHandle file, std::uint32_t count) = 0;
  virtual Status Tell(FileHandle file, std::uint32_t* offset) = 0;

  // The file's length; 64-bit so that callers can refuse files of 4 GiB or more.
  virtual Status GetSize(FileHandle file, std::uint64_t* size) = 0;

  virtual Status GetTimes(FileHandle file, FileTimes* times) = 0;
  // A platform that cannot store the creation time leaves it as it is.
  virtual Status SetTimes(FileHandle file, const FileTimes& times) = 0;

  // Closes the handle; false when the system reports a failure while closing.
  virtual Status Close(FileHandle file) = 0;

  virtual Status Remove(const char* path) = 0;

  // Puts the file `source` in place of the existing file `target`, in one
  // step where the system allows it. On failure `target` is as it was.
  virtual Status Replace(const char* source, const char* target) = 0;

  // Looks a path up (the way FindFirstFile does). Fails with 2 or 3 when
  // nothing is there.
  virtual Status GetAttributes(const char* path, std::uint32_t* attributes) = 0;

  // Hands every entry of the folder `path` to `visitor`. Fails with 3 when
  // there is no such folder (or `path` is a file), 5 when it may not be
  // read; a failure part way may come after some entries were visited.
  virtual Status ListDirectory(const char* path, DirectoryVisitor& visitor) = 0;

  virtual Status MakeDirectory(const char* path) = 0;
  virtual Status SetCurrentDir(const char* path) = 0;

 protected:
  // Not virtual: services are never deleted through the interface, and the
  // installer stub keeps its objects free of destructors that need a runtime.
  ~FileSystem() = default;
};

// The real file system of the platform this was built for.
FileSystem& DefaultFileSystem();

}  // namespace platform
