// The console extractor works in a Windows program's terms: the archive's
// names and program are text in an ANSI code page, and so is every path and
// message built from them. The host keeps its own names in its own encoding.
// Its texts (the archive's path, the target folder) are taken as they are
// wherever they turn up; everything else crosses into the host's encoding
// before it reaches the file system, the terminal or a started program.
#pragma once

#include <string>
#include <vector>

#include "platform/forwarding_file_system.h"
#include "platform/posix/code_page.h"

namespace kivo::console {

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

// The file system with every path taken into the host's encoding first;
// the calls on open files pass as they are.
class HostPathFileSystem final : public platform::ForwardingFileSystem {
 public:
  HostPathFileSystem(platform::FileSystem& inner, const HostText& text)
      : ForwardingFileSystem(inner), text_(text) {}

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  platform::Status Remove(const char* path) override;
  platform::Status Replace(const char* source, const char* target) override;
  platform::Status GetAttributes(const char* path, std::uint32_t* attributes) override;
  platform::Status MakeDirectory(const char* path) override;
  platform::Status SetCurrentDir(const char* path) override;

 private:
  const HostText& text_;
};

}  // namespace kivo::console
