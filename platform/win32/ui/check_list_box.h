// A list box whose rows each carry a two-state check box: the list control
// of a template (owner-drawn fixed rows holding strings), with the check
// state kept in each row's item data. A click on a row's box or the space
// bar on the current row toggles it; the dialog hands its WM_DRAWITEM for
// the list to Draw.
#pragma once

#include <windows.h>

#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {

class CheckListBox : OneWindow {
 public:
  CheckListBox() = default;
  ~CheckListBox();

  // Takes over the list control; false when there is none.
  bool Attach(HWND list);
  HWND window() const { return list_; }

  // Appends a row; its index, or -1 when the list refused it.
  int AddRow(const char* text, bool checked);
  int RowCount() const;
  bool IsChecked(int row) const;
  void SetChecked(int row, bool checked);

  // Draws one row; false when the request is not for this list.
  bool Draw(const DRAWITEMSTRUCT& item) const;

 private:
  int BoxSize() const;
  void Toggle(int row);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND list_ = nullptr;
  WNDPROC original_ = nullptr;
};

}  // namespace platform::win32::ui
