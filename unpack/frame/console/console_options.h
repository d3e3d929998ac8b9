// kivounpack's command line, read the way Linux programs read theirs: the
// Windows stub's -d and -f (with the value attached or as the next
// argument), and long options for what only a console user asks for.
#pragma once

#include <string>
#include <vector>

namespace kivo::console {

// kivounpack's exit statuses; --help and docs/kivounpack.md explain them.
enum ExitStatus : int {
  kExitDone = 0,     // extracted; or listed, checked, helped
  kExitRefused = 1,  // a wrong command line, or the kit's file cannot be opened
  kExitFailed = 2,   // extraction failed or was aborted, or the kit is damaged
  kExitKept = 3,     // extracted, but files were kept that nobody was asked about
  // Ended by a signal: 128 + its number, as a shell reports it.
};

// What happens to a file that is already there.
enum class Overwrite {
  kAsk,      // a question on stderr, the answer from stdin
  kReplace,  // --yes
  kKeep,     // --no-overwrite
};

struct ConsoleOptions {
  enum class Action { kExtract, kList, kCheck, kHelp, kVersion };
  Action action = Action::kExtract;
  Overwrite overwrite = Overwrite::kAsk;
  unsigned codePage = 0;  // 0: the default code page
  std::string archive;    // empty: the program's own file
  std::string target;     // empty: the current folder
};

// Reads the arguments after the program's name. False with a one-line
// `error` for an unknown option, a missing or unusable value, a stray
// argument or options that exclude each other.
bool ParseConsoleArguments(const std::vector<std::string>& args, ConsoleOptions* options,
                           std::string* error);

// The text of --help.
std::string ConsoleUsage();

}  // namespace kivo::console
