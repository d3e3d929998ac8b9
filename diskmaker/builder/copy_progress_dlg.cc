#include "diskmaker/builder/copy_progress_dlg.h"

#include <commctrl.h>

#include "diskmaker/resources/resource_ids.h"

namespace wendmark {

int CopyProgressDlg::DoModal() {
  // The progress bar's window class comes from the common controls.
  InitCommonControls();
  INT_PTR code = RunModal(GetModuleHandleA(nullptr), IDD_COPY_PROGRESS, parent_);
  return code == kEndWritten || code == kEndCancelled ? static_cast<int>(code) : kEndFailed;
}

BOOL CopyProgressDlg::OnInitDialog() {
  boxes_.SetOwner(window());
  ProgressDialogLogic::OnInitDialog();
  return TRUE;  // the system gives the focus to Cancel
}

bool CopyProgressDlg::OnCommand(WORD id, WORD) {
  if (id != IDCANCEL) return false;
  OnCancel();
  return true;
}

bool CopyProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) {
  switch (message) {
    case WM_PAINT: {
      // Paint as a dialog does, then (the first time only) ask for the timer.
      PAINTSTRUCT ps;
      BeginPaint(window(), &ps);
      EndPaint(window(), &ps);
      OnPaint();
      *result = TRUE;
      return true;
    }
    case WM_TIMER:
      if (!OnTimer(static_cast<std::uintptr_t>(wParam))) return false;
      *result = TRUE;
      return true;
    default:
      return false;
  }
}

void CopyProgressDlg::SetLine(int id, platform::TextBuffer* shown, const char* text) {
  // Setting the same text again would only make the line flicker.
  if (*shown == text) return;
  shown->Assign(text);
  SetDlgItemTextA(window(), id, text);
}

void CopyProgressDlg::SetDiskLine(const char* text) { SetLine(IDC_DISK_LINE, &diskLine_, text); }

void CopyProgressDlg::SetFileLine(const char* text) { SetLine(IDC_FILE_LINE, &fileLine_, text); }

void CopyProgressDlg::SetBarRange(int low, int high) {
  SendDlgItemMessageA(window(), IDC_COPY_BAR, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void CopyProgressDlg::SetBarPosition(int position) {
  if (position == barPosition_) return;
  barPosition_ = position;
  SendDlgItemMessageA(window(), IDC_COPY_BAR, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CopyProgressDlg::DispatchWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Not ours to take: leave it for the loop that owns the program.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    // The dialog's own loop would turn Escape into its Cancel command; this
    // pump has no dialog navigation, so it does that one thing itself.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
        (msg.hwnd == window() || IsChild(window(), msg.hwnd))) {
      SendMessageA(window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window(), IDCANCEL)));
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool CopyProgressDlg::StartTimer(std::uintptr_t id, std::uint32_t milliseconds) {
  return SetTimer(window(), id, milliseconds, nullptr) != 0;
}

void CopyProgressDlg::StopTimer(std::uintptr_t id) { KillTimer(window(), id); }

void CopyProgressDlg::EndWith(int code) { End(code); }

}  // namespace wendmark
