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

  bool Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  bool Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
  bool Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override;
  bool Flush(platform::FileHandle file) override;
  bool Seek(platform::FileHandle file, std::uint32_t offset) override;
  bool Skip(platform::FileHandle file, std::uint32_t count) override;
  bool Tell(platform::FileHandle file, std::uint32_t* offset) override;
  bool GetSize(platform::FileHandle file, std::uint64_t* size) override;
  bool GetTimes(platform::FileHandle file, platform::FileTimes* times) override;
  bool SetTimes(platform::FileHandle file, const platform::FileTimes& times) override;
  bool Close(platform::FileHandle file) override;
  bool Remove(const char* path) override;
  bool Replace(const char* source, const char* target) override;
  bool GetAttributes(const char* path, std::uint32_t* attributes) override;
  bool MakeDirectory(const char* path) override;
  bool SetCurrentDir(const char* path) override;

 private:
  bool Record(const std::string& call, bool ok);

  std::vector<std::string> log_;
};

}  // namespace tests
