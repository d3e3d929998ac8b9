// Files and folders. Paths are given in the system's own form (backslashes,
// drive letters, "..", doubled separators); an implementation translates them
// before it touches its file system. Every failing call returns false and
// leaves its Win32 error code for LastError().
#pragma once

#include <cstdint>

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

class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;

  // Opens or creates a file. On success *file is a handle other than kNoFile.
  virtual bool Open(const char* path, OpenMode mode, FileHandle* file) = 0;

  // Reads up to `size` bytes. Success with *done == 0 means end of file.
  virtual bool Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) = 0;

  // Writes `size` bytes. Success may still store fewer (*done < size): the
  // caller treats that as a full disk.
  virtual bool Write(FileHandle file, const void* buffer, std::uint32_t size,
                     std::uint32_t* done) = 0;

  // Pushes the file's buffers to the device.
  virtual bool Flush(FileHandle file) = 0;

  // Absolute positioning, forward positioning, and the current position, all
  // 32-bit like SetFilePointer without its high word.
  virtual bool Seek(FileHandle file, std::uint32_t offset) = 0;
  virtual bool Skip(FileHandle file, std::uint32_t count) = 0;
  virtual bool Tell(FileHandle file, std::uint32_t* offset) = 0;

  // The file's length; 64-bit so that callers can refuse files of 4 GiB or more.
  virtual bool GetSize(FileHandle file, std::uint64_t* size) = 0;

  virtual bool GetTimes(FileHandle file, FileTimes* times) = 0;
  // A platform that cannot store the creation time leaves it as it is.
  virtual bool SetTimes(FileHandle file, const FileTimes& times) = 0;

  // Closes the handle; false when the system reports a failure while closing.
  virtual bool Close(FileHandle file) = 0;

  virtual bool Remove(const char* path) = 0;

  // Puts the file `source` in place of the existing file `target`, in one
  // step where the system allows it. On failure `target` is as it was.
  virtual bool Replace(const char* source, const char* target) = 0;

  // Looks a path up (the way FindFirstFile does). Fails with 2 or 3 when
  // nothing is there.
  virtual bool GetAttributes(const char* path, std::uint32_t* attributes) = 0;

  virtual bool MakeDirectory(const char* path) = 0;
  virtual bool SetCurrentDir(const char* path) = 0;

  // The Win32 error code of the most recent failure on this object.
  virtual std::uint32_t LastError() const = 0;

 protected:
  // Not virtual: services are never deleted through the interface, and the
  // installer stub keeps its objects free of destructors that need a runtime.
  ~FileSystem() = default;
};

// The real file system of the platform this was built for.
FileSystem& DefaultFileSystem();

}  // namespace platform
