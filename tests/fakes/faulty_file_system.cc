#include "tests/fakes/faulty_file_system.h"

#include <algorithm>
#include <bit>

namespace tests {

namespace {

// The slot of one kind of operation; every kind is a single bit of kAllOps.
unsigned KindSlot(Op kind) {
  return std::min(static_cast<unsigned>(std::countr_zero(static_cast<std::uint32_t>(kind))), kOpKinds - 1);
}

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

platform::Status FaultyFileSystem::Around(Call& call, const Next& next) {
  if (call.done != nullptr && (call.op == Op::kRead || call.op == Op::kWrite)) *call.done = 0;
  Strike strike = Count(call.op);
  if (call.op == Op::kClose) {
    // CloseHandle gives the handle up whatever it reports: a close that is
    // made to fail still closes the handle below.
    handles_.erase(call.file);
    platform::Status closed = next(call);
    return strike == Strike::kFail ? Injected() : closed;
  }
  // A create that is made to fail never reaches the layer below, so it
  // leaves no file behind.
  if (strike == Strike::kFail) return Injected();
  if (strike == Strike::kBend) {
    if (call.op == Op::kRead) return platform::Status::Ok();  // an early end of the file
    call.size /= 2;                                             // a short write
  }
  if (call.op == Op::kRead && readLimit_ != 0) call.size = std::min(call.size, readLimit_);
  platform::Status result = next(call);
  if (result && call.op == Op::kOpen) handles_.insert(*call.opened);
  if (result && call.op == Op::kGetSize) *call.length += sizeSurplus_;
  return result;
}

}  // namespace tests
