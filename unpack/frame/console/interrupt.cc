#include "unpack/frame/console/interrupt.h"

#include <pthread.h>
#include <unistd.h>

#include "platform/posix/paths.h"
#include "platform/windows_path.h"

namespace kivo::console {
namespace {

using platform::Op;
using platform::Status;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::uint32_t kOperationAborted = 995;  // ERROR_OPERATION_ABORTED

// The handler's whole state, of the one type it may touch.
volatile std::sig_atomic_t writing = 0;  // a file is being written
volatile std::sig_atomic_t caught = 0;   // the signal that came meanwhile

const char* NameOf(int sig) {
  switch (sig) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "SIGHUP";
  }
}

// Fixed lines: the handler may neither format nor allocate.
template <std::size_t N>
void Say(const char (&line)[N]) {
  (void)!::write(STDERR_FILENO, line, N - 1);
}

void OnSignal(int sig) {
  if (writing != 0) {
    caught = sig;
    return;
  }
  switch (sig) {
    case SIGINT: Say("kivounpack: interrupted by SIGINT\n"); break;
    case SIGTERM: Say("kivounpack: interrupted by SIGTERM\n"); break;
    default: Say("kivounpack: interrupted by SIGHUP\n"); break;
  }
  ::_exit(128 + sig);
}

// Holds the signals back while a file comes into being and the handler
// learns of it, so that none can end the program in between.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : kSignals) sigaddset(&held, sig);
    pthread_sigmask(SIG_BLOCK, &held, &before_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

 private:
  sigset_t before_;
};

bool Creates(platform::OpenMode mode) {
  return mode == platform::OpenMode::kCreateNew || mode == platform::OpenMode::kCreateAlways;
}

// Calls that start more work. Closing and removing are how the engine
// undoes a file, and setting its times finishes one: those still pass.
bool StopsWhenCaught(Op op) {
  switch (op) {
    case Op::kOpen:
    case Op::kRead:
    case Op::kWrite:
    case Op::kSeek:
    case Op::kSkip:
    case Op::kReplace:
    case Op::kMakeDirectory:
    case Op::kSetCurrentDir:
      return true;
    default:
      return false;
  }
}

}  // namespace

InterruptGuard::InterruptGuard(platform::FileSystem& files) : InterceptingFileSystem(files) {
  writing = 0;
  caught = 0;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int sig : kSignals) sigaddset(&action.sa_mask, sig);
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &before_[i]);
}

InterruptGuard::~InterruptGuard() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &before_[i], nullptr);
  writing = 0;
}

void InterruptGuard::Follow(std::function<const char*()> entry, const char* target,
                            const platform::console::HostText* text) {
  entry_ = std::move(entry);
  target_ = target;
  text_ = text;
}

int InterruptGuard::Caught() { return caught; }

void InterruptGuard::Begin(const platform::Call& call) {
  path_ = call.path;
  handle_ = *call.opened;
  std::string own = path_;
  if (const char* entry = entry_ ? entry_() : nullptr; entry != nullptr) {
    platform::PathBuffer joined;
    if (platform::path::JoinUnder(&joined, target_.c_str(), entry)) own = joined.c_str();
  }
  temporary_ = own != path_;
  shown_ = platform::posix::TranslatePath(platform::console::ToHost(text_, own.c_str()).c_str());
  writing = 1;
}

void InterruptGuard::Settle(bool undone) {
  if (undone) {
    undone_ = true;
    undoneShown_ = shown_;
    undoneTemporary_ = temporary_;
  }
  path_.clear();
  handle_ = platform::kNoFile;
  writing = 0;
}

Status InterruptGuard::Around(platform::Call& call, const Next& next) {
  // The engine goes on to another file only when the one before is whole.
  if (call.op == Op::kOpen && !path_.empty() && handle_ == platform::kNoFile) Settle(false);
  if (caught != 0 && StopsWhenCaught(call.op)) return Status::Failure(kOperationAborted);
  switch (call.op) {
    case Op::kOpen: {
      if (!Creates(call.mode)) return next(call);
      SignalsHeld held;
      Status opened = next(call);
      if (opened) Begin(call);
      return opened;
    }
    case Op::kClose:
      if (call.file == handle_) handle_ = platform::kNoFile;
      return next(call);
    case Op::kRemove:
    case Op::kReplace: {
      Status done = next(call);
      if (done && !path_.empty() && path_ == call.path) Settle(call.op == Op::kRemove);
      return done;
    }
    default:
      return next(call);
  }
}

std::string InterruptGuard::Report(bool complete) const {
  if (caught == 0) return "";
  std::string line = std::string("kivounpack: interrupted by ") + NameOf(caught);
  if (undone_) {
    line += " while writing " + undoneShown_ +
            (undoneTemporary_ ? "; the file there before is kept" : "; the incomplete file is removed");
  } else if (!path_.empty() && !complete) {
    std::string left = platform::posix::TranslatePath(
        platform::console::ToHost(text_, path_.c_str()).c_str());
    line += " while writing " + shown_ + "; the incomplete file " + left + " could not be removed";
  }
  return line;
}

}  // namespace kivo::console
