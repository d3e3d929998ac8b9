// The engine's user interface on a Linux console. On a terminal every
// message box is asked there, with its exact text, caption and buttons, and
// a bar on stderr follows the copy of each disk. Without one (or with
// --no-prompt) every message is told once, on one line, and answered the
// way that stops the build.
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "diskmaker/builder/copy_progress.h"
#include "platform/console/host_text.h"
#include "platform/console/terminal_boxes.h"
#include "platform/string_table.h"
#include "platform/ui.h"
#include "tools/wendmark/host_reasons.h"

namespace wendmark::console {

// "Disk 1 - Acme  [########------------]  40%  FILE.CAB", cut to `width`.
std::string BarLine(const std::string& title, int percent, const std::string& file, std::size_t width);

// The window the engine runs in: the bar (when `bar` is a stream), the
// insert prompt answered by the program itself (each image is a fresh
// floppy), and the stop request of Ctrl-C, confirmed on a terminal with the
// dialog's own question (the one Yes/No question: Yes stops). Each message
// of the engine is followed by the host's reason that `reasons` (may be
// null) holds for it.
class ConsoleProgress final : public CopyProgress, public platform::ui::MessageBoxes {
 public:
  ConsoleProgress(platform::console::ConsoleBoxes& boxes, std::FILE* bar, bool confirmStop,
                  const platform::console::HostText& text, const platform::StringTable& strings, volatile std::sig_atomic_t* stopRequested,
                  HostReasons* reasons = nullptr)
      : boxes_(boxes), bar_(bar), confirmStop_(confirmStop), text_(text), strings_(strings),
        stopRequested_(stopRequested), reasons_(reasons) {}

  // The disk's file entries in order with their sizes, so that the bar
  // follows the disk's bytes rather than its files. An entry may stand
  // twice; each copy counts.
  using Plan = std::vector<std::pair<std::string, std::uint64_t>>;
  void PlanDisk(Plan plan);
  // Ends the disk's bar line.
  void EndDisk();
  // True once the user asked to stop (and confirmed it on a terminal).
  bool stopped() const { return stopped_; }

  void SetDiskTitle(const char* title) override;
  void PromptForDisk(const char* title, const DriveRecord& drive) override;
  bool PumpMessages(const char* entry, int percent) override;
  platform::ui::MessageBoxes& Messages() override { return *this; }

  // A message of the engine first ends the bar's line, so that both stay
  // readable, and ends the copy under way.
  int Show(const char* text, const char* caption, std::uint32_t style) override;

 private:
  int Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason);
  void Draw(const char* entry, int percent);
  void BreakLine();
  // Moves to the entry whose copy begins: the same one again after Retry,
  // otherwise its next place in the plan.
  void StartCopy(const std::string& entry);

  platform::console::ConsoleBoxes& boxes_;
  std::FILE* bar_;
  bool confirmStop_;
  const platform::console::HostText& text_;
  const platform::StringTable& strings_;
  volatile std::sig_atomic_t* stopRequested_;
  HostReasons* reasons_;
  std::string title_;
  Plan plan_;
  std::uint64_t total_ = 0;
  std::size_t next_ = 0;  // the place in the plan after the file being copied
  std::uint64_t base_ = 0, size_ = 0;  // the bytes of the plan before the file being copied, and its own
  std::string started_;               // the entry whose copy began last
  bool copying_ = false;              // that copy is under way
  bool retry_ = false;                // the last message was answered Retry
  bool lineOpen_ = false;
  bool stopped_ = false;
  int lastShown_ = -1;
  std::string lastEntry_;
};

}  // namespace wendmark::console
