// Names as a kit holds them. The Windows programs read every name (files in
// the archive, packlist.ini's entries, the product name) as single-byte text
// in the system's ANSI code page, so the tools write them that way: on Linux
// converted from the host's encoding into a code page chosen for the kit
// (1252 unless told otherwise); on Windows taken in the system's own code
// page, where the names already are.
#pragma once

#include <filesystem>
#include <string>

#include "platform/windows_name.h"

#ifndef _WIN32
#include "platform/posix/code_page.h"
#endif

namespace kivopack {

class KitNames {
 public:
  // Holds ASCII only until loaded: every other character is refused.
  KitNames() = default;

  // The kit's code page: `number` on Linux (0: the default, 1252), where the
  // host's encoding comes from the locale; on Windows the system's ANSI code
  // page, and any other number is refused. False with a one-line `error`.
  bool Load(unsigned number, std::string* error);

  // The code page's number; 0 before Load.
  unsigned codePage() const;

  // Host text (an argument, a name found on disk) in the kit's code page.
  // False when a character has no byte there; `missing` then names it where
  // it can be told.
  bool FromHost(const std::string& host, std::string* kit, std::string* missing = nullptr) const;

  // A name found in a folder listing as the kit names it (see FromHost).
  bool NameOf(const std::string& found, std::string* kit, std::string* missing = nullptr) const;

  // A path found on disk in the form the platform's file layer opens.
  std::string SystemPath(const std::filesystem::path& path) const;

  // A folder or file given on the command line as a path.
  std::filesystem::path PathOf(const std::string& argument) const;

  // The kit's text as the host shows it: for listings and messages.
  std::string ToHost(const std::string& kit) const;

  // A path the kit holds (backslash-separated) as the host spells a path:
  // for messages that name a file the user is to find on this machine.
  std::string HostPath(const std::string& kit) const;

  // The one-line refusal of host text the code page cannot hold: "code page
  // 1252 cannot hold the name setup/漢字.txt ("漢")".
  std::string CannotHold(const std::string& what, const std::string& host, const std::string& missing) const;

  // The upper-case form of a byte of the kit's text, as Windows folds names.
  char UpperCase(char c) const { return Case().Upper(c); }
  // The same for every byte: ASCII only until loaded.
  const platform::name::CaseTable& Case() const;

  // An object that holds ASCII only, for callers that have no code page.
  static const KitNames& AsciiOnly();

  // A code page number as an option gives it: digits only, so that "1252x"
  // is not taken for 1252.
  static bool ParseNumber(const std::string& text, unsigned* number);

 private:
#ifndef _WIN32
  platform::posix::CodePage page_;
#else
  unsigned number_ = 0;
  platform::name::CaseTable case_;
#endif
};

}  // namespace kivopack
