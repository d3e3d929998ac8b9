#include "diskmaker/resources/resource_ids.h"
#include "diskmaker/wizard/pages.h"
#include "platform/win32/message_boxes.h"

namespace wendmark {

CDiskSelectPage::CDiskSelectPage(const char* name, PackageList* packages,
                                 const platform::StringTable& strings)
    : WendmarkPage(IDD_DISK_SELECT, WizardPage::kDiskSelect, strings),
      logic_(name, packages, strings) {}

BOOL CDiskSelectPage::OnInitDialog() {
  if (list_.Attach(GetDlgItem(window(), IDC_DISK_LIST))) logic_.Fill(*this);
  return TRUE;
}

bool CDiskSelectPage::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED || (id != IDC_SELECT_ALL && id != IDC_CLEAR_ALL)) return false;
  if (list_.window() != nullptr) DiskSelectLogic::CheckAll(*this, id == IDC_SELECT_ALL);
  return true;
}

bool CDiskSelectPage::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR* result) {
  if (message != WM_DRAWITEM) return false;
  if (!list_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return false;
  *result = TRUE;
  return true;
}

LRESULT CDiskSelectPage::OnWizardNext() {
  platform::win32::SystemMessageBoxes boxes(SheetWindow());
  return logic_.Next(*this, boxes) ? 0 : -1;
}

}  // namespace wendmark
