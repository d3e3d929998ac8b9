// The welcome page and the license page.
#include "diskmaker/resources/resource_ids.h"
#include "diskmaker/resources/strings.h"
#include "diskmaker/wizard/pages.h"

namespace wendmark {

CWelcomePage::CWelcomePage(const char* name, const platform::StringTable& strings)
    : WendmarkPage(IDD_WELCOME, WizardPage::kWelcome, strings), name_(name) {}

BOOL CWelcomePage::OnInitDialog() {
  SetDlgItemTextA(window(), IDC_WELCOME_TEXT, NameText(strings(), IDS_WELCOME_TEMPLATETEXT, name_.c_str()).c_str());
  SetDlgItemTextA(window(), IDC_INSTALL_TEXT, NameText(strings(), IDS_COMPLETE_HINT, name_.c_str()).c_str());
  return TRUE;
}

CLicensePage::CLicensePage(const char* path, platform::FileSystem& files, const platform::StringTable& strings)
    : WendmarkPage(IDD_LICENSE, WizardPage::kLicense, strings),
      path_(path),
      files_(files),
      background_(CreateSolidBrush(GetSysColor(COLOR_WINDOW))) {}

CLicensePage::~CLicensePage() {
  if (background_ != nullptr) DeleteObject(background_);
}

BOOL CLicensePage::OnInitDialog() {
  platform::HeapArray<char> text;
  if (ReadLicenseText(files_, path_.c_str(), &text)) {
    HWND edit = GetDlgItem(window(), IDC_LICENSE_TEXT);
    SetWindowTextA(edit, text.data());
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
  }
  return TRUE;
}

bool CLicensePage::OnSetActive() {
  WendmarkPage::OnSetActive();
  // Posted: the sheet puts the focus on the page once activation is over.
  if (Sheet() != nullptr) {
    PostMessageA(SheetWindow(), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(SheetWindow(), IDCANCEL)), TRUE);
  }
  SendDlgItemMessageA(window(), IDC_LICENSE_TEXT, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  return true;
}

bool CLicensePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  // The read-only text sits on the window background, not the dialog's.
  if (message != WM_CTLCOLORSTATIC || background_ == nullptr) return false;
  if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_LICENSE_TEXT) return false;
  // The default answer first: it gives the text the scheme's window-text
  // colour, which a dark or high-contrast window colour needs; only the
  // background is ours.
  DefWindowProcA(window(), message, wParam, lParam);
  SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
  *result = reinterpret_cast<INT_PTR>(background_);
  return true;
}

}  // namespace wendmark
