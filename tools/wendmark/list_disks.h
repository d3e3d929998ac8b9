// wendmark --list-disks: a package description's disks and their entries as
// Wendmark reads them, for scripts that check what the images hold.
#pragma once

#include <cstdio>
#include <string>

#include "diskmaker/model/package_list.h"
#include "platform/process.h"
#include "tools/wendmark/options.h"

namespace wendmark {

// The program's own folder as Wendmark knows it is where the description
// lies: entries and Wendmark.ini are found from there.
class DescriptionFolder final : public platform::Process {
 public:
  explicit DescriptionFolder(std::string folder) : folder_(std::move(folder)) {}
  std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const override;
  std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const override;
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// `options.description` loaded as Wendmark loads its own packlist.ini.
class Description {
 public:
  explicit Description(const std::string& path);
  // False with the one line that refuses it in `error`.
  bool Load(std::string* error);

  // The folder the description lies in, as the host spells it.
  const std::string& folder() const { return program_.folder(); }
  PackageList& packages() { return packages_; }

 private:
  std::string given_, path_;
  DescriptionFolder program_;
  PackageList packages_;
};

// Prints one line per entry, disk after disk: "N<TAB>NAME<TAB>SOURCE", the
// disk's number from 1, the file's name on the floppy and the host path the
// copy reads it from, in the host's encoding. A refusal is one line on
// `errors`. Returns the exit status.
int ListDisks(const Options& options, std::FILE* out, std::FILE* errors);

}  // namespace wendmark
