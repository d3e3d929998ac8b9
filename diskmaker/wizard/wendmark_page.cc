#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/wendmark_dlg.h"

namespace wendmark {

// The wizard logic's copies of the sheet's values.
static_assert(kWizardBack == PSWIZB_BACK && kWizardNext == PSWIZB_NEXT);

namespace {

// The sheet's Back button: the common controls' own control id, which stands
// in no header (the walk under Wine finds the button by it).
constexpr int kBackButton = 0x3023;

}  // namespace

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
