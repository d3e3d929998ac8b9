// A file system that passes every call on to another one, in the manner of
// LevelDB's EnvWrapper: a layer derives from it and overrides only the calls
// it changes (the Linux extractor's path conversion, the tests' faults and
// logs). It wraps any FileSystem, the platform's real one or another layer.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace platform {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}

  FileSystem& target() const { return target_; }

  Status Open(const char* path, OpenMode mode, FileHandle* file) override {
    return target_.Open(path, mode, file);
  }
  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    return target_.Read(file, buffer, size, done);
  }
  Status Write(FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    return target_.Write(file, buffer, size, done);
  }
  Status Flush(FileHandle file) override { return target_.Flush(file); }
  Status Seek(FileHandle file, std::uint32_t offset) override { return target_.Seek(file, offset); }
  Status Skip(FileHandle file, std::uint32_t count) override { return target_.Skip(file, count); }
  Status Tell(FileHandle file, std::uint32_t* offset) override { return target_.Tell(file, offset); }
  Status GetSize(FileHandle file, std::uint64_t* size) override { return target_.GetSize(file, size); }
  Status GetTimes(FileHandle file, FileTimes* times) override {
    return target_.GetTimes(file, times);
  }
  Status SetTimes(FileHandle file, const FileTimes& times) override {
    return target_.SetTimes(file, times);
  }
  Status Close(FileHandle file) override { return target_.Close(file); }
  Status Remove(const char* path) override { return target_.Remove(path); }
  Status Replace(const char* source, const char* target) override { return target_.Replace(source, target); }
  Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    return target_.GetAttributes(path, attributes);
  }
  Status ListDirectory(const char* path, DirectoryVisitor& visitor) override {
    return target_.ListDirectory(path, visitor);
  }
  Status MakeDirectory(const char* path) override { return target_.MakeDirectory(path); }
  Status SetCurrentDir(const char* path) override { return target_.SetCurrentDir(path); }

 private:
  FileSystem& target_;
};

}  // namespace platform
