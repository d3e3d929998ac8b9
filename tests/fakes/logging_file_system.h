// A record of every call through this layer, one line each, in the form
// "Open C:\x\y CreateNew -> ok" or "Write 32768 -> error 112", for tests
// that look at how the code under test used its files and for diagnosing
// the rest. It records what was asked, so it goes outside the other layers.
#pragma once

#include <string>
#include <vector>

#include "tests/fakes/forwarding_file_system.h"

namespace tests {

class LoggingFileSystem final : public InterceptingFileSystem {
 public:
  explicit LoggingFileSystem(platform::FileSystem& target) : InterceptingFileSystem(target) {}

  const std::vector<std::string>& Log() const { return log_; }


 private:
  platform::Status Around(Call& call, const Next& next) override;

  std::vector<std::string> log_;
};

}  // namespace tests
