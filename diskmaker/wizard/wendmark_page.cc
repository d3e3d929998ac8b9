#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/sheet_buttons.h"
#include "diskmaker/wizard/wendmark_dlg.h"

namespace wendmark {

// The wizard logic's copies of the sheet's values. The Back, Next and Finish
// buttons' control ids are the common controls' own (0x3023 to 0x3025) and
// stand in no header; the walk under Wine finds the buttons by them.
static_assert(kWizardBack == PSWIZB_BACK && kWizardNext == PSWIZB_NEXT);
static_assert(kCancelButton == IDCANCEL);

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
