// A file system that passes every call on to another one, in the manner of
// LevelDB's EnvWrapper: a test layer derives from it and overrides only the
// calls it changes. It wraps any platform::FileSystem, the in-memory one
// or the platform's real one alike.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace tests {

class ForwardingFileSystem : public platform::FileSystem {
 public:
  explicit ForwardingFileSystem(platform::FileSystem& target) : target_(target) {}

  platform::FileSystem& target() const { return target_; }

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override {
    return target_.Open(path, mode, file);
  }
  platform::Status Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    return target_.Read(file, buffer, size, done);
  }
  platform::Status Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    return target_.Write(file, buffer, size, done);
  }
  platform::Status Flush(platform::FileHandle file) override { return target_.Flush(file); }
  platform::Status Seek(platform::FileHandle file, std::uint32_t offset) override { return target_.Seek(file, offset); }
  platform::Status Skip(platform::FileHandle file, std::uint32_t count) override { return target_.Skip(file, count); }
  platform::Status Tell(platform::FileHandle file, std::uint32_t* offset) override { return target_.Tell(file, offset); }
  platform::Status GetSize(platform::FileHandle file, std::uint64_t* size) override { return target_.GetSize(file, size); }
  platform::Status GetTimes(platform::FileHandle file, platform::FileTimes* times) override {
    return target_.GetTimes(file, times);
  }
  platform::Status SetTimes(platform::FileHandle file, const platform::FileTimes& times) override {
    return target_.SetTimes(file, times);
  }
  platform::Status Close(platform::FileHandle file) override { return target_.Close(file); }
  platform::Status Remove(const char* path) override { return target_.Remove(path); }
  platform::Status Replace(const char* source, const char* target) override { return target_.Replace(source, target); }
  platform::Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    return target_.GetAttributes(path, attributes);
  }
  platform::Status MakeDirectory(const char* path) override { return target_.MakeDirectory(path); }
  platform::Status SetCurrentDir(const char* path) override { return target_.SetCurrentDir(path); }

 private:
  platform::FileSystem& target_;
};

}  // namespace tests
