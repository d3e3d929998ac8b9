// Fault injection around any file system, in the way of SQLite's test VFS:
// every call through this layer counts as one operation (numbered from 1).
// A fault makes operation number N fail with a chosen Win32 code, once or
// (when persistent) for every later operation too; it can be limited to
// some kinds of operation. A faulted Write can instead store half of what it
// was given and report success (a short write), a faulted Read can report
// the end of the file early. Reads can be cut to a few bytes each, and sizes
// can be reported larger than they are.
//
// The layer also keeps the handles opened through it, so that a test on the
// real file layer can tell that every one was closed. A close that is made
// to fail still closes the handle below, as CloseHandle gives up a handle
// whatever it reports.
#pragma once

#include <bit>
#include <cstdint>
#include <set>

#include "tests/fakes/forwarding_file_system.h"

namespace tests {

// How many kinds of operation there are, one bit of kAllOps each.
inline constexpr unsigned kOpKinds = std::popcount(kAllOps);

struct Fault {
  std::uint64_t at = 0;           // operation number (counting only `kinds`), 0: none
  std::uint32_t code = 0;         // Win32 error reported
  bool persistent = false;        // also fail every later operation of `kinds`
  std::uint32_t kinds = kAllOps;  // which operations count and fail
  bool shortWrite = false;        // a faulted Write stores half and reports success
  bool emptyRead = false;         // a faulted Read reports the end of the file
};

// The ways a sweep makes operation N of a run fail, for N = 1, 2, 3 ...
// until the run no longer reaches it.
struct FaultMode {
  const char* name;
  bool persistent;
  bool shortWrite;
  std::uint32_t kinds;

  Fault At(std::uint64_t at, std::uint32_t code) const { return {at, code, persistent, kinds, shortWrite}; }
};

// Once; for good, sparing the removal a clean-up after the failure needs
// (when that fails as well, nothing can clean up); and as a short write.
inline constexpr FaultMode kFaultModes[] = {
    {"once", false, false, kAllOps},
    {"persistent", true, false, kAllOps & ~static_cast<std::uint32_t>(Op::kRemove)},
    {"short write", false, true, static_cast<std::uint32_t>(Op::kWrite)},
};

class FaultyFileSystem final : public InterceptingFileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& target) : InterceptingFileSystem(target) {}

  void SetFault(const Fault& fault) {
    fault_ = fault;
    counted_ = 0;
  }
  void ClearFault() { fault_ = Fault{}; }
  // Whether the fault has struck since the layer was made.
  bool FaultHit() const { return faultHit_; }
  // Every Read asks the layer below for at most this many bytes (0: no limit).
  void SetReadLimit(std::uint32_t bytes) { readLimit_ = bytes; }
  // GetSize reports this many bytes more than there are.
  void SetSizeSurplus(std::uint64_t bytes) { sizeSurplus_ = bytes; }

  // Operations passed through this layer, of every kind or of one.
  std::uint64_t OperationCount() const { return operations_; }
  std::uint64_t OperationCount(Op kind) const;
  // Handles opened through this layer and not closed yet.
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }


 private:
  platform::Status Around(Call& call, const Next& next) override;

  enum class Strike { kNone, kFail, kBend };  // kBend: a short write or an early end
  Strike Count(Op op);
  platform::Status Injected() const { return platform::Status::Failure(fault_.code); }

  Fault fault_;
  std::uint64_t counted_ = 0;
  bool faultHit_ = false;
  std::uint32_t readLimit_ = 0;
  std::uint64_t sizeSurplus_ = 0;
  std::uint64_t operations_ = 0;
  std::uint64_t byKind_[kOpKinds] = {};
  std::set<platform::FileHandle> handles_;
};

}  // namespace tests
