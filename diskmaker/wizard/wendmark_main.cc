// Wendmark's entry point: the program object runs start-up and the wizard.
#include <windows.h>

#include "diskmaker/wizard/wendmark_app.h"

namespace {

wendmark::CWendmarkApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // No "no disk in drive" box of the system's own: our disk check asks first.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  return theApp.Run(instance);
}
