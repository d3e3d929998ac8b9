// A file system that forwards to another and lets a test change single
// answers: report a larger size, or end a read early with no bytes.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/file_system.h"

namespace testing_fs {

class ForwardingFileSystem final : public platform::FileSystem {
 public:
  explicit ForwardingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  std::uint64_t extraSize = 0;     // added to every GetSize answer
  std::uint64_t zeroReadAt = 0;    // this read (1-based) returns no bytes
  std::uint64_t reads = 0;

  bool Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override {
    return inner_.Open(path, mode, file);
  }
  bool Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    if (++reads == zeroReadAt) {
      *done = 0;
      return true;
    }
    return inner_.Read(file, buffer, size, done);
  }
  bool Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    return inner_.Write(file, buffer, size, done);
  }
  bool Flush(platform::FileHandle file) override { return inner_.Flush(file); }
  bool Seek(platform::FileHandle file, std::uint32_t offset) override { return inner_.Seek(file, offset); }
  bool Skip(platform::FileHandle file, std::uint32_t count) override { return inner_.Skip(file, count); }
  bool Tell(platform::FileHandle file, std::uint32_t* offset) override { return inner_.Tell(file, offset); }
  bool GetSize(platform::FileHandle file, std::uint64_t* size) override {
    if (!inner_.GetSize(file, size)) return false;
    *size += extraSize;
    return true;
  }
  bool GetTimes(platform::FileHandle file, platform::FileTimes* times) override {
    return inner_.GetTimes(file, times);
  }
  bool SetTimes(platform::FileHandle file, const platform::FileTimes& times) override {
    return inner_.SetTimes(file, times);
  }
  bool Close(platform::FileHandle file) override { return inner_.Close(file); }
  bool Remove(const char* path) override { return inner_.Remove(path); }
  bool Replace(const char* source, const char* target) override { return inner_.Replace(source, target); }
  bool GetAttributes(const char* path, std::uint32_t* attributes) override {
    return inner_.GetAttributes(path, attributes);
  }
  bool MakeDirectory(const char* path) override { return inner_.MakeDirectory(path); }
  bool SetCurrentDir(const char* path) override { return inner_.SetCurrentDir(path); }
  std::uint32_t LastError() const override { return inner_.LastError(); }

 private:
  platform::FileSystem& inner_;
};

}  // namespace testing_fs
