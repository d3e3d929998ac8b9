#include "diskmaker/wizard/wendmark_app.h"

#include "diskmaker/wizard/pages.h"
#include "diskmaker/wizard/wendmark_dlg.h"
#include "diskmaker/wizard/wizard_logic.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/win32/file_system.h"

namespace wendmark {

bool CWendmarkApp::InitInstance() {
  if (!LoadModels(&packages_, &drives_, platform::DefaultProcess(), GetCommandLineA())) return false;

  // The program object is where the system's services are chosen; the
  // pages are handed them.
  WizardServices services{platform::win32::PlainFileSystem(), platform::DefaultDrives(), platform::DefaultMemory()};
  platform::win32::ResourceStringTable strings(instance());
  CWendmarkDlg sheet(instance(), strings);
  const char* name = packages_.GetName().c_str();
  CWelcomePage welcome(name, strings);
  sheet.AddWizardPage(&welcome);
  // Found once: whether there is a license page, and what it shows.
  platform::PathBuffer licensePath = GetLicenseFilePath(platform::DefaultProcess(), services.files);
  CLicensePage license(licensePath.c_str(), services.files, strings);
  if (!licensePath.empty()) sheet.AddWizardPage(&license);
  CDiskSelectPage disks(name, &packages_, strings);
  sheet.AddWizardPage(&disks);
  CDriveSelectPage drive(&drives_, strings);
  sheet.AddWizardPage(&drive);
  CGetDisksPage getDisks(&packages_, &drives_, services, strings);
  sheet.AddWizardPage(&getDisks);
  CCompletePage complete(name, strings);
  sheet.AddWizardPage(&complete);

  // Finished or cancelled, the program ends either way.
  sheet.DoModal();
  return false;
}

}  // namespace wendmark
