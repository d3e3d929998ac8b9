#include "diskmaker/builder/progress_dialog_logic.h"

#include "diskmaker/model/drive_list.h"
#include "diskmaker/resources/strings.h"
#include "platform/ui.h"

namespace wendmark {
namespace {

namespace ui = platform::ui;

}  // namespace

void ShowInsertPrompt(ui::MessageBoxes& boxes, const platform::StringTable& strings,
                      const char* title, char letter) {
  boxes.Show(platform::FormatText(strings, IDS_INSERT_PROMPT, title, letter).c_str(),
             platform::LoadText(strings, IDS_PROGRESS_CAPTION).c_str(), ui::kOk | ui::kIconInformation);
}

void ProgressDialogLogic::SetDiskTitle(const char* title) {
  diskTitle.Assign(title);
  ShowStatus("", 0);
}

void ProgressDialogLogic::PromptForDisk(const char* title, const DriveRecord& drive) {
  ShowInsertPrompt(Messages(), strings_, title, drive.letter);
}

void ProgressDialogLogic::ShowStatus(const char* entry, int percent) {
  if (!diskTitle.empty()) SetDiskLine(platform::FormatText(strings_, IDS_CREATING, diskTitle.c_str()).c_str());
  if (entry != nullptr && entry[0] != '\0') {
    SetFileLine(platform::FormatText(strings_, IDS_COPYING, entry).c_str());
  } else {
    SetFileLine("");
  }
  SetBarPosition(percent);
}

bool ProgressDialogLogic::PumpMessages(const char* entry, int percent) {
  ShowStatus(entry, percent);
  DispatchWaitingMessages();
  return !cancelRequested;
}

void ProgressDialogLogic::OnInitDialog() {
  SetBarRange(0, 100);
  ShowStatus("", 0);
}

void ProgressDialogLogic::OnPaint() {
  if (timerStarted) return;
  timerStarted = true;
  if (!StartTimer(kStartTimerId, kStartTimerDelay)) {
    Messages().Show(Text(IDS_NO_TIMER).c_str(), Text(IDS_PROGRESS_CAPTION).c_str(), ui::kOk);
    EndWith(kEndFailed);
  }
}

bool ProgressDialogLogic::OnTimer(std::uintptr_t id) {
  if (id != kStartTimerId) return false;
  StopTimer(kStartTimerId);  // it fires once: the build runs inside this call
  bool written = job_ != nullptr && job_->Run();
  EndWith(written ? kEndWritten : cancelRequested ? kEndCancelled : kEndFailed);
  return true;
}

void ProgressDialogLogic::OnCancel() {
  // The dialog stays open: the copy sees the flag at its next pump, cleans
  // up, and the timer handler ends the dialog.
  int answer = Messages().Show(Text(IDS_CONFIRM_CANCEL).c_str(), Text(IDS_PROGRESS_CAPTION).c_str(),
                               ui::kYesNo | ui::kIconExclamation);
  cancelRequested = answer == ui::kIdYes;
}

}  // namespace wendmark
