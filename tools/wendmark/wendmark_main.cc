// wendmark: Wendmark's disk writer as a Linux console program that writes
// 1.44 MB floppy images instead of floppies. See kUsage (options.cc) and
// docs/wendmark.md.
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/wendmark/console.h"
#include "tools/wendmark/image_from.h"
#include "tools/wendmark/image_set.h"
#include "tools/wendmark/list_disks.h"
#include "tools/wendmark/options.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// Ctrl-C and a polite kill ask the copy to stop at its next chunk, so that
// no partial image is left behind: the image is saved whole, or not at all. No SA_RESTART: a
// question waiting for its answer gets end of input, and stops.
void CatchStopSignals() {
  struct sigaction action = {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  // The host's encoding of names is the locale's.
  std::setlocale(LC_CTYPE, "");
  wendmark::Options options;
  std::string error;
  if (!wendmark::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "wendmark: %s (see --help)\n", error.c_str());
    return wendmark::kExitUsage;
  }
  // Messages are the program's own texts: nothing to convert.
  using platform::console::TerminalBoxes;
  TerminalBoxes answers(stdin, stderr, {.reply = TerminalBoxes::Reply::kStop});
  switch (options.mode) {
    case wendmark::Options::Mode::kHelp:
      std::fputs(wendmark::kUsage, stdout);
      return wendmark::kExitWritten;
    case wendmark::Options::Mode::kVersion:
      std::fputs(wendmark::kVersion, stdout);
      return wendmark::kExitWritten;
    case wendmark::Options::Mode::kImageFrom: {
      // Ctrl-C is noted, not obeyed at once: the image is saved whole or
      // its .partial file removed before the program ends.
      CatchStopSignals();
      // Nothing is asked: a refusal is told once, and the image stays as it is.
      wendmark::RunServices services{answers};
      return wendmark::WriteImageFrom(platform::DefaultFileSystem(), options.folder, options.image, options.number, options.codePage, services);
    }
    case wendmark::Options::Mode::kListDisks:
      return wendmark::ListDisks(options, stdout, stderr);
    case wendmark::Options::Mode::kImages:
      break;
  }

  CatchStopSignals();
  bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
  bool ask = terminal && !options.noPrompt;
  TerminalBoxes questions(stdin, stderr, {.reply = TerminalBoxes::Reply::kAsk});
  wendmark::RunServices services{ask ? questions : answers};
  services.bar = terminal ? stderr : nullptr;
  services.confirmStop = ask;
  services.stopRequested = &stopRequested;
  return wendmark::WriteImageSet(options, services);
}
