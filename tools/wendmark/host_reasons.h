// The host's words behind a message of the engine. Wendmark's messages are
// its own texts and stay exactly as they are; on Linux the line after one
// says what the host reported ("/home/a/setup/SETUP.EXE: Permission
// denied"), when a host error stands behind it. A message without one (a
// source shorter than it measured, the image floppy found full) gets no
// such line.
#pragma once

#include <map>
#include <string>

#include "platform/intercepting_file_system.h"

namespace wendmark {

// The reason waiting for the next message. Only the first failure since the
// last Clear counts: it is the one the engine stopped at, and what it does
// afterwards (closing, removing the partial file) is tidying up.
class HostReasons {
 public:
  void Note(const std::string& reason) {
    if (pending_.empty()) pending_ = reason;
  }
  void Clear() { pending_.clear(); }
  // The waiting reason ("" for none); none waits afterwards.
  std::string Take() {
    std::string reason;
    reason.swap(pending_);
    return reason;
  }

 private:
  std::string pending_;
};

// "<path>: <the host's words>", the path with "/" and without doubled
// separators, as the host would name it.
std::string HostReason(const char* path, std::uint32_t code);

// The file layer under the engine: notes the host's words for each failure
// the engine reports to the user (opening, reading, measuring, writing,
// flushing, and closing a file it wrote). A new attempt begins with an open
// that succeeds, which drops an older reason. Failures of tidying up
// (removing a partial file, closing a file it only read, file times the
// engine does not report) are not noted.
class ReasonRecorder final : public platform::InterceptingFileSystem {
 public:
  ReasonRecorder(platform::FileSystem& inner, HostReasons& reasons)
      : InterceptingFileSystem(inner), reasons_(reasons) {}

 private:
  struct OpenFile {
    std::string path;
    bool writes = false;
  };
  platform::Status Around(platform::Call& call, const Next& next) override;

  HostReasons& reasons_;
  std::map<platform::FileHandle, OpenFile> files_;
};

}  // namespace wendmark
