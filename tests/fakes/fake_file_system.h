// An in-memory file system with Windows path rules and fault injection.
//
// Paths: backslash or slash separators, an optional drive letter (default
// C:), relative paths resolved against the current directory, "." and ".."
// resolved, doubled separators collapsed, names compared without regard to
// case. Files keep their bytes, three times and attributes.
//
// Fault injection, in the way of SQLite's test VFS: every call through the
// FileSystem interface counts as one operation (numbered from 1). A fault
// makes operation number N fail with a chosen Win32 code, once or (when
// persistent) for every later operation too; it can be limited to some
// kinds of operation, and a faulted Write can store fewer bytes than asked
// and still report success (a short write).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace fakes {

enum class Op : std::uint32_t {
  kOpen = 1u << 0,
  kRead = 1u << 1,
  kWrite = 1u << 2,
  kFlush = 1u << 3,
  kSeek = 1u << 4,
  kSkip = 1u << 5,
  kTell = 1u << 6,
  kGetSize = 1u << 7,
  kGetTimes = 1u << 8,
  kSetTimes = 1u << 9,
  kClose = 1u << 10,
  kRemove = 1u << 11,
  kReplace = 1u << 12,
  kGetAttributes = 1u << 13,
  kMakeDirectory = 1u << 14,
  kSetCurrentDir = 1u << 15,
};
constexpr std::uint32_t kAllOps = 0xFFFFu;
constexpr std::uint32_t operator|(Op a, Op b) { return std::uint32_t(a) | std::uint32_t(b); }
constexpr std::uint32_t operator|(std::uint32_t a, Op b) { return a | std::uint32_t(b); }

struct Fault {
  std::uint64_t at = 0;          // operation number (counting only `kinds`), 0: none
  std::uint32_t code = 0;        // Win32 error reported
  bool persistent = false;       // also fail every later operation of `kinds`
  std::uint32_t kinds = kAllOps;  // which operations count and fail
  bool shortWrite = false;       // a faulted Write stores half and reports success
};

class FakeFileSystem final : public platform::FileSystem {
 public:
  FakeFileSystem();

  // --- platform::FileSystem
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
  std::uint32_t LastError() const override { return lastError_; }

  // --- building the world (these do not count as operations)
  void AddFile(const std::string& path, const std::string& data,
               const platform::FileTimes& times = {}, std::uint32_t attributes = 0x20);
  void AddDirectory(const std::string& path, std::uint32_t attributes = 0x10);  // parents too
  void SetAttributes(const std::string& path, std::uint32_t attributes);
  void SetCurrentDirectory(const std::string& path);  // no check, no count
  // A drive whose files cannot be created or written (error 19).
  void SetWriteProtected(char drive, bool on);
  // Bytes the drive can hold in all; writing past it fails with 112 (or, for
  // a write that fits partly, stores what fits and reports success).
  void SetCapacity(char drive, std::uint64_t bytes);
  // Reads return at most this many bytes (0: no limit), to exercise short reads.
  void SetReadLimit(std::uint32_t bytes) { readLimit_ = bytes; }

  // --- faults
  void SetFault(const Fault& fault) { fault_ = fault; counted_ = 0; }
  void ClearFault() { fault_ = Fault{}; }
  bool FaultHit() const { return faultHit_; }

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

  std::uint64_t OperationCount() const { return operations_; }
  int OpenHandleCount() const;
  // One line per operation ("Open C:\x\y CreateNew -> ok"), for diagnosing
  // tests; off where speed matters more (fuzzing).
  const std::vector<std::string>& Log() const { return log_; }
  void SetLogging(bool on) { logging_ = on; }

  // The canonical key of a path ("c:\dir\name", lower case), or "" for a
  // path that cannot be resolved (".." above the root).
  std::string Key(const std::string& path) const;

 private:
  struct Node {
    bool directory = false;
    std::string name;  // full path as first created, original case
    std::string data;
    platform::FileTimes times;
    std::uint32_t attributes = 0x20;
  };
  struct OpenFile {
    std::string key;
    bool write = false;
    bool shared = false;
    std::uint64_t position = 0;
  };

  bool Begin(Op op, const std::string& what);  // false when a fault strikes
  bool Fail(std::uint32_t code);
  bool Ok();
  OpenFile* Handle(platform::FileHandle file);
  std::string Parent(const std::string& key) const;
  std::string Display(const std::string& path) const;
  std::uint64_t UsedOn(char drive) const;

  std::map<std::string, Node> nodes_;
  std::map<platform::FileHandle, OpenFile> open_;
  platform::FileHandle nextHandle_ = 1;
  std::string cwd_ = "C:\\";
  std::map<char, bool> writeProtected_;
  std::map<char, std::uint64_t> capacity_;
  std::uint32_t readLimit_ = 0;
  Fault fault_;
  std::uint64_t counted_ = 0;
  bool faultHit_ = false;
  bool shortWriteNow_ = false;
  std::uint64_t operations_ = 0;
  std::uint32_t lastError_ = 0;
  std::vector<std::string> log_;
  bool logging_ = true;
  std::string pending_;
};

}  // namespace fakes
