// The behaviour of the "Copying Files" dialog, apart from its window: the
// disk and file lines, the bar, the one-shot start timer that runs the
// build, the cancel question and the end codes. The Windows dialog supplies
// the window operations; tests supply a recording stand-in.
#pragma once

#include <cstdint>

#include "diskmaker/builder/copy_progress.h"
#include "platform/bounded_string.h"
#include "platform/string_table.h"

namespace wendmark {

// The start timer: fires once, a quarter of a second after the first paint.
constexpr std::uintptr_t kStartTimerId = 8466;
constexpr std::uint32_t kStartTimerDelay = 250;

// How the dialog ends.
constexpr int kEndWritten = 1;
constexpr int kEndCancelled = 2;
constexpr int kEndFailed = 3;

// The insert prompt: label the disk `title` and put it into drive `letter`.
void ShowInsertPrompt(platform::ui::MessageBoxes& boxes, const platform::StringTable& strings,
                      const char* title, char letter);

class ProgressDialogLogic : public CopyProgress {
 public:
  ProgressDialogLogic(CopyJob* job, const platform::StringTable& strings) : job_(job), strings_(strings) {}
  ProgressDialogLogic(const ProgressDialogLogic&) = delete;
  ProgressDialogLogic& operator=(const ProgressDialogLogic&) = delete;

  // --- CopyProgress
  void SetDiskTitle(const char* title) override;
  void PromptForDisk(const char* title, const DriveRecord& drive) override;
  bool PumpMessages(const char* entry, int percent) override;

  // Disk line from diskTitle (kept as it is while there is none), file line
  // for `entry` (empty for none), bar at `percent`.
  void ShowStatus(const char* entry, int percent);

  // --- the dialog's handlers
  void OnInitDialog();
  // After the dialog painted itself; the first call asks for the start timer.
  void OnPaint();
  // False for timers that are not ours (left to the default handling).
  bool OnTimer(std::uintptr_t id);
  // The Cancel button, Esc or the close box: only asks and remembers.
  void OnCancel();

  bool cancelRequested = false;
  platform::TextBuffer diskTitle;
  bool timerStarted = false;

 protected:
  ~ProgressDialogLogic() = default;

  // --- what the window provides
  virtual void SetDiskLine(const char* text) = 0;
  virtual void SetFileLine(const char* text) = 0;
  virtual void SetBarRange(int low, int high) = 0;
  virtual void SetBarPosition(int position) = 0;
  // Removes and dispatches every message waiting for the thread.
  virtual void DispatchWaitingMessages() = 0;
  virtual bool StartTimer(std::uintptr_t id, std::uint32_t milliseconds) = 0;
  virtual void StopTimer(std::uintptr_t id) = 0;
  virtual void EndWith(int code) = 0;

  const platform::StringTable& strings() const { return strings_; }

 private:
  platform::TextBuffer Text(std::uint32_t id) const { return platform::LoadText(strings_, id); }

  CopyJob* job_;
  const platform::StringTable& strings_;
};

}  // namespace wendmark
