// Text of a Windows program on a POSIX host. The program's own texts (names
// it reads from its files, messages built from them) are in an ANSI code
// page; the host keeps its names in its own encoding. The host's texts that
// the program is handed (a folder named on the command line, say) are taken
// as they are wherever they turn up; everything else crosses into the host's
// encoding before it reaches the file system, the terminal or a started
// program.
#pragma once

#include <string>
#include <vector>

#include "platform/intercepting_file_system.h"
#include "platform/posix/code_page.h"

namespace platform::console {

class HostText {
 public:
  // Without a code page nothing is converted.
  HostText() = default;
  explicit HostText(const platform::posix::CodePage* page) : page_(page) {}

  // Host text that may turn up inside paths and messages: kept as it is.
  void KeepAsIs(const char* text);

  // `text` in the host's encoding: the kept texts as they are, the rest
  // converted from the code page.
  std::string ToHost(const char* text) const;

 private:
  const platform::posix::CodePage* page_ = nullptr;
  std::vector<std::string> kept_;
};

// `text` through `host` (null: as it is), for callers whose conversion is optional.
std::string ToHost(const HostText* host, const char* text);

// The file system with every path a call names taken into the host's
// encoding first; the calls on open files pass as they are.
class HostPathFileSystem final : public platform::InterceptingFileSystem {
 public:
  HostPathFileSystem(platform::FileSystem& inner, const HostText& text)
      : InterceptingFileSystem(inner), text_(text) {}

 private:
  platform::Status Around(platform::Call& call, const Next& next) override;

  const HostText& text_;
};

}  // namespace platform::console
