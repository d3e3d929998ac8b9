#include "unpack/frame/win32/extractor_window.h"

#include <commctrl.h>

#include "unpack/engine/message_ids.h"
#include "unpack/frame/resource_ids.h"

namespace kivo::win32 {
namespace {

constexpr char kClassName[] = "KivoUnpackWindowClass";
constexpr int kWidth = 149;
constexpr int kHeight = 93;

// The window's state for the life of the process. Plain data only: nothing
// here may need a constructor, since the stub runs none.
constinit ExtractorRun* current = nullptr;
constinit bool extractionStarted = false;

// The sunken frame 2 pixels inside the client area: dark along the left and
// top, light along the right and bottom.
void DrawFrame(HDC dc, RECT r) {
  InflateRect(&r, -2, -2);
  HPEN shadow = CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW));
  HPEN light = CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ old = SelectObject(dc, shadow);
  MoveToEx(dc, r.left, r.bottom, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right, r.top);
  SelectObject(dc, light);
  LineTo(dc, r.right, r.bottom);
  LineTo(dc, r.left, r.bottom);
  SelectObject(dc, old);
  DeleteObject(shadow);
  DeleteObject(light);
}

// The banner through an image list, so that its magenta is transparent.
void DrawBanner(HDC dc, HINSTANCE instance) {
  HIMAGELIST images = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_BANNER), 135, 1,
                                           RGB(255, 0, 255), IMAGE_BITMAP, 0);
  if (images == nullptr) return;
  ImageList_Draw(images, 0, dc, 7, 7, ILD_NORMAL);
  ImageList_Destroy(images);
}

// "Extracting Files..." centred across the window, in the 30-pixel band
// that begins 56 pixels from the top.
void DrawCaption(HDC dc, HINSTANCE instance, const RECT& client) {
  char text[256];
  int length = LoadStringA(instance, IDS_EXTRACTING, text, sizeof text);
  if (length < 0) length = 0;
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text, length, &size);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, (client.right - size.cx) / 2, (30 - size.cy) / 2 + 56, text, length);
  SelectObject(dc, old);
}

void Paint(HWND window, HINSTANCE instance) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  DrawFrame(dc, client);
  DrawBanner(dc, instance);
  DrawCaption(dc, instance, client);
  EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK ExtractorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      current = static_cast<ExtractorRun*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      extractionStarted = false;
      return 0;
    case WM_PAINT:
      Paint(window, current->instance);
      // A repaint while a message box or the overwrite question is open
      // only paints: the extraction is already under way below it.
      if (!extractionStarted) {
        extractionStarted = true;
        current->extractor->ExtractArchive(*current->options);
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateExtractorWindow(ExtractorRun* run) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
  windowClass.lpfnWndProc = ExtractorWndProc;
  windowClass.hInstance = run->instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) return nullptr;
  int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  return CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kClassName, "Tandrel, Inc.",
                         WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, kWidth, kHeight, nullptr, nullptr,
                         run->instance, run);
}

}  // namespace kivo::win32
