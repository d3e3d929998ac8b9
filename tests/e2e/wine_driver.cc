// A scripted driver for Windows programs under test: it waits for their
// windows, reads the texts of a window and its controls, presses buttons,
// checks control positions and saves a picture of every window it meets.
//
//   wine_driver.exe OUTDIR SCRIPT
//
// SCRIPT holds one step per line; arguments in double quotes may carry
// \n, \r, \" and \\ escapes; '#' starts a comment line. Times are milliseconds.
//
//   window "CAPTION" [TIMEOUT]   wait for a new visible top-level window with
//                                that caption; it becomes the current window
//                                and its picture is saved
//   select "CAPTION" [TIMEOUT]   make a visible window with that caption
//                                current again (no picture), waiting for it
//   text "TEXT"                  the window or one of its controls reads TEXT
//   child ID "TEXT" [TIMEOUT]    wait until control ID reads TEXT
//   partway ID [TIMEOUT]         wait until progress bar ID stands strictly
//                                between its low and high ends (a copy caught
//                                in the middle, for a picture of it)
//   buttons "A" "B" ...          the visible buttons, in order, read A, B, ...
//   icon KIND                    the window's icon control shows KIND:
//                                exclamation (yellow triangle), information
//                                (blue disc; a question mark looks the same
//                                in colour) or none (no icon control)
//   click "TEXT"                 press the visible button reading TEXT (BM_CLICK)
//   command ID ["CAPTION"]       send WM_COMMAND ID to the window, or to the
//                                window with that caption (posted at once,
//                                e.g. right behind a click)
//   press N                      press button N of a property sheet
//                                (PSM_PRESSBUTTON: 0 Back, 1 Next, 2 Finish,
//                                3 OK, 4 Apply, 5 Cancel, 6 Help)
//   gone [TIMEOUT]               wait until the current window is closed
//   closed "CAPTION" [TIMEOUT]   wait until no visible window has that caption
//   units WIDTH HEIGHT           the current window's client area in dialog units
//   control ID X Y W H           control ID lies at X,Y with size W x H in
//                                dialog units (one unit of slack)
//   shot NAME                    save the current window's picture as NAME.bmp
//   handshake NAME [TIMEOUT]     write NAME.request in OUTDIR and wait for
//                                NAME.done there (the test script's turn)
//   sleep TIME
//   page                         make the current property sheet's current
//                                page the current window (no picture), so that
//                                units, control, child and text look inside it
//   rows ID "TEXT" ...           the rows of list box ID read TEXT, ... in order
//   checks ID STATES             the rows' item data, one digit each ("101":
//                                the check states of a check list)
//   selected ID N                the list box's selected row is N (-1: none)
//   check ID N                   click the check box of row N of list box ID
//   key ID VK                    press virtual key VK on control ID, or on the
//                                window itself for ID 0 (posted)
//   syscommand N [LPARAM]        send WM_SYSCOMMAND N to the window (posted)
//   title "CAPTION" [TIMEOUT]    wait until the current window's caption reads
//                                CAPTION (a wizard's caption follows its page);
//                                its picture is saved
//   top                          make the top-level window of the current
//                                window (a page's sheet) current again
//   place ID NAME                remember where control ID lies on the screen
//   at ID NAME                   control ID lies exactly where NAME was (a
//                                button moved into another's place)
//   focus ID                     the keyboard focus is on control ID (of any
//                                window of the current window's thread)
//   selection ID START END       edit control ID has START..END selected
//   popup NAME [TIMEOUT]         wait for an open menu and save its picture as
//                                NAME.bmp (another process's menu items cannot
//                                be read, so the picture is looked at)
//   pixels WIDTH HEIGHT          the current window measures WIDTH x HEIGHT
//                                pixels, frame included
//   centred                      the current window is centred on the screen
//                                ((screen - size) / 2, integer division)
//   under "CAPTION" GAP          the current window is centred under the
//                                window with that caption, GAP pixels below
//                                its lower edge
//   owner "CAPTION"              the current window's owner has that caption
//   style ID BITS                control ID has all the style bits BITS (hex)
//   close                        press the current window's close box
//                                (WM_SYSCOMMAND SC_CLOSE)
//   type VK                      a real key press (keybd_event) on whatever
//                                has the keyboard focus, with the current
//                                window brought to the foreground first
//   colours ID BACK TEXT         control ID's client area shows mostly colour
//                                BACK on the screen, with TEXT among its pixels
//                                (colours as RRGGBB in hex)
//
// Every step is echoed; the first failing step prints "FAIL: ..." with the
// texts of all visible windows, saves a picture of the screen and ends the
// driver with exit code 1. Exit code 0 means every step passed.
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::string outDir;
int shotCount = 0;
HWND current = nullptr;
std::set<HWND> met;
double unitX = 0, unitY = 0;  // pixels per dialog unit of the current window
std::map<std::string, RECT> places;

constexpr DWORD kDefaultTimeout = 10000;
constexpr DWORD kPoll = 50;

std::string ReadText(HWND window) {
  char buffer[4096];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 3000, &length)) {
    return "<no answer>";
  }
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

std::string ClassOf(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WithoutMnemonic(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  return out;
}

std::string Printable(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(parent, AddWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

std::vector<HWND> TopLevel() {
  std::vector<HWND> out;
  EnumWindows(AddVisibleWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND FindTop(const std::string& caption, bool onlyNew) {
  for (HWND w : TopLevel()) {
    char text[1024] = "";
    GetWindowTextA(w, text, sizeof text);
    if (caption == text && (!onlyNew || met.count(w) == 0)) return w;
  }
  return nullptr;
}

bool IsButton(HWND w) {
  if (ClassOf(w) != "Button") return false;
  LONG style = GetWindowLongA(w, GWL_STYLE) & 0x0F;
  return style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON;
}

void SaveBitmap(const std::string& path, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  int stride = ((width * 3) + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::fwrite(pixels.data(), 1, pixels.size(), f);
  std::fclose(f);
}

std::string SafeName(const std::string& s) {
  std::string out;
  for (char c : s) out += (isalnum(static_cast<unsigned char>(c)) ? c : '-');
  return out;
}

void Shot(HWND window, const std::string& name) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  // Give the window a moment to finish painting.
  Sleep(150);
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", ++shotCount);
  std::string path = outDir + "\\" + prefix + name + ".bmp";
  SaveBitmap(path, r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::printf("  picture %s (%ld,%ld %ldx%ld)\n", path.c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top);
}

// What the icon control of a message box shows, told by its colours as
// they are on the screen: a foreign process's icon handle cannot be read.
std::string IconKind(HWND window) {
  for (HWND c : Children(window)) {
    if (ClassOf(c) != "Static" || (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    if (!IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    HDC screen = GetDC(nullptr);
    int yellow = 0, blue = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        COLORREF p = GetPixel(screen, x, y);
        int red = GetRValue(p), green = GetGValue(p), b = GetBValue(p);
        if (red > 180 && green > 100 && b < 90) ++yellow;
        if (b > 150 && red < 120 && b > green + 30) ++blue;
      }
    }
    ReleaseDC(nullptr, screen);
    std::printf("  icon: %d yellow, %d blue pixels\n", yellow, blue);
    if (yellow > 100 && yellow > blue) return "exclamation";
    if (blue > 100 && blue > yellow) return "information";
    return "unknown";
  }
  return "none";
}

void Describe(HWND w, const char* indent) {
  RECT r;
  GetWindowRect(w, &r);
  std::printf("%s[%s id=%d] \"%s\" (%ld,%ld %ldx%ld)\n", indent, ClassOf(w).c_str(),
              GetDlgCtrlID(w), Printable(ReadText(w)).c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top);
}

[[noreturn]] void Fail(const std::string& why) {
  std::printf("FAIL: %s\n", Printable(why).c_str());
  std::printf("visible windows:\n");
  for (HWND w : TopLevel()) {
    Describe(w, "  ");
    for (HWND c : Children(w)) Describe(c, "    ");
  }
  SaveBitmap(outDir + "\\failure-screen.bmp", 0, 0, GetSystemMetrics(SM_CXSCREEN),
             GetSystemMetrics(SM_CYSCREEN));
  std::fflush(stdout);
  std::exit(1);
}

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string token;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          char next = line[++i];
          token += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
          token += line[i];
        }
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') token += line[i++];
    }
    out.push_back(token);
  }
  return out;
}

DWORD TimeoutArg(const std::vector<std::string>& t, std::size_t index) {
  return t.size() > index ? static_cast<DWORD>(std::strtoul(t[index].c_str(), nullptr, 10)) : kDefaultTimeout;
}

void NeedCurrent() {
  if (current == nullptr || !IsWindow(current)) Fail("no current window");
}

HWND Control(int id) {
  NeedCurrent();
  HWND c = GetDlgItem(current, id);
  // Controls of a sheet's page lie one level further down.
  if (c == nullptr) {
    for (HWND d : Children(current)) {
      if (GetDlgCtrlID(d) == id && IsWindowVisible(d)) return d;
    }
  }
  if (c == nullptr) Fail("no control with id " + std::to_string(id));
  return c;
}

std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    // Across processes Wine hands a row's text over whole only as Unicode.
    wchar_t wide[1024] = L"";
    char text[2048] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 1024) {
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
      WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    }
    rows.push_back(text);
  }
  return rows;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string all;
  for (const std::string& s : items) all += " \"" + s + "\"";
  return all;
}

using Args = std::vector<std::string>;

int Number(const std::string& s) { return std::atoi(s.c_str()); }

// Polls until `ready` holds, every `poll` milliseconds; once `timeout` has
// passed without it, the step fails with the text `why` gives then.
template <typename Ready, typename Why>
void WaitUntil(DWORD timeout, DWORD poll, Ready ready, Why why) {
  DWORD deadline = GetTickCount() + timeout;
  while (!ready()) {
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) Fail(why());
    Sleep(poll);
  }
}

void DescribeWithChildren(HWND w) {
  Describe(w, "  ");
  for (HWND c : Children(w)) Describe(c, "    ");
}

std::string NoWindow(const std::string& caption) { return "no window \"" + caption + "\""; }

void WindowStep(const Args& t) {
  HWND w;
  WaitUntil(TimeoutArg(t, 2), kPoll, [&] { return (w = FindTop(t[1], true)) != nullptr; },
            [&] { return NoWindow(t[1]); });
  met.insert(w);
  current = w;
  DescribeWithChildren(w);
  Shot(w, SafeName(t[1]));
}

void SelectStep(const Args& t) {
  WaitUntil(TimeoutArg(t, 2), kPoll, [&] { return (current = FindTop(t[1], false)) != nullptr; },
            [&] { return NoWindow(t[1]); });
}

void TextStep(const Args& t) {
  NeedCurrent();
  if (ReadText(current) == t[1]) return;
  for (HWND c : Children(current)) {
    if (ReadText(c) == t[1]) return;
  }
  Fail("no text \"" + t[1] + "\"");
}

void ChildStep(const Args& t) {
  HWND c = Control(Number(t[1]));
  std::string seen;
  WaitUntil(TimeoutArg(t, 3), 10, [&] { return (seen = ReadText(c)) == t[2]; },
            [&] { return "control " + t[1] + " reads \"" + seen + "\", not \"" + t[2] + "\""; });
}

void PartwayStep(const Args& t) {
  HWND bar = Control(Number(t[1]));
  int l = 0, h = 0, p = 0;
  auto between = [&] {
    DWORD_PTR low = 0, high = 0, pos = 0;
    bool read = SendMessageTimeoutA(bar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, 3000, &low) &&
                SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 3000, &high) &&
                SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 3000, &pos);
    // The answers are ints the bar returns through an LRESULT.
    l = static_cast<int>(low), h = static_cast<int>(high), p = static_cast<int>(pos);
    return read && l < p && p < h;
  };
  WaitUntil(TimeoutArg(t, 2), 10, between, [&] {
    return "progress bar " + t[1] + " never stood between its ends (last " + std::to_string(p) + " of " +
           std::to_string(l) + ".." + std::to_string(h) + ")";
  });
  std::printf("  progress %d of %d..%d\n", p, l, h);
}

void ButtonsStep(const Args& t) {
  NeedCurrent();
  std::vector<std::string> seen;
  for (HWND c : Children(current)) {
    if (IsButton(c) && IsWindowVisible(c)) seen.push_back(WithoutMnemonic(ReadText(c)));
  }
  if (seen != Args(t.begin() + 1, t.end())) Fail("buttons are" + Joined(seen));
}

void IconStep(const Args& t) {
  NeedCurrent();
  std::string kind = IconKind(current);
  if (kind != t[1]) Fail("the icon is " + kind + ", not " + t[1]);
}

void ClickStep(const Args& t) {
  NeedCurrent();
  for (HWND c : Children(current)) {
    if (IsButton(c) && IsWindowVisible(c) && WithoutMnemonic(ReadText(c)) == t[1]) {
      PostMessageA(c, BM_CLICK, 0, 0);
      return;
    }
  }
  Fail("no button \"" + t[1] + "\"");
}

void CommandStep(const Args& t) {
  HWND target = current;
  if (t.size() > 2) {
    target = FindTop(t[2], false);
    if (target == nullptr) Fail(NoWindow(t[2]));
  }
  if (target == nullptr || !IsWindow(target)) Fail("no current window");
  PostMessageA(target, WM_COMMAND, MAKEWPARAM(Number(t[1]), BN_CLICKED), 0);
}

void PressStep(const Args& t) {
  NeedCurrent();
  constexpr UINT kPressButton = WM_USER + 113;  // PSM_PRESSBUTTON
  PostMessageA(current, kPressButton, static_cast<WPARAM>(Number(t[1])), 0);
}

void GoneStep(const Args& t) {
  WaitUntil(TimeoutArg(t, 1), kPoll,
            [] { return !(current != nullptr && IsWindow(current) && IsWindowVisible(current)); },
            [] { return std::string("the window is still there"); });
}

void ClosedStep(const Args& t) {
  WaitUntil(TimeoutArg(t, 2), kPoll, [&] { return FindTop(t[1], false) == nullptr; },
            [&] { return "\"" + t[1] + "\" is still open"; });
}

void UnitsStep(const Args& t) {
  NeedCurrent();
  RECT client;
  GetClientRect(current, &client);
  unitX = double(client.right) / std::atof(t[1].c_str());
  unitY = double(client.bottom) / std::atof(t[2].c_str());
  std::printf("  %ldx%ld pixels: %.3f x %.3f per unit\n", client.right, client.bottom, unitX, unitY);
}

void ControlStep(const Args& t) {
  if (unitX <= 0) Fail("control: no units given");
  HWND c = Control(Number(t[1]));
  RECT r;
  GetWindowRect(c, &r);
  MapWindowPoints(nullptr, current, reinterpret_cast<POINT*>(&r), 2);
  double got[4] = {r.left / unitX, r.top / unitY, (r.right - r.left) / unitX, (r.bottom - r.top) / unitY};
  std::printf("  control %s at %.1f,%.1f size %.1f x %.1f units\n", t[1].c_str(), got[0], got[1], got[2], got[3]);
  for (int i = 0; i < 4; ++i) {
    double wanted = std::atof(t[2 + i].c_str());
    if (got[i] < wanted - 1.0 || got[i] > wanted + 1.0) Fail("control " + t[1] + " is not where the template puts it");
  }
}

void ShotStep(const Args& t) {
  NeedCurrent();
  Shot(current, t[1]);
}

void HandshakeStep(const Args& t) {
  std::string request = outDir + "\\" + t[1] + ".request", done = outDir + "\\" + t[1] + ".done";
  FILE* f = std::fopen(request.c_str(), "w");
  if (f == nullptr) Fail("cannot write " + request);
  std::fclose(f);
  WaitUntil(TimeoutArg(t, 2), kPoll, [&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
            [&] { return "no answer to " + t[1]; });
  std::FILE* answer = std::fopen(done.c_str(), "r");
  char line[512] = "";
  if (answer != nullptr) {
    if (std::fgets(line, sizeof line, answer) == nullptr) line[0] = '\0';
    std::fclose(answer);
  }
  if (std::string(line).rfind("ok", 0) != 0) Fail(t[1] + ": " + line);
}

void SleepStep(const Args& t) { Sleep(static_cast<DWORD>(Number(t[1]))); }

void PageStep(const Args&) {
  NeedCurrent();
  constexpr UINT kGetCurrentPage = WM_USER + 118;  // PSM_GETCURRENTPAGEHWND
  HWND page = reinterpret_cast<HWND>(SendMessageA(current, kGetCurrentPage, 0, 0));
  if (page == nullptr) Fail("no current page");
  current = page;
}

void RowsStep(const Args& t) {
  Args seen = ListRows(Control(Number(t[1])));
  if (seen != Args(t.begin() + 2, t.end())) Fail("rows are" + Joined(seen));
}

void ChecksStep(const Args& t) {
  HWND list = Control(Number(t[1]));
  std::string seen;
  LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    seen += std::to_string(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
  }
  if (seen != t[2]) Fail("check states are " + seen);
}

void SelectedStep(const Args& t) {
  LRESULT row = SendMessageA(Control(Number(t[1])), LB_GETCURSEL, 0, 0);
  if (row != Number(t[2])) Fail("selected row is " + std::to_string(row));
}

void CheckStep(const Args& t) {
  HWND list = Control(Number(t[1]));
  int row = Number(t[2]);
  LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  LPARAM at = MAKELPARAM(6, static_cast<int>((row - top) * height + height / 2));
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  Sleep(100);
}

void KeyStep(const Args& t) {
  int id = Number(t[1]);
  NeedCurrent();
  HWND c = id == 0 ? current : Control(id);
  WPARAM vk = static_cast<WPARAM>(Number(t[2]));
  PostMessageA(c, WM_KEYDOWN, vk, 1);
  PostMessageA(c, WM_KEYUP, vk, 0xC0000001);
  Sleep(100);
}

void SysCommandStep(const Args& t) {
  NeedCurrent();
  LPARAM extra = t.size() > 2 ? static_cast<LPARAM>(Number(t[2])) : 0;
  PostMessageA(current, WM_SYSCOMMAND, static_cast<WPARAM>(Number(t[1])), extra);
}

void TitleStep(const Args& t) {
  NeedCurrent();
  std::string seen;
  WaitUntil(TimeoutArg(t, 2), kPoll, [&] { return (seen = ReadText(current)) == t[1]; },
            [&] { return "the caption reads \"" + seen + "\""; });
  DescribeWithChildren(current);
  Shot(current, SafeName(t[1]));
}

void TopStep(const Args&) {
  NeedCurrent();
  current = GetAncestor(current, GA_ROOT);
}

// Where control ID (argument 1) lies on the screen, as it is told.
RECT ScreenRect(const Args& t) {
  RECT r;
  GetWindowRect(Control(Number(t[1])), &r);
  std::printf("  control %s at %ld,%ld %ldx%ld\n", t[1].c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top);
  return r;
}

void PlaceStep(const Args& t) { places[t[2]] = ScreenRect(t); }

void AtStep(const Args& t) {
  RECT r = ScreenRect(t);
  auto it = places.find(t[2]);
  if (it == places.end()) Fail("no place " + t[2]);
  if (!EqualRect(&it->second, &r)) Fail("control " + t[1] + " is not where " + t[2] + " was");
}

void FocusStep(const Args& t) {
  NeedCurrent();
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD thread = GetWindowThreadProcessId(current, nullptr);
  int id = GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0;
  if (id != Number(t[1])) Fail("the focus is on control " + std::to_string(id));
}

void SelectionStep(const Args& t) {
  LRESULT range = SendMessageA(Control(Number(t[1])), EM_GETSEL, 0, 0);
  int start = LOWORD(range), end = HIWORD(range);
  if (start != Number(t[2]) || end != Number(t[3]))
    Fail("the selection is " + std::to_string(start) + ".." + std::to_string(end));
}

void PopupStep(const Args& t) {
  HWND menu = nullptr;
  auto open = [&] {
    for (HWND w : TopLevel()) {
      if (ClassOf(w) == "#32768") menu = w;
    }
    return menu != nullptr;
  };
  WaitUntil(TimeoutArg(t, 2), kPoll, open, [] { return std::string("no open menu"); });
  Shot(menu, t[1]);
}

void PixelsStep(const Args& t) {
  NeedCurrent();
  RECT r;
  GetWindowRect(current, &r);
  std::printf("  %ldx%ld pixels at %ld,%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  if (r.right - r.left != Number(t[1]) || r.bottom - r.top != Number(t[2]))
    Fail("the window is not " + t[1] + "x" + t[2] + " pixels");
}

void CentredStep(const Args&) {
  NeedCurrent();
  RECT r;
  GetWindowRect(current, &r);
  long x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  long y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  if (r.left != x || r.top != y)
    Fail("the window is at " + std::to_string(r.left) + "," + std::to_string(r.top) + ", not centred at " +
         std::to_string(x) + "," + std::to_string(y));
}

void UnderStep(const Args& t) {
  NeedCurrent();
  HWND above = FindTop(t[1], false);
  if (above == nullptr) Fail(NoWindow(t[1]));
  RECT r, a;
  GetWindowRect(current, &r);
  GetWindowRect(above, &a);
  long x = a.left + (a.right - a.left) / 2 - (r.right - r.left) / 2;
  long y = a.bottom + Number(t[2]);
  std::printf("  at %ld,%ld; \"%s\" spans %ld,%ld to %ld,%ld\n", r.left, r.top, t[1].c_str(), a.left,
              a.top, a.right, a.bottom);
  if (r.left != x || r.top != y)
    Fail("the window is not at " + std::to_string(x) + "," + std::to_string(y));
}

void OwnerStep(const Args& t) {
  NeedCurrent();
  HWND owner = GetWindow(current, GW_OWNER);
  std::string caption = owner != nullptr ? ReadText(owner) : "<no owner>";
  if (caption != t[1]) Fail("the owner is \"" + caption + "\"");
}

void StyleStep(const Args& t) {
  unsigned long bits = std::strtoul(t[2].c_str(), nullptr, 16);
  unsigned long style = static_cast<unsigned long>(GetWindowLongA(Control(Number(t[1])), GWL_STYLE));
  if ((style & bits) != bits) Fail("control " + t[1] + " has style " + std::to_string(style));
}

void TypeStep(const Args& t) {
  NeedCurrent();
  SetForegroundWindow(current);
  Sleep(100);
  BYTE vk = static_cast<BYTE>(Number(t[1]));
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  Sleep(100);
}

COLORREF ColourOf(const std::string& hex) {
  unsigned long v = std::strtoul(hex.c_str(), nullptr, 16);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void ColoursStep(const Args& t) {
  NeedCurrent();
  // The client area only: a frame or a scroll bar has colours of its own.
  HWND control = Control(Number(t[1]));
  RECT r;
  GetClientRect(control, &r);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
  std::map<COLORREF, int> counts;
  HDC screen = GetDC(nullptr);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) ++counts[GetPixel(screen, x, y)];
  }
  ReleaseDC(nullptr, screen);
  COLORREF most = 0;
  int mostCount = -1;
  for (const auto& [colour, count] : counts) {
    if (count > mostCount) most = colour, mostCount = count;
  }
  char seen[64];
  std::snprintf(seen, sizeof seen, "%02X%02X%02X", GetRValue(most), GetGValue(most), GetBValue(most));
  std::printf("  mostly %s, %d colours\n", seen, static_cast<int>(counts.size()));
  if (most != ColourOf(t[2])) Fail("control " + t[1] + " is mostly " + seen);
  // A few letters' worth: more than stray pixels of a frame.
  if (counts[ColourOf(t[3])] < 20) Fail("control " + t[1] + " shows hardly any " + t[3]);
}

void CloseStep(const Args&) {
  NeedCurrent();
  PostMessageA(current, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Every verb of a script: its handler, and how many arguments it needs at least.
struct Verb {
  const char* name;
  void (*run)(const Args&);
  std::size_t arguments;
};

constexpr Verb kVerbs[] = {
    // Waiting for windows, and which one is current.
    {"window", WindowStep, 1},
    {"select", SelectStep, 1},
    {"title", TitleStep, 1},
    {"gone", GoneStep, 0},
    {"closed", ClosedStep, 1},
    {"page", PageStep, 0},
    {"top", TopStep, 0},
    {"popup", PopupStep, 1},

    // What the current window shows.
    {"text", TextStep, 1},
    {"child", ChildStep, 2},
    {"partway", PartwayStep, 1},
    {"buttons", ButtonsStep, 0},
    {"icon", IconStep, 1},
    {"rows", RowsStep, 1},
    {"checks", ChecksStep, 2},
    {"selected", SelectedStep, 2},
    {"focus", FocusStep, 1},
    {"selection", SelectionStep, 3},
    {"owner", OwnerStep, 1},
    {"style", StyleStep, 2},
    {"colours", ColoursStep, 3},

    // Where it lies.
    {"units", UnitsStep, 2},
    {"control", ControlStep, 5},
    {"place", PlaceStep, 2},
    {"at", AtStep, 2},
    {"pixels", PixelsStep, 2},
    {"centred", CentredStep, 0},
    {"under", UnderStep, 2},

    // What the user does.
    {"click", ClickStep, 1},
    {"command", CommandStep, 1},
    {"press", PressStep, 1},
    {"check", CheckStep, 2},
    {"key", KeyStep, 2},
    {"syscommand", SysCommandStep, 1},
    {"type", TypeStep, 1},
    {"close", CloseStep, 0},

    // The script's own steps.
    {"shot", ShotStep, 1},
    {"handshake", HandshakeStep, 1},
    {"sleep", SleepStep, 1},
};

void Step(const Args& t) {
  for (const Verb& verb : kVerbs) {
    if (t[0] != verb.name) continue;
    if (t.size() < verb.arguments + 1) {
      Fail(t[0] + ": needs " + std::to_string(verb.arguments) + " argument(s)");
    }
    verb.run(t);
    return;
  }
  Fail("unknown step " + t[0]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wine_driver OUTDIR SCRIPT\n");
    return 2;
  }
  outDir = argv[1];
  FILE* script = std::fopen(argv[2], "r");
  if (script == nullptr) {
    std::fprintf(stderr, "wine_driver: cannot read %s\n", argv[2]);
    return 2;
  }
  char line[4096];
  int number = 0;
  while (std::fgets(line, sizeof line, script) != nullptr) {
    ++number;
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::vector<std::string> t = Tokens(text);
    if (t.empty() || t[0][0] == '#') continue;
    std::printf("%d: %s\n", number, Printable(text).c_str());
    std::fflush(stdout);
    Step(t);
  }
  std::fclose(script);
  std::printf("PASS\n");
  return 0;
}
