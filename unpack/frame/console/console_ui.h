// The extractor's user interface on a Linux console: messages on stderr as
// "Tandrel: <text>", the overwrite question read from stdin (or answered by
// an option), and the start of the archive's program in the target folder.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "platform/console/host_text.h"
#include "platform/console/terminal_boxes.h"
#include "platform/ui.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/console/console_options.h"

namespace kivo::console {

// The UI objects take their text into the host's encoding through `text`
// (by default they write it as it is).

// The extractor's message boxes: "<caption>: <text>", in the host's
// encoding and with the paths in it written with "/" (the table's texts
// hold no backslash of their own), then "kivounpack: <reason>" when there
// is one (TerminalBoxes::Explain); every box is answered OK, after Enter
// on a terminal.
platform::console::TerminalBoxes::Options MessageBoxStyle(const platform::console::HostText* text = nullptr);

// The question of string 12 followed by the four answers by their mnemonics:
// y, n, e, a. An empty line is the default button (Yes); anything else asks
// again. End of input on a terminal is the cancel button (No). Without a
// terminal, input that ends before an answer leaves the file as it is: it
// is named as kept and counted, so that the program can say that files were
// kept that nobody was asked about. --yes answers Yes To All and --no-overwrite
// No, without a question; a file kept that way is named as well.
class ConsolePrompt final : public OverwritePrompt {
 public:
  ConsolePrompt(const Messages& messages, std::FILE* in, std::FILE* out, const platform::console::HostText* text = nullptr,
                Overwrite policy = Overwrite::kAsk)
      : messages_(messages), in_(in), out_(out), text_(text), policy_(policy) {}
  int Ask(const char* name) override;

  // Files kept because input ended without an answer.
  unsigned unanswered() const { return unanswered_; }

 private:
  int Keep(const char* name);
  int Unanswered(const char* name);

  const Messages& messages_;
  std::FILE* in_;
  std::FILE* out_;
  const platform::console::HostText* text_;
  Overwrite policy_;
  unsigned unanswered_ = 0;
};

// Starts the program (a name relative to the target folder, as a rule) in
// the target folder and does not wait for it. Archives carry no permission
// bits, so the extracted program is made executable first. A Windows
// program (a file that begins with "MZ", or a name ending in .exe, .com,
// .bat or .cmd) cannot run here: its path is written to `out` instead, and
// that counts as done. A program outside the target folder (an absolute
// name, or one that climbs out of it) is never started: the kit carried no
// such file. Nor is one when `hold` (if given) says so, as when existing
// files were kept that nobody was asked about: the program found may be the
// old one.
class ConsoleLauncher final : public ProgramLauncher {
 public:
  explicit ConsoleLauncher(const platform::console::HostText* text = nullptr, std::FILE* out = stdout,
                           std::function<bool()> hold = {})
      : text_(text), out_(out), hold_(std::move(hold)) {}
  bool Start(const char* program, const char* directory) override;

 private:
  const platform::console::HostText* text_;
  std::FILE* out_;
  std::function<bool()> hold_;
};

}  // namespace kivo::console
