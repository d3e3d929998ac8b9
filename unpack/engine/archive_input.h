// The archive after its header, read ahead through the engine's one buffer.
// Records and small files are a few hundred or thousand bytes each: asking
// the system for each of them costs more than the bytes do, so every read
// fills the buffer as far as it goes and the entries are taken from there.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace kivo {

class ArchiveInput {
 public:
  enum Result {
    kReady,
    kFailed,  // a read failed: failure() says how
    kEnded,   // the file ended first
  };

  // Reads `file` from its current position through `buffer`, which holds
  // `capacity` bytes and stays the caller's.
  void Start(platform::File* file, std::uint8_t* buffer, std::uint32_t capacity);

  const platform::File* file() const { return file_; }

  // Makes the next `count` bytes (at most the capacity) lie together in the
  // buffer and points *bytes at them; they stay there until Consume. Reads
  // only when the buffer holds fewer than `count`.
  Result Peek(std::uint32_t count, const std::uint8_t** bytes);
  // Passes over bytes that Peek has shown.
  void Consume(std::uint32_t count) { begin_ += count; }

  // Passes over `count` bytes whether read yet or not; fails when the
  // system fails to move the file's position.
  platform::Status Skip(std::uint32_t count);

  // The failed read behind the latest kFailed.
  platform::Status failure() const { return failure_; }

 private:
  platform::File* file_ = nullptr;
  std::uint8_t* buffer_ = nullptr;
  std::uint32_t capacity_ = 0;
  std::uint32_t begin_ = 0;  // first byte not yet consumed
  std::uint32_t end_ = 0;    // one past the last byte read
  platform::Status failure_;
};

}  // namespace kivo
