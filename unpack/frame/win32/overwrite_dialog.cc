#include "unpack/frame/win32/overwrite_dialog.h"

#include "platform/win32/message_boxes.h"
#include "unpack/frame/resource_ids.h"

namespace kivo::win32 {
namespace {

// The buttons answer with their ids, and Enter and Escape with the dialog
// manager's: the three must agree.
static_assert(IDC_ANSWER_YES == kAnswerYes && IDC_ANSWER_YES == IDOK);
static_assert(IDC_ANSWER_NO == kAnswerNo && IDC_ANSWER_NO == IDCANCEL);
static_assert(IDC_ANSWER_ABORT == kAnswerAbort && IDC_ANSWER_YES_TO_ALL == kAnswerYesToAll);

// Centred under the owner with a 10-pixel gap, or centred on the screen.
void Place(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x, y;
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT o;
  if (owner != nullptr && GetWindowRect(owner, &o)) {
    x = o.left + (o.right - o.left) / 2 - w / 2;
    y = o.bottom + 10;
  } else {
    x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  }
  MoveWindow(dialog, x, y, w, h, FALSE);
}

}  // namespace

INT_PTR CALLBACK OverwriteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
      platform::win32::ResourceStringTable strings(instance);
      platform::BoundedString<512> question;
      FormatOverwriteQuestion(strings, reinterpret_cast<const char*>(lParam), &question);
      SetDlgItemTextA(dialog, IDC_QUESTION, question.c_str());
      Place(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id == kAnswerYes || id == kAnswerNo || id == kAnswerAbort || id == kAnswerYesToAll) {
        EndDialog(dialog, id);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

int OverwriteDialog::Ask(const char* name) {
  return static_cast<int>(DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_OVERWRITE), owner_,
                                          OverwriteDlgProc, reinterpret_cast<LPARAM>(name)));
}

}  // namespace kivo::win32
