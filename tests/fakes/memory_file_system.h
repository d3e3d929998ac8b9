// A file system in memory that answers as Windows does: drives, folders and
// files with their bytes, three times and attributes, sharing between open
// handles, write-protected drives and drives that fill up. Paths are read by
// the rules of memory_paths.h. It only stores: faults and a record of the
// calls are layers put around it (faulty_file_system.h,
// logging_file_system.h), which wrap the real file layer just as well.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tests {

class MemoryFileSystem final : public platform::FileSystem {
 public:
  MemoryFileSystem();  // holds the folder C:\, which is also current

  // --- platform::FileSystem
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
  platform::Status ListDirectory(const char* path, platform::DirectoryVisitor& visitor) override;
  platform::Status MakeDirectory(const char* path) override;
  platform::Status SetCurrentDir(const char* path) override;

  // --- building the world, without going through the interface
  void AddFile(const std::string& path, const std::string& data,
               const platform::FileTimes& times = {}, std::uint32_t attributes = 0x20);
  void AddDirectory(const std::string& path, std::uint32_t attributes = 0x10);  // parents too
  void SetAttributes(const std::string& path, std::uint32_t attributes);
  void SetCurrentDirectory(const std::string& path);  // unchecked
  // A drive whose files cannot be created, written or removed (error 19).
  void SetWriteProtected(char drive, bool on);
  // Bytes the drive can hold in all; writing past it fails with 112 (or, for
  // a write that fits partly, stores what fits and reports success).
  void SetCapacity(char drive, std::uint64_t bytes);

  // --- looking at the world
  std::optional<std::string> Contents(const std::string& path) const;
  bool Exists(const std::string& path) const;
  bool IsDirectory(const std::string& path) const;
  platform::FileTimes Times(const std::string& path) const;
  std::uint32_t Attributes(const std::string& path) const;
  // Every file, by its full path as first created ("C:\dir\name"), sorted.
  std::vector<std::string> Files() const;
  std::vector<std::string> Directories() const;
  std::string CurrentDirectory() const { return cwd_; }
  int OpenHandleCount() const { return static_cast<int>(open_.size()); }

  // The key a path is stored under ("c:\dir\name"), or "" for a path that
  // names nothing (".." above the root).
  std::string Key(const std::string& path) const;

 private:
  struct Node {
    bool directory = false;
    std::string name;  // full path as first created, in its original case
    std::string data;
    platform::FileTimes times;
    std::uint32_t attributes = 0x20;
  };
  struct OpenFile {
    std::string key;
    Node* node = nullptr;  // stays put: an open file is neither removed nor replaced
    bool write = false;
    bool shared = false;
    std::uint64_t position = 0;
  };
  struct Drive {
    bool writeProtected = false;
    std::optional<std::uint64_t> capacity;
  };

  static platform::Status Fail(std::uint32_t code) { return platform::Status::Failure(code); }
  OpenFile* Handle(platform::FileHandle file);
  const Node* Find(const std::string& path) const;
  bool IsOpen(const std::string& key) const;
  Drive& DriveFor(const std::string& key);
  std::uint64_t UsedOn(char drive) const;

  std::map<std::string, Node> nodes_;  // by key
  std::map<platform::FileHandle, OpenFile> open_;
  platform::FileHandle nextHandle_ = 1;
  std::string cwd_ = "C:\\";
  std::map<char, Drive> drives_;  // by upper-case letter
};

}  // namespace tests
