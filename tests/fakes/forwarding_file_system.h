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

  bool Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override {
    return target_.Open(path, mode, file);
  }
  bool Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    return target_.Read(file, buffer, size, done);
  }
  bool Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    return target_.Write(file, buffer, size, done);
  }
  bool Flush(platform::FileHandle file) override { return target_.Flush(file); }
  bool Seek(platform::FileHandle file, std::uint32_t offset) override { return target_.Seek(file, offset); }
  bool Skip(platform::FileHandle file, std::uint32_t count) override { return target_.Skip(file, count); }
  bool Tell(platform::FileHandle file, std::uint32_t* offset) override { return target_.Tell(file, offset); }
  bool GetSize(platform::FileHandle file, std::uint64_t* size) override { return target_.GetSize(file, size); }
  bool GetTimes(platform::FileHandle file, platform::FileTimes* times) override {
    return target_.GetTimes(file, times);
  }
  bool SetTimes(platform::FileHandle file, const platform::FileTimes& times) override {
    return target_.SetTimes(file, times);
  }
  bool Close(platform::FileHandle file) override { return target_.Close(file); }
  bool Remove(const char* path) override { return target_.Remove(path); }
  bool Replace(const char* source, const char* target) override { return target_.Replace(source, target); }
  bool GetAttributes(const char* path, std::uint32_t* attributes) override {
    return target_.GetAttributes(path, attributes);
  }
  bool MakeDirectory(const char* path) override { return target_.MakeDirectory(path); }
  bool SetCurrentDir(const char* path) override { return target_.SetCurrentDir(path); }
  std::uint32_t LastError() const override { return target_.LastError(); }

 private:
  platform::FileSystem& target_;
};

}  // namespace tests
