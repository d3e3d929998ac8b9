// The small window that stands on the screen while the archive is
// extracted. The extraction itself runs inside its first paint.
#pragma once

#include <windows.h>

#include "unpack/engine/extractor.h"

namespace kivo::win32 {


// What the window runs: handed over as its creation parameter.
struct ExtractorRun {
  HINSTANCE instance;
  const ExtractOptions* options;
  Extractor* extractor;
};

LRESULT CALLBACK ExtractorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers KivoUnpackWindowClass and creates the window, centred on the
// screen. Null when either fails.
HWND CreateExtractorWindow(ExtractorRun* run);

}  // namespace kivo::win32
