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
  std::string output;    // what it wrote to stdout and stderr, interleaved
  bool ok() const { return started && status == 0; }
};

// Runs argv[0] (looked up on PATH) with the rest as its arguments, standard
// input from /dev/null (a tool that would ask a question gets end of input
// instead of waiting for a person), and waits for it.
ProgramResult RunProgram(const std::vector<std::string>& argv, const Environment& environment = {});

// The one line to show when a tool could not run or failed: its name, and
// its last line of output when it said anything.
std::string DescribeFailure(const std::string& tool, const ProgramResult& result);

}  // namespace wendmark::tools
