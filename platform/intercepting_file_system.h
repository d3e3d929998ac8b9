// A layer that hands every call of the file system to one function, Around,
// as a Call that names the operation and carries its arguments: a layer
// that changes a few calls of every kind (the tests' faults and log, the
// Linux extractor's dry run) decides them in one place instead of
// overriding the whole interface.
#pragma once

#include <cstdint>
#include <functional>

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
};
constexpr std::uint32_t kAllOps = 0xFFFFu;
constexpr std::uint32_t operator|(Op a, Op b) { return std::uint32_t(a) | std::uint32_t(b); }
constexpr std::uint32_t operator|(std::uint32_t a, Op b) { return a | std::uint32_t(b); }

// One call on its way down. A layer may change `size` before passing it on
// (Read and Write ask for that many bytes) and look at the results after.
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
};

class InterceptingFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  using Next = std::function<Status(Call&)>;

  Status Open(const char* path, OpenMode mode, FileHandle* file) override {
    Call call{.op = Op::kOpen, .path = path, .mode = mode, .opened = file};
    return Around(call, [this](Call& c) { return target().Open(c.path, c.mode, c.opened); });
  }

  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    Call call{.op = Op::kRead, .file = file, .size = size, .done = done};
    return Around(call, [this, buffer](Call& c) { return target().Read(c.file, buffer, c.size, c.done); });
  }

  Status Write(FileHandle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* done) override {
    Call call{.op = Op::kWrite, .file = file, .size = size, .done = done};
    return Around(call, [this, buffer](Call& c) { return target().Write(c.file, buffer, c.size, c.done); });
  }

  Status Flush(FileHandle file) override {
    Call call{.op = Op::kFlush, .file = file};
    return Around(call, [this](Call& c) { return target().Flush(c.file); });
  }

  Status Seek(FileHandle file, std::uint32_t offset) override {
    Call call{.op = Op::kSeek, .file = file, .size = offset};
    return Around(call, [this](Call& c) { return target().Seek(c.file, c.size); });
  }

  Status Skip(FileHandle file, std::uint32_t count) override {
    Call call{.op = Op::kSkip, .file = file, .size = count};
    return Around(call, [this](Call& c) { return target().Skip(c.file, c.size); });
  }

  Status Tell(FileHandle file, std::uint32_t* offset) override {
    Call call{.op = Op::kTell, .file = file, .done = offset};
    return Around(call, [this](Call& c) { return target().Tell(c.file, c.done); });
  }

  Status GetSize(FileHandle file, std::uint64_t* size) override {
    Call call{.op = Op::kGetSize, .file = file, .length = size};
    return Around(call, [this](Call& c) { return target().GetSize(c.file, c.length); });
  }

  Status GetTimes(FileHandle file, FileTimes* times) override {
    Call call{.op = Op::kGetTimes, .file = file};
    return Around(call, [this, times](Call& c) { return target().GetTimes(c.file, times); });
  }

  Status SetTimes(FileHandle file, const FileTimes& times) override {
    Call call{.op = Op::kSetTimes, .file = file};
    return Around(call, [this, &times](Call& c) { return target().SetTimes(c.file, times); });
  }

  Status Close(FileHandle file) override {
    Call call{.op = Op::kClose, .file = file};
    return Around(call, [this](Call& c) { return target().Close(c.file); });
  }

  Status Remove(const char* path) override {
    Call call{.op = Op::kRemove, .path = path};
    return Around(call, [this](Call& c) { return target().Remove(c.path); });
  }

  Status Replace(const char* source, const char* replaced) override {
    Call call{.op = Op::kReplace, .path = source, .target = replaced};
    return Around(call, [this](Call& c) { return target().Replace(c.path, c.target); });
  }

  Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    Call call{.op = Op::kGetAttributes, .path = path};
    return Around(call, [this, attributes](Call& c) { return target().GetAttributes(c.path, attributes); });
  }

  Status MakeDirectory(const char* path) override {
    Call call{.op = Op::kMakeDirectory, .path = path};
    return Around(call, [this](Call& c) { return target().MakeDirectory(c.path); });
  }

  Status SetCurrentDir(const char* path) override {
    Call call{.op = Op::kSetCurrentDir, .path = path};
    return Around(call, [this](Call& c) { return target().SetCurrentDir(c.path); });
  }

 protected:
  // Every call comes here; `next` passes it on to the layer below.
  virtual Status Around(Call& call, const Next& next) = 0;
};

}  // namespace platform
