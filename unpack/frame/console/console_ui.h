// The extractor's user interface on a Linux console: messages on stderr as
// "Tandrel: <text>", the overwrite question read from stdin, and the start
// of the archive's program in the target folder.
#pragma once

#include <cstdio>

#include "platform/ui.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/console/host_text.h"

namespace kivo::console {

// The UI objects take their text into the host's encoding through `text`
// (by default they write it as it is).

// Writes "<caption>: <text>" to `out`, in the host's encoding; waits for
// Enter when `in` is a terminal, so that the text is read before the program
// goes on.
class ConsoleMessageBoxes final : public platform::ui::MessageBoxes {
 public:
  ConsoleMessageBoxes(std::FILE* in, std::FILE* out, const HostText* text = nullptr)
      : in_(in), out_(out), text_(text) {}
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  std::FILE* in_;
  std::FILE* out_;
  const HostText* text_;
};

// The question of string 12 followed by the four answers by their mnemonics:
// y, n, e, a. An empty line is the default button (Yes), end of input the
// cancel button (No); anything else asks again.
class ConsolePrompt final : public OverwritePrompt {
 public:
  ConsolePrompt(const Messages& messages, std::FILE* in, std::FILE* out, const HostText* text = nullptr)
      : messages_(messages), in_(in), out_(out), text_(text) {}
  int Ask(const char* name) override;

 private:
  const Messages& messages_;
  std::FILE* in_;
  std::FILE* out_;
  const HostText* text_;
};

// Starts the program (a name relative to the target folder, as a rule) in
// the target folder and does not wait for it. Archives carry no permission
// bits, so the extracted program is made executable first.
class ConsoleLauncher final : public ProgramLauncher {
 public:
  explicit ConsoleLauncher(const HostText* text = nullptr) : text_(text) {}
  bool Start(const char* program, const char* directory) override;

 private:
  const HostText* text_;
};

}  // namespace kivo::console
