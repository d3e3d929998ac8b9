// The engine's user interface on a Linux console. On a terminal every
// message box is asked there, with its exact text, caption and buttons, and
// a bar on stderr follows the copy of each disk. Without one (or with
// --no-prompt) every message is told once, on one line, and answered the
// way that stops the build.
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "diskmaker/builder/copy_progress.h"
#include "platform/string_table.h"
#include "platform/ui.h"
#include "unpack/frame/console/host_text.h"

namespace wendmark::console {

// Asks on the terminal: "<caption>: <text>" and a line of buttons by their
// initials. An empty line is the default (first) button, end of input the
// one that stops (Cancel, Abort, No); anything else asks again.
class TerminalBoxes final : public platform::ui::MessageBoxes {
 public:
  TerminalBoxes(std::FILE* in, std::FILE* out, const kivo::console::HostText& text)
      : in_(in), out_(out), text_(text) {}
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  std::FILE* in_;
  std::FILE* out_;
  const kivo::console::HostText& text_;
};

// Tells "<caption>: <text>" on one line (the text up to its first blank
// line: the part that says what went wrong, without the advice about
// buttons nobody can press) and answers with the button that stops.
class StopBoxes final : public platform::ui::MessageBoxes {
 public:
  StopBoxes(std::FILE* out, const kivo::console::HostText& text) : out_(out), text_(text) {}
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  std::FILE* out_;
  const kivo::console::HostText& text_;
};

// The answer that stops for a button set: Cancel, Abort, and Yes to the one
// Yes/No question ("Are you sure you want to abort ...?"); OK for OK alone.
int StoppingAnswer(std::uint32_t style);

// "Disk 1 - Acme  [########------------]  40%  FILE.CAB", cut to `width`.
std::string BarLine(const std::string& title, int percent, const std::string& file, std::size_t width);

// The window the engine runs in: the bar (when `bar` is a stream), the
// insert prompt answered by the program itself (each image is a fresh
// floppy), and the stop request of Ctrl-C, confirmed on a terminal with the
// dialog's own question.
class ConsoleProgress final : public CopyProgress, public platform::ui::MessageBoxes {
 public:
  ConsoleProgress(platform::ui::MessageBoxes& boxes, std::FILE* bar, bool confirmStop,
                  const kivo::console::HostText& text, const platform::StringTable& strings,
                  volatile std::sig_atomic_t* stopRequested)
      : boxes_(boxes), bar_(bar), confirmStop_(confirmStop), text_(text), strings_(strings),
        stopRequested_(stopRequested) {}

  // The sizes of the disk's file entries, by entry, so that the bar follows
  // the disk's bytes rather than its files.
  void PlanDisk(std::map<std::string, std::uint64_t> sizes);
  // Ends the disk's bar line.
  void EndDisk();
  // True once the user asked to stop (and confirmed it on a terminal).
  bool stopped() const { return stopped_; }

  void SetDiskTitle(const char* title) override;
  void PromptForDisk(const char* title, const DriveRecord& drive) override;
  bool PumpMessages(const char* entry, int percent) override;
  platform::ui::MessageBoxes& Messages() override { return *this; }

  // A message first ends the bar's line, so that both stay readable.
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  void Draw(const char* entry, int percent);
  void BreakLine();

  platform::ui::MessageBoxes& boxes_;
  std::FILE* bar_;
  bool confirmStop_;
  const kivo::console::HostText& text_;
  const platform::StringTable& strings_;
  volatile std::sig_atomic_t* stopRequested_;
  std::string title_;
  std::map<std::string, std::uint64_t> sizes_;
  std::uint64_t total_ = 0, done_ = 0;
  bool lineOpen_ = false;
  bool stopped_ = false;
  int lastShown_ = -1;
  std::string lastEntry_;
};

}  // namespace wendmark::console
