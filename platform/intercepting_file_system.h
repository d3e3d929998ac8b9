// A layer that hands every call of the file system to one function, Around,
// as a Call that names the operation and carries its arguments: a layer
// that changes a few calls of every kind (the tests' faults and log, the
// Linux extractor's dry run) decides them in one place instead of
// overriding the whole interface. It uses nothing of the C++ library, as
// the programs built without a runtime stand on it too.
#pragma once

#include <cstdint>

#include "platform/forwarding_file_system.h"

namespace platform {

// The kinds of call, one bit each, so that a set of them fits in a mask.
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
  kListDirectory = 1u << 16,
};
constexpr std::uint32_t kAllOps = 0x1FFFFu;
constexpr std::uint32_t operator|(Op a, Op b) { return std::uint32_t(a) | std::uint32_t(b); }
constexpr std::uint32_t operator|(std::uint32_t a, Op b) { return a | std::uint32_t(b); }

// One call on its way down: what it asks and where its answers go. A layer
// may change `size` before passing it on (Read and Write ask for that many
// bytes) and look at the results after.
struct Call {
  Op op;
  const char* path = nullptr;    // the path of a call that takes one; Replace's source
  const char* target = nullptr;  // Replace's target
  OpenMode mode = OpenMode::kReadShared;
  FileHandle* opened = nullptr;  // Open's result
  FileHandle file = kNoFile;
  std::uint32_t size = 0;         // bytes to read or write; Seek's offset; Skip's count
  std::uint32_t* done = nullptr;  // bytes read or written; Tell's offset
  std::uint64_t* length = nullptr;  // GetSize's result
  void* into = nullptr;             // Read's buffer
  const void* from = nullptr;       // Write's bytes
  FileTimes* times = nullptr;       // GetTimes' result
  const FileTimes* newTimes = nullptr;  // SetTimes' times
  std::uint32_t* attributes = nullptr;  // GetAttributes' result
  DirectoryVisitor* visitor = nullptr;  // ListDirectory's
};

// The layer below, as a layer's Around passes a call on to it.
class Next {
 public:
  explicit Next(FileSystem& below) : below_(below) {}

  Status operator()(Call& c) const {
    switch (c.op) {
      case Op::kOpen: return below_.Open(c.path, c.mode, c.opened);
      case Op::kRead: return below_.Read(c.file, c.into, c.size, c.done);
      case Op::kWrite: return below_.Write(c.file, c.from, c.size, c.done);
      case Op::kFlush: return below_.Flush(c.file);
      case Op::kSeek: return below_.Seek(c.file, c.size);
      case Op::kSkip: return below_.Skip(c.file, c.size);
      case Op::kTell: return below_.Tell(c.file, c.done);
      case Op::kGetSize: return below_.GetSize(c.file, c.length);
      case Op::kGetTimes: return below_.GetTimes(c.file, c.times);
      case Op::kSetTimes: return below_.SetTimes(c.file, *c.newTimes);
      case Op::kClose: return below_.Close(c.file);
      case Op::kRemove: return below_.Remove(c.path);
      case Op::kReplace: return below_.Replace(c.path, c.target);
      case Op::kGetAttributes: return below_.GetAttributes(c.path, c.attributes);
      case Op::kListDirectory: return below_.ListDirectory(c.path, *c.visitor);
      case Op::kMakeDirectory: return below_.MakeDirectory(c.path);
      case Op::kSetCurrentDir: return below_.SetCurrentDir(c.path);
    }
    return Status::Failure(error::kInvalidParameter);
  }

 private:
  FileSystem& below_;
};

class InterceptingFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  using Next = platform::Next;

  Status Open(const char* path, OpenMode mode, FileHandle* file) override {
    return Pass({.op = Op::kOpen, .path = path, .mode = mode, .opened = file});
  }
  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    return Pass({.op = Op::kRead, .file = file, .size = size, .done = done, .into = buffer});
  }
  Status Write(FileHandle file, const void* buffer, std::uint32_t size, std::uint32_t* done) override {
    return Pass({.op = Op::kWrite, .file = file, .size = size, .done = done, .from = buffer});
  }
  Status Flush(FileHandle file) override { return Pass({.op = Op::kFlush, .file = file}); }
  Status Seek(FileHandle file, std::uint32_t offset) override {
    return Pass({.op = Op::kSeek, .file = file, .size = offset});
  }
  Status Skip(FileHandle file, std::uint32_t count) override {
    return Pass({.op = Op::kSkip, .file = file, .size = count});
  }
  Status Tell(FileHandle file, std::uint32_t* offset) override {
    return Pass({.op = Op::kTell, .file = file, .done = offset});
  }
  Status GetSize(FileHandle file, std::uint64_t* size) override {
    return Pass({.op = Op::kGetSize, .file = file, .length = size});
  }
  Status GetTimes(FileHandle file, FileTimes* times) override {
    return Pass({.op = Op::kGetTimes, .file = file, .times = times});
  }
  Status SetTimes(FileHandle file, const FileTimes& times) override {
    return Pass({.op = Op::kSetTimes, .file = file, .newTimes = &times});
  }
  Status Close(FileHandle file) override { return Pass({.op = Op::kClose, .file = file}); }
  Status Remove(const char* path) override { return Pass({.op = Op::kRemove, .path = path}); }
  Status Replace(const char* source, const char* replaced) override {
    return Pass({.op = Op::kReplace, .path = source, .target = replaced});
  }
  Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    return Pass({.op = Op::kGetAttributes, .path = path, .attributes = attributes});
  }
  Status ListDirectory(const char* path, DirectoryVisitor& visitor) override {
    return Pass({.op = Op::kListDirectory, .path = path, .visitor = &visitor});
  }
  Status MakeDirectory(const char* path) override { return Pass({.op = Op::kMakeDirectory, .path = path}); }
  Status SetCurrentDir(const char* path) override { return Pass({.op = Op::kSetCurrentDir, .path = path}); }

 protected:
  // Every call comes here; `next` passes it on to the layer below.
  virtual Status Around(Call& call, const Next& next) = 0;

 private:
  Status Pass(Call call) { return Around(call, Next(target())); }
};

}  // namespace platform
