#include "platform/win32/ui/check_list_box.h"

#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {
namespace {

constexpr char kListProperty[] = "TandrelCheckList";
// Room left and right of the box, in pixels.
constexpr int kBoxMargin = 2;

}  // namespace

CheckListBox::~CheckListBox() {
  if (list_ != nullptr && IsWindow(list_)) Unsubclass(list_, kListProperty, original_);
}

bool CheckListBox::Attach(HWND list) {
  if (list == nullptr || list_ != nullptr) return false;
  list_ = list;
  original_ = Subclass(list, kListProperty, this, &CheckListBox::Procedure);
  return true;
}

int CheckListBox::AddRow(const char* text, bool checked) {
  LRESULT row = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (row < 0) return -1;
  SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(row), checked ? 1 : 0);
  return static_cast<int>(row);
}

int CheckListBox::RowCount() const {
  LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

bool CheckListBox::IsChecked(int row) const {
  return SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0) == 1;
}

void CheckListBox::SetChecked(int row, bool checked) {
  SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(row), checked ? 1 : 0);
  RECT r;
  if (SendMessageA(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)) !=
      LB_ERR) {
    InvalidateRect(list_, &r, FALSE);
  }
}

void CheckListBox::Toggle(int row) {
  if (row >= 0 && row < RowCount()) SetChecked(row, !IsChecked(row));
}

int CheckListBox::BoxSize() const {
  int height = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  int box = height - 2;
  return box < 9 ? 9 : (box > 13 ? 13 : box);
}

bool CheckListBox::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.hwndItem != list_) return false;
  if (item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
  }
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  int height = row.bottom - row.top;
  int box = BoxSize();
  RECT boxRect = {row.left + kBoxMargin, row.top + (height - box) / 2, 0, 0};
  boxRect.right = boxRect.left + box;
  boxRect.bottom = boxRect.top + box;

  // The box stays on the window colour; only the text shows the selection.
  RECT boxBand = row;
  boxBand.right = boxRect.right + kBoxMargin;
  FillRect(dc, &boxBand, GetSysColorBrush(COLOR_WINDOW));
  UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (IsChecked(static_cast<int>(item.itemID))) state |= DFCS_CHECKED;
  DrawFrameControl(dc, &boxRect, DFC_BUTTON, state);

  RECT textRect = row;
  textRect.left = boxBand.right;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  char text[512] = "";
  LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, item.itemID, 0);
  if (length >= 0 && length < static_cast<LRESULT>(sizeof text)) {
    SendMessageA(list_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
  }
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
  ExtTextOutA(dc, textRect.left + 1, textRect.top + (height - extent.cy) / 2, ETO_OPAQUE, &textRect,
              text, static_cast<UINT>(lstrlenA(text)), nullptr);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textRect);
  return true;
}

LRESULT CALLBACK CheckListBox::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CheckListBox* self = static_cast<CheckListBox*>(GetPropA(window, kListProperty));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = self->original_;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      int x = static_cast<short>(LOWORD(lParam));
      LRESULT hit = SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
      // A point below the last row answers the nearest row with the high word set.
      if (HIWORD(hit) == 0 && x < self->BoxSize() + 2 * kBoxMargin) self->Toggle(LOWORD(hit));
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        self->Toggle(static_cast<int>(SendMessageA(window, LB_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == ' ') return 0;  // not a search for a row starting with a blank
      break;
    case WM_NCDESTROY:
      Unsubclass(window, kListProperty, original);
      self->list_ = nullptr;
      break;
    default:
      break;
  }
  return CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace platform::win32::ui
