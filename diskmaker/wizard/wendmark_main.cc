// Wendmark's entry point. The wizard's pages join here as they are built;
// for now the program loads its package description and drive list, and
// ends, as start-up does when there is nothing to show.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // No "no disk in drive" box of the system's own: our disk check asks first.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  return 0;
}
