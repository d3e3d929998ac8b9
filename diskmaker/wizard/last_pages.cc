// The get-disks page, whose Next runs the build, and the completion page.
#include <windows.h>
#include <commctrl.h>

#include "diskmaker/builder/copy_progress_dlg.h"
#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/resources/resource_ids.h"
#include "diskmaker/resources/strings.h"
#include "diskmaker/wizard/pages.h"

namespace wendmark {
namespace {

// The sheet's Finish button: the common controls' own control id, which
// stands in no header (the walk under Wine finds the button by it).
constexpr int kFinishButton = 0x3025;

}  // namespace

CGetDisksPage::CGetDisksPage(PackageList* packages, DriveList* drives, const WizardServices& services,
                             const platform::StringTable& strings)
    : WendmarkPage(IDD_GET_DISKS, WizardPage::kGetDisks, strings),
      packages_(packages),
      drives_(drives),
      services_(services) {}

bool CGetDisksPage::OnSetActive() {
  WendmarkPage::OnSetActive();
  // Taken afresh: the disk selection may have changed since the last visit.
  SetDlgItemTextA(window(), IDC_COUNT_TEXT, DisksNeededText(strings(), packages_->CountSelected()).c_str());
  return true;
}

LRESULT CGetDisksPage::OnWizardNext() {
  DiskBuilder builder(packages_, drives_, {services_.files, services_.drives, strings(), services_.memory});
  return BuildInDialog(builder, window(), strings()) ? 0 : -1;
}

CCompletePage::CCompletePage(const char* name, const platform::StringTable& strings)
    : WendmarkPage(IDD_COMPLETE, WizardPage::kComplete, strings), name_(name) {}

BOOL CCompletePage::OnInitDialog() {
  SetDlgItemTextA(window(), IDC_COMPLETE_TEXT, NameText(strings(), IDS_COMPLETE_TEXT, name_.c_str()).c_str());
  return TRUE;
}

bool CCompletePage::OnSetActive() {
  if (Sheet() == nullptr) return true;
  HWND sheet = SheetWindow();
  platform::TextBuffer done = platform::LoadText(strings(), IDS_DONE);
  // Shows the Finish button as the default, hides Back and Next.
  SendMessageA(sheet, PSM_SETFINISHTEXT, 0, reinterpret_cast<LPARAM>(done.c_str()));
  HWND cancel = GetDlgItem(sheet, IDCANCEL);
  HWND finish = GetDlgItem(sheet, kFinishButton);
  if (cancel != nullptr && finish != nullptr) {
    RECT place;
    GetWindowRect(cancel, &place);
    ShowWindow(cancel, SW_HIDE);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&place), 2);
    MoveWindow(finish, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  }
  return true;
}

}  // namespace wendmark
