#include "diskmaker/resources/resource_ids.h"
#include "diskmaker/wizard/pages.h"

namespace wendmark {

CDriveSelectPage::CDriveSelectPage(DriveList* drives, const platform::StringTable& strings)
    : WendmarkPage(IDD_DRIVE_SELECT, WizardPage::kDriveSelect, strings), drives_(drives) {}

BOOL CDriveSelectPage::OnInitDialog() {
  list_ = GetDlgItem(window(), IDC_DRIVE_LIST);
  if (list_ != nullptr) FillDriveRows(*drives_, *this);
  return TRUE;
}

int CDriveSelectPage::AddRow(const char* text, std::uint32_t record) {
  LRESULT row = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (row < 0) return -1;
  // Item data 0 means no record: records are attached by index + 1.
  SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(record + 1));
  return static_cast<int>(row);
}

void CDriveSelectPage::SelectRow(int row) {
  SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

bool CDriveSelectPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (message != WM_DRAWITEM || wParam != IDC_DRIVE_LIST) return false;
  DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  *result = TRUE;
  return true;
}

void CDriveSelectPage::DrawRow(const DRAWITEMSTRUCT& item) const {
  if (item.hDC == nullptr || item.itemID == static_cast<UINT>(-1)) return;
  LRESULT data = SendMessageA(list_, LB_GETITEMDATA, item.itemID, 0);
  if (data <= 0 || static_cast<std::uint32_t>(data) > drives_->size()) return;
  const DriveRecord& drive = (*drives_)[static_cast<std::uint32_t>(data) - 1];
  HDC dc = item.hDC;
  RECT row;
  CopyRect(&row, &item.rcItem);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, drive.displayName.c_str(), static_cast<int>(drive.displayName.size()), &extent);
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  HICON icon = static_cast<HICON>(selected ? drive.selectedIcon : drive.icon);
  SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DriveRowLayout at = LayOutDriveRow(row.left, row.top, row.bottom, extent.cy);
  ExtTextOutA(dc, at.textX, at.textY, ETO_OPAQUE, &row, drive.displayName.c_str(),
              static_cast<UINT>(drive.displayName.size()), nullptr);
  DrawIconEx(dc, at.iconX, at.iconY, icon, kDriveIconSize, kDriveIconSize, 0, nullptr, DI_NORMAL);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

LRESULT CDriveSelectPage::OnWizardNext() {
  LRESULT row = SendMessageA(list_, LB_GETCURSEL, 0, 0);
  if (row >= 0) {
    LRESULT data = SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (data > 0 && static_cast<std::uint32_t>(data) <= drives_->size()) {
      drives_->Choose((*drives_)[static_cast<std::uint32_t>(data) - 1]);
    }
  }
  return 0;
}

}  // namespace wendmark
