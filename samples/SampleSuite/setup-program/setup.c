/* SETUP.EXE of the sample product: it only says what it is, so that a kit
   built from the sample shows where a real product's installer would start.
   It needs no C runtime: its own entry point calls the system directly. */
#include <windows.h>

void WINAPI SampleSetupEntry(void) {
  MessageBoxA(NULL,
              "This is the setup program of Sample Suite, the sample product made for the Tandrel demo.\n\n"
              "A real product would install itself from these disks now. This one installs nothing.",
              "Sample Suite Setup", MB_OK | MB_ICONINFORMATION);
  ExitProcess(0);
}
