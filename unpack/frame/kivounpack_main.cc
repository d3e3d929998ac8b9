// KivoUnpack's entry point. The window, the extraction and the launch step
// join here as they are built.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
