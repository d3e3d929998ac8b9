// Running the disk tools (mtools, dosfstools, 7-Zip): started directly with
// an argument vector, never through a shell, so names with blanks, quotes or
// dollar signs reach them as they are.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wendmark::tools {

// Variables set for the program on top of this process's own environment
// (a name given here replaces the inherited value).
using Environment = std::vector<std::pair<std::string, std::string>>;

struct ProgramResult {
  bool started = false;  // false: no such program on PATH, or it could not be started
  int status = -1;       // the exit status; -1 when it was ended by a signal
  bool timedOut = false; // it ran past kToolTimeLimit and was ended
  std::string output;    // what it wrote to stdout and stderr, interleaved (its last 64 KiB)
  bool ok() const { return started && status == 0; }
};

// How long a tool may take. Writing a 1.44 MB image takes a fraction of a
// second; a tool that asks a question anyway and loops on the end of its
// input must not hold the run up for ever.
constexpr int kToolTimeLimit = 60;  // seconds

// Runs argv[0] (looked up on PATH) with the rest as its arguments, standard
// input from /dev/null (a tool that would ask a question gets end of input
// instead of waiting for a person), and waits for it, at most kToolTimeLimit
// seconds: then it is ended.
ProgramResult RunProgram(const std::vector<std::string>& argv, const Environment& environment = {});

// The one line to show when a tool could not run or failed: its name, and
// its last line of output when it said anything.
std::string DescribeFailure(const std::string& tool, const ProgramResult& result);

}  // namespace wendmark::tools
