/* SETUP.EXE of the sample product: it only says what it is, so that a kit
   built from the sample shows where a real product's installer would start. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  MessageBoxA(NULL,
              "This is the setup program of Sample Suite, the sample product made for the Tandrel demo.\n\n"
              "A real product would install itself from these disks now. This one installs nothing.",
              "Sample Suite Setup", MB_OK | MB_ICONINFORMATION);
  return 0;
}
