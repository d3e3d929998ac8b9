// The Windows file layer as the programs linked without a C runtime use it.
#pragma once

#include "platform/file_system.h"

namespace platform::win32 {

// The file layer without folder listing (ListDirectory answers
// ERROR_NOT_SUPPORTED): for the extractor stub and the wizard, which never
// list a folder and are kept small. DefaultFileSystem() is the same layer
// with listing. It holds no state, so its objects are built by the
// compiler: the programs without a C runtime run no constructors before
// their entry point.
class Win32FileSystem : public FileSystem {
 public:
  Status Open(const char* path, OpenMode mode, FileHandle* file) override;
  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
  Status Write(FileHandle file, const void* buffer, std::uint32_t size,
               std::uint32_t* done) override;
  Status Flush(FileHandle file) override;
  Status Seek(FileHandle file, std::uint32_t offset) override;
  Status Skip(FileHandle file, std::uint32_t count) override;
  Status Tell(FileHandle file, std::uint32_t* offset) override;
  Status GetSize(FileHandle file, std::uint64_t* size) override;
  Status GetTimes(FileHandle file, FileTimes* times) override;
  Status SetTimes(FileHandle file, const FileTimes& times) override;
  Status Close(FileHandle file) override;
  Status Remove(const char* path) override;
  Status Replace(const char* source, const char* target) override;
  Status GetAttributes(const char* path, std::uint32_t* attributes) override;
  Status ListDirectory(const char* path, DirectoryVisitor& visitor) override;
  Status MakeDirectory(const char* path) override;
  Status SetCurrentDir(const char* path) override;
};

FileSystem& PlainFileSystem();

}  // namespace platform::win32
