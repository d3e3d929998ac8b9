// Ctrl-C, a kill and a closed terminal (SIGINT, SIGTERM, SIGHUP) end
// kivounpack with status 128 + the signal, and leave no file cut short under
// a name: an interrupted extraction removes the file it was writing, or, for
// a replacement, the temporary beside the file it was to replace, which
// stays as it was.
//
// The handler itself only ever sets a flag or ends the program: while no
// file is being written it says so and ends at once (nothing to undo, and a
// question may be waiting for input); while one is, it only notes the
// signal, and this layer fails the engine's next read, write or open. The
// engine then undoes the file as after any failure (that path is where
// every failure's cleanup is tested), and the program reports and ends.
#pragma once

#include <csignal>
#include <functional>
#include <string>

#include "platform/intercepting_file_system.h"
#include "platform/console/host_text.h"

namespace kivo::console {

class InterruptGuard final : public platform::InterceptingFileSystem {
 public:
  // Installs the handlers; the destructor puts the earlier ones back. One
  // guard at a time.
  explicit InterruptGuard(platform::FileSystem& files);
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  // How to name the file being written: `entry` gives the name of the entry
  // the engine is working on, which lies below `target` (both in the
  // engine's terms); `text` takes them into the host's.
  void Follow(std::function<const char*()> entry, const char* target, const platform::console::HostText* text);

  // The signal that arrived while a file was being written; 0 for none.
  static int Caught();

  // The line that tells what the interruption left behind ("" when nothing
  // was caught). `complete` says whether the extraction got to its end
  // anyway, so that its last file is whole.
  std::string Report(bool complete) const;

 private:
  platform::Status Around(platform::Call& call, const Next& next) override;
  void Begin(const platform::Call& call);
  void Settle(bool undone);

  std::function<const char*()> entry_;
  std::string target_;
  const platform::console::HostText* text_ = nullptr;
  // The file being written, until it is whole and kept, removed, or put in
  // the place of the file it replaces.
  platform::FileHandle handle_ = platform::kNoFile;
  std::string path_;   // as the engine named it
  std::string shown_;  // the entry's own file, as the host names it
  bool temporary_ = false;  // a replacement's temporary
  // What the latest interrupted file came to.
  std::string undoneShown_;
  bool undoneTemporary_ = false;
  bool undone_ = false;
  struct sigaction before_[3];
};

}  // namespace kivo::console
