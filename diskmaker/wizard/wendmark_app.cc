#include "diskmaker/wizard/wendmark_app.h"

#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/wendmark_dlg.h"
#include "diskmaker/wizard/wizard_logic.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace wendmark {

bool CWendmarkApp::InitInstance() {
  if (!LoadModels(&packages_, &drives_, platform::DefaultProcess(), GetCommandLineA())) return false;

  platform::win32::ResourceStringTable strings(instance());
  CWendmarkDlg sheet(instance(), strings);
  const char* name = packages_.GetName().c_str();
  CWelcomePage welcome(name, strings);
  sheet.AddWizardPage(&welcome);
  CLicensePage license(strings);
  if (!GetLicenseFilePath(platform::DefaultProcess(), platform::DefaultFileSystem()).empty()) {
    sheet.AddWizardPage(&license);
  }
  CDiskSelectPage disks(name, &packages_, strings);
  sheet.AddWizardPage(&disks);
  CDriveSelectPage drive(&drives_, strings);
  sheet.AddWizardPage(&drive);
  CGetDisksPage getDisks(&packages_, &drives_, strings);
  sheet.AddWizardPage(&getDisks);
  CCompletePage complete(name, strings);
  sheet.AddWizardPage(&complete);

  // Finished or cancelled, the program ends either way.
  sheet.DoModal();
  return false;
}

}  // namespace wendmark
