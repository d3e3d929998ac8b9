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
  CWendmarkDlg* sheet = dynamic_cast<CWendmarkDlg*>(Sheet());
  return AllowCancel(kind_, sheet != nullptr, [sheet] { return sheet->ConfirmQuit(); });
}

}  // namespace wendmark
