#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/sheet_buttons.h"
#include "diskmaker/wizard/wendmark_dlg.h"

namespace wendmark {

bool WendmarkPage::OnSetActive() {
  if (Sheet() != nullptr) {
    PageButtons buttons = ButtonsFor(kind_);
    RequestWizardButtons(buttons.wizardButtons);
    ShowSheetButton(kBackButton, buttons.showBack);
  }
  return true;
}

bool WendmarkPage::OnQueryCancel() {
  // Only a sheet of ours has the quit question.
  CWendmarkDlg* sheet = sheet_;
  bool ours = sheet != nullptr && Sheet() == sheet;
  return AllowCancel(kind_, ours, [sheet] { return sheet->ConfirmQuit(); });
}

}  // namespace wendmark
