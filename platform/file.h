// An open file that closes itself, and whose every call returns its own
// result: the owner the logic holds instead of a raw handle. Move-only, as
// a handle is one file's. Close reports the close's own result (a failed
// close can lose the last data written); a file still open when its owner
// goes is closed then, quietly, since nobody is left to tell. No heap and no
// exceptions: the installer stub can hold one too.
#pragma once

#include <cstdint>

#include "platform/file_system.h"
#include "platform/status.h"

namespace platform {

class File {
 public:
  File() = default;
  ~File() { Release(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept : files_(other.files_), handle_(other.handle_) { other.handle_ = kNoFile; }
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      Release();
      files_ = other.files_;
      handle_ = other.handle_;
      other.handle_ = kNoFile;
    }
    return *this;
  }

  // Opens `path` on `files`; whatever this object held is closed first.
  Status Open(FileSystem& files, const char* path, OpenMode mode) {
    Release();
    files_ = &files;
    FileHandle handle = kNoFile;
    Status opened = files.Open(path, mode, &handle);
    if (opened) handle_ = handle;
    return opened;
  }

  bool is_open() const { return handle_ != kNoFile; }

  Status Read(void* buffer, std::uint32_t size, std::uint32_t* done) {
    return files_->Read(handle_, buffer, size, done);
  }
  // Success may still store fewer bytes (*done < size): the disk is full.
  Status Write(const void* buffer, std::uint32_t size, std::uint32_t* done) {
    return files_->Write(handle_, buffer, size, done);
  }
  Status Flush() { return files_->Flush(handle_); }
  Status Seek(std::uint32_t offset) { return files_->Seek(handle_, offset); }
  Status Skip(std::uint32_t count) { return files_->Skip(handle_, count); }
  Status Tell(std::uint32_t* offset) { return files_->Tell(handle_, offset); }
  Status GetSize(std::uint64_t* size) { return files_->GetSize(handle_, size); }
  Status GetTimes(FileTimes* times) { return files_->GetTimes(handle_, times); }
  Status SetTimes(const FileTimes& times) { return files_->SetTimes(handle_, times); }

  // Closes the file; it is closed whatever the result says.
  Status Close() {
    if (handle_ == kNoFile) return Status::Ok();
    FileHandle handle = handle_;
    handle_ = kNoFile;
    return files_->Close(handle);
  }

 private:
  void Release() {
    if (handle_ != kNoFile) (void)files_->Close(handle_);
    handle_ = kNoFile;
  }

  FileSystem* files_ = nullptr;
  FileHandle handle_ = kNoFile;
};

}  // namespace platform
