// wendmark's command line.
#pragma once

#include <string>
#include <vector>

namespace wendmark {

// Exit statuses.
constexpr int kExitWritten = 0;     // every selected disk was written
constexpr int kExitNotWritten = 1;  // a disk could not be written, or the user stopped
constexpr int kExitUsage = 2;       // a wrong command line, or a description that does not load

struct Options {
  enum class Mode { kImages, kImageFrom, kListDisks, kHelp, kVersion };
  Mode mode = Mode::kImages;
  std::string description = "packlist.ini";
  std::string images;           // OUTDIR
  std::vector<int> disks;       // as the user counts them (1 = section Disk0); empty: all
  bool noPrompt = false;
  unsigned codePage = 0;        // 0: the default, 1252
  std::string folder, image;    // --image-from FOLDER IMAGE N
  int number = 0;
};

// False with a one-line `error` for a command line that does not make sense.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// "1,3" into {1, 3}: positive decimal numbers, each once, in the given order.
bool ParseDiskList(const std::string& text, std::vector<int>* disks, std::string* error);

extern const char kUsage[];
extern const char kVersion[];

}  // namespace wendmark
