// Template 135 as it is compiled into the program: read back from the
// module's resources and decoded, so that ids, kinds, positions and the
// styles that matter are checked exactly (the end-to-end test checks the
// same dialog on screen).
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "diskmaker/resources/resource_ids.h"

namespace {

struct Item {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  std::string kind;  // "button", "static" or the class name
  std::string text;
};

struct Template {
  DWORD style;
  short cx, cy;
  std::string caption, font;
  WORD points;
  std::vector<Item> items;
};

std::string Narrow(const WORD*& p) {
  std::string s;
  while (*p != 0) s += static_cast<char>(*p++);
  ++p;
  return s;
}

// A name or an ordinal, as templates hold class names and texts.
std::string NameOrOrdinal(const WORD*& p) {
  if (*p == 0xFFFF) {
    WORD atom = p[1];
    p += 2;
    switch (atom) {
      case 0x80: return "button";
      case 0x82: return "static";
      default: return "#" + std::to_string(atom);
    }
  }
  // Class names match without regard to case (the resource compiler
  // writes them in upper case).
  std::string name = Narrow(p);
  for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return name;
}

const WORD* Align(const WORD* p) {
  auto at = reinterpret_cast<std::uintptr_t>(p);
  return reinterpret_cast<const WORD*>((at + 3) & ~std::uintptr_t(3));
}

bool Decode(Template* t) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_COPY_PROGRESS), MAKEINTRESOURCEA(5));
  if (found == nullptr) return false;
  const auto* head = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
  if (head == nullptr) return false;
  t->style = head->style;
  t->cx = head->cx;
  t->cy = head->cy;
  const WORD* p = reinterpret_cast<const WORD*>(head + 1);
  NameOrOrdinal(p);  // menu
  NameOrOrdinal(p);  // class
  t->caption = Narrow(p);  // texts keep their case
  if (t->style & DS_SETFONT) {
    t->points = *p++;
    t->font = Narrow(p);
  }
  for (WORD i = 0; i < head->cdit; ++i) {
    p = Align(p);
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Item out{item->style, item->x, item->y, item->cx, item->cy, item->id, "", ""};
    p = reinterpret_cast<const WORD*>(item + 1);
    out.kind = NameOrOrdinal(p);
    out.text = *p == 0xFFFF ? NameOrOrdinal(p) : Narrow(p);
    WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    t->items.push_back(out);
  }
  return true;
}

TEST(CopyProgressTemplate, IsTheCopyingFilesDialogWithItsFiveControls) {
  Template t;
  ASSERT_TRUE(Decode(&t));
  EXPECT_EQ(t.caption, "Copying Files");
  EXPECT_EQ(t.cx, 226);
  EXPECT_EQ(t.cy, 90);
  EXPECT_EQ(t.font, "MS Sans Serif");
  EXPECT_EQ(t.points, 8);
  const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(t.style & frame, frame);
  EXPECT_EQ(t.style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);

  ASSERT_EQ(t.items.size(), 5u);
  struct Wanted {
    WORD id;
    const char* kind;
    short x, y, cx, cy;
    const char* text;
  };
  const Wanted wanted[] = {
      {IDC_DISK_LINE, "static", 7, 7, 212, 10, ""},
      {0xFFFF, "button", 7, 20, 212, 40, ""},
      {IDC_FILE_LINE, "static", 14, 28, 198, 8, ""},
      {IDC_COPY_BAR, "msctls_progress32", 14, 40, 199, 14, ""},
      {IDCANCEL, "button", 88, 69, 50, 14, "Cancel"},
  };
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const Item& item = t.items[i];
    EXPECT_EQ(item.id, wanted[i].id);
    EXPECT_EQ(item.kind, wanted[i].kind);
    EXPECT_EQ(item.x, wanted[i].x);
    EXPECT_EQ(item.y, wanted[i].y);
    EXPECT_EQ(item.cx, wanted[i].cx);
    EXPECT_EQ(item.cy, wanted[i].cy);
    EXPECT_EQ(item.text, wanted[i].text);
    EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE));
  }
  EXPECT_EQ(t.items[0].style & SS_TYPEMASK, DWORD(SS_CENTER));  // the disk line is centred
  EXPECT_EQ(t.items[1].style & BS_TYPEMASK, DWORD(BS_GROUPBOX));
  EXPECT_EQ(t.items[2].style & SS_TYPEMASK, DWORD(SS_LEFT));
  EXPECT_EQ(t.items[4].style & BS_TYPEMASK, DWORD(BS_DEFPUSHBUTTON));  // Cancel is the default
  EXPECT_NE(t.items[4].style & WS_TABSTOP, 0u);
}

}  // namespace
