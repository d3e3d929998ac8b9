#include "diskmaker/wizard/wendmark_dlg.h"

#include "diskmaker/resources/resource_ids.h"
#include "diskmaker/resources/strings.h"
#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/wizard_logic.h"
#include "platform/win32/message_boxes.h"

namespace wendmark {

CWendmarkDlg::CWendmarkDlg(HINSTANCE instance, const platform::StringTable& strings, HWND parent)
    : instance_(instance), strings_(strings), parent_(parent),
      caption_(platform::LoadText(strings, IDS_SHEET_CAPTION)),
      appIcon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_WENDMARK))) {
  caption = caption_.c_str();
  icon = appIcon_;
  // A wizard with the program's icon and no Help button.
  flags = (PSH_WIZARD | PSH_USEHICON) & ~static_cast<DWORD>(PSH_HASHELP);
}

void CWendmarkDlg::AddWizardPage(WendmarkPage* page) {
  page->JoinSheet(this);
  AddPage(page);
}

bool CWendmarkDlg::ConfirmQuit() {
  platform::win32::SystemMessageBoxes boxes(window());
  return wendmark::ConfirmQuit(boxes, strings_);
}

void CWendmarkDlg::OnCreated() {
  HWND sheet = window();
  SetWindowLongA(sheet, GWL_STYLE, GetWindowLongA(sheet, GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
  HMENU menu = GetSystemMenu(sheet, FALSE);
  if (menu != nullptr) {
    platform::TextBuffer about = platform::LoadText(strings_, IDS_ABOUT_MENU);
    if (!about.empty()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  }
  SendMessageA(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
  SendMessageA(sheet, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon_));
}

bool CWendmarkDlg::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutBox about;
  about.RunModal(instance_, IDD_ABOUTBOX, window());
  return true;
}

bool CAboutBox::OnCommand(WORD id, WORD) {
  if (id != IDOK && id != IDCANCEL) return false;
  End(id);
  return true;
}

}  // namespace wendmark
