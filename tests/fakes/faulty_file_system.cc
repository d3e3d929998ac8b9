#include "tests/fakes/faulty_file_system.h"

#include <algorithm>
#include <bit>

namespace tests {

using platform::FileHandle;

namespace {

// The slot of one kind of operation; every kind is a single bit below 1 << 16.
unsigned KindSlot(Op kind) { return static_cast<unsigned>(std::countr_zero(static_cast<std::uint32_t>(kind))) & 15u; }

}  // namespace

std::uint64_t FaultyFileSystem::OperationCount(Op kind) const { return byKind_[KindSlot(kind)]; }

FaultyFileSystem::Strike FaultyFileSystem::Count(Op op) {
  ++operations_;
  ++byKind_[KindSlot(op)];
  if ((fault_.kinds & static_cast<std::uint32_t>(op)) == 0 || fault_.at == 0) return Strike::kNone;
  ++counted_;
  if (counted_ < fault_.at || (counted_ > fault_.at && !fault_.persistent)) return Strike::kNone;
  faultHit_ = true;
  if ((op == Op::kWrite && fault_.shortWrite) || (op == Op::kRead && fault_.emptyRead))
    return Strike::kBend;
  return Strike::kFail;
}

platform::Status FaultyFileSystem::Open(const char* path, platform::OpenMode mode, FileHandle* file) {
  // A create that is made to fail never reaches the layer below, so it
  // leaves no file behind.
  if (Count(Op::kOpen) == Strike::kFail) return Injected();
  platform::Status opened = target().Open(path, mode, file);
  if (opened) handles_.insert(*file);
  return opened;
}

platform::Status FaultyFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  *done = 0;
  switch (Count(Op::kRead)) {
    case Strike::kFail: return Injected();
    case Strike::kBend: return platform::Status::Ok();
    case Strike::kNone: break;
  }
  if (readLimit_ != 0) size = std::min(size, readLimit_);
  return target().Read(file, buffer, size, done);
}

platform::Status FaultyFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                             std::uint32_t* done) {
  *done = 0;
  switch (Count(Op::kWrite)) {
    case Strike::kFail: return Injected();
    case Strike::kBend: size /= 2; break;
    case Strike::kNone: break;
  }
  return target().Write(file, buffer, size, done);
}

platform::Status FaultyFileSystem::Flush(FileHandle file) {
  if (Count(Op::kFlush) == Strike::kFail) return Injected();
  return target().Flush(file);
}

platform::Status FaultyFileSystem::Seek(FileHandle file, std::uint32_t offset) {
  if (Count(Op::kSeek) == Strike::kFail) return Injected();
  return target().Seek(file, offset);
}

platform::Status FaultyFileSystem::Skip(FileHandle file, std::uint32_t count) {
  if (Count(Op::kSkip) == Strike::kFail) return Injected();
  return target().Skip(file, count);
}

platform::Status FaultyFileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  if (Count(Op::kTell) == Strike::kFail) return Injected();
  return target().Tell(file, offset);
}

platform::Status FaultyFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  if (Count(Op::kGetSize) == Strike::kFail) return Injected();
  platform::Status measured = target().GetSize(file, size);
  if (measured) *size += sizeSurplus_;
  return measured;
}

platform::Status FaultyFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  if (Count(Op::kGetTimes) == Strike::kFail) return Injected();
  return target().GetTimes(file, times);
}

platform::Status FaultyFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  if (Count(Op::kSetTimes) == Strike::kFail) return Injected();
  return target().SetTimes(file, times);
}

platform::Status FaultyFileSystem::Close(FileHandle file) {
  bool strikes = Count(Op::kClose) == Strike::kFail;
  handles_.erase(file);
  platform::Status closed = target().Close(file);
  return strikes ? Injected() : closed;
}

platform::Status FaultyFileSystem::Remove(const char* path) {
  if (Count(Op::kRemove) == Strike::kFail) return Injected();
  return target().Remove(path);
}

platform::Status FaultyFileSystem::Replace(const char* source, const char* target) {
  if (Count(Op::kReplace) == Strike::kFail) return Injected();
  return ForwardingFileSystem::target().Replace(source, target);
}

platform::Status FaultyFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  if (Count(Op::kGetAttributes) == Strike::kFail) return Injected();
  return target().GetAttributes(path, attributes);
}

platform::Status FaultyFileSystem::MakeDirectory(const char* path) {
  if (Count(Op::kMakeDirectory) == Strike::kFail) return Injected();
  return target().MakeDirectory(path);
}

platform::Status FaultyFileSystem::SetCurrentDir(const char* path) {
  if (Count(Op::kSetCurrentDir) == Strike::kFail) return Injected();
  return target().SetCurrentDir(path);
}

}  // namespace tests
