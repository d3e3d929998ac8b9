// A program that lives at a path of the test's choosing.
#pragma once

#include <string>
#include <utility>

#include "platform/process.h"
#include "platform/text.h"

namespace tests {

class ProgramAt final : public platform::Process {
 public:
  explicit ProgramAt(std::string path, std::string currentDirectory = "")
      : path_(std::move(path)), currentDirectory_(std::move(currentDirectory)) {}
  std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const override {
    return platform::TextCopy(buffer, capacity, path_.c_str());
  }
  std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const override {
    return platform::TextCopy(buffer, capacity, currentDirectory_.c_str());
  }

 private:
  std::string path_;
  std::string currentDirectory_;
};

}  // namespace tests
