#include "unpack/engine/archive_input.h"

namespace kivo {

void ArchiveInput::Start(platform::File* file, std::uint8_t* buffer, std::uint32_t capacity) {
  file_ = file;
  buffer_ = buffer;
  capacity_ = capacity;
  begin_ = end_ = 0;
}

ArchiveInput::Result ArchiveInput::Peek(std::uint32_t count, const std::uint8_t** bytes) {
  std::uint32_t held = end_ - begin_;
  if (held < count) {
    // What is left moves to the front, so that a record or a block that
    // straddles the end of one read comes out whole. A large file's blocks
    // line up with the buffer after its first, and move nothing.
    if (begin_ != 0) {
      __builtin_memmove(buffer_, buffer_ + begin_, held);
      begin_ = 0;
      end_ = held;
    }
    while (end_ < count) {
      std::uint32_t got = 0;
      failure_ = file_->Read(buffer_ + end_, capacity_ - end_, &got);
      if (!failure_) return kFailed;
      if (got == 0) return kEnded;
      end_ += got;
    }
  }
  *bytes = buffer_ + begin_;
  return kReady;
}

platform::Status ArchiveInput::Skip(std::uint32_t count) {
  std::uint32_t held = end_ - begin_;
  if (count <= held) {
    begin_ += count;
    return platform::Status::Ok();
  }
  // The file's position is already past what the buffer holds.
  begin_ = end_ = 0;
  return file_->Skip(count - held);
}

}  // namespace kivo
