// The modal "Copying Files" dialog (template 135) that a build runs in.
#pragma once

#include <windows.h>

#include "diskmaker/builder/progress_dialog_logic.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/ui/modal_dialog.h"

namespace wendmark {

class DiskBuilder;

class CopyProgressDlg final : public platform::win32::ui::ModalDialog, public ProgressDialogLogic {
 public:
  CopyProgressDlg(HWND parent, CopyJob* job, const platform::StringTable& strings)
      : ProgressDialogLogic(job, strings), parent_(parent) {}
  ~CopyProgressDlg() override = default;

  // Runs the dialog and returns its end code (failed when it could not be made).
  int DoModal();

  platform::ui::MessageBoxes& Messages() override { return boxes_; }

 private:
  // --- ModalDialog
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

  // --- ProgressDialogLogic
  void SetDiskLine(const char* text) override;
  void SetFileLine(const char* text) override;
  void SetBarRange(int low, int high) override;
  void SetBarPosition(int position) override;
  void DispatchWaitingMessages() override;
  bool StartTimer(std::uintptr_t id, std::uint32_t milliseconds) override;
  void StopTimer(std::uintptr_t id) override;
  void EndWith(int code) override;

  void SetLine(int id, platform::TextBuffer* shown, const char* text);

  HWND parent_;
  platform::win32::SystemMessageBoxes boxes_;
  platform::TextBuffer diskLine_, fileLine_;
  int barPosition_ = -1;
};

// Runs `builder`'s build inside the modal "Copying Files" dialog owned by
// `parent`, with the dialog's texts from `strings`. True exactly when every
// selected disk was written; *endCode (when given) receives the dialog's
// end code: 1 written, 2 cancelled, 3 failed.
bool BuildInDialog(DiskBuilder& builder, HWND parent, const platform::StringTable& strings,
                   int* endCode = nullptr);

}  // namespace wendmark
