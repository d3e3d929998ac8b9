// A record of every call through this layer, one line each, in the form
// "Open C:\x\y CreateNew -> ok" or "Write 32768 -> error 112", for tests
// that look at how the code under test used its files and for diagnosing
// the rest. It records what was asked, so it goes outside the other layers.
#pragma once

#include <string>
#include <vector>

#include "tests/fakes/forwarding_file_system.h"

namespace tests {

class LoggingFileSystem final : public ForwardingFileSystem {
 public:
  explicit LoggingFileSystem(platform::FileSystem& target) : ForwardingFileSystem(target) {}

  const std::vector<std::string>& Log() const { return log_; }

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  platform::Status Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
  platform::Status Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override;
  platform::Status Flush(platform::FileHandle file) override;
  platform::Status Seek(platform::FileHandle file, std::uint32_t offset) override;
  platform::Status Skip(platform::FileHandle file, std::uint32_t count) override;
  platform::Status Tell(platform::FileHandle file, std::uint32_t* offset) override;
  platform::Status GetSize(platform::FileHandle file, std::uint64_t* size) override;
  platform::Status GetTimes(platform::FileHandle file, platform::FileTimes* times) override;
  platform::Status SetTimes(platform::FileHandle file, const platform::FileTimes& times) override;
  platform::Status Close(platform::FileHandle file) override;
  platform::Status Remove(const char* path) override;
  platform::Status Replace(const char* source, const char* target) override;
  platform::Status GetAttributes(const char* path, std::uint32_t* attributes) override;
  platform::Status MakeDirectory(const char* path) override;
  platform::Status SetCurrentDir(const char* path) override;

 private:
  platform::Status Record(const std::string& call, platform::Status result);

  std::vector<std::string> log_;
};

}  // namespace tests
