// Names on the floppy as Windows 95 writes them: which names get a long
// name, the short name each gets (ASCII only, "~n" tails unique in the
// root), and how names are found again without regard to case.
#include <gtest/gtest.h>

#include "floppy/names.h"
#include "tests/unit/floppy/floppy_world.h"

namespace {

using tests::FloppyWorld;

// Created in this order on one floppy, so later tails see earlier names.
struct NameCase {
  const char* name;       // as the host spells it
  const char* shortName;  // what the short entry holds
  bool longName;          // whether long-name entries carry the name
};
constexpr NameCase kNames[] = {
    {"SETUP.EXE", "SETUP.EXE", false},
    {"README", "README", false},
    {"lower.cab", "LOWER.CAB", true},  // only the case differs: no tail
    {"Mixed.Txt", "MIXED.TXT", true},
    {"o.txt", "O.TXT", true},
    {"œ.txt", "_~1.TXT", true},  // mtools would have made it O.TXT, a clash with o.txt
    {"™.txt", "_~2.TXT", true},
    {"€uro.txt", "_URO~1.TXT", true},
    {"übung.dat", "_BUNG~1.DAT", true},
    {"cafe.txt", "CAFE.TXT", true},
    {"café.txt", "CAF_~1.TXT", true},  // differs from the one before by its accent only
    {"Café Menu.txt", "CAF_ME~1.TXT", true},
    {"Größe.dat", "GR__E~1.DAT", true},
    {"my file.v1.2.txt", "MYFILE~1.TXT", true},  // blanks dropped, extension from the last dot
    {"a+b,c;d=e[f].txt", "A_B_C_~1.TXT", true},
    {".profile", "PROFIL~1", true},
    {"archive.tar.gz", "ARCHIV~1.GZ", true},
    {"Setup.Exe2", "SETUP~1.EXE", true},
    {"ab.c d", "AB~1.CD", true},
};

TEST(FloppyNames, ShortAndLongEntriesAsWindows95WritesThem) {
  FloppyWorld w;
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(w.Put(c.name));
    floppy::DirEntry e = w.Entry(c.name);
    EXPECT_EQ(e.shortName, c.shortName);
    EXPECT_EQ(!e.longName.empty(), c.longName);
    EXPECT_EQ(e.slots, floppy::RootSlotsOf(w.Cp(c.name)));
    for (char ch : e.shortName) EXPECT_LT(static_cast<unsigned char>(ch), 0x80);
  }
}

TEST(FloppyNames, TailsCountOnPastNineAndCutTheBase) {
  FloppyWorld w;
  for (int i = 1; i <= 11; ++i) {
    SCOPED_TRACE(i);
    std::string name = "Long file name " + std::to_string(i) + ".txt";
    ASSERT_TRUE(w.Put(name));
    std::string expected = i < 10 ? "LONGFI~" + std::to_string(i) + ".TXT" : "LONGF~" + std::to_string(i) + ".TXT";
    EXPECT_EQ(w.Entry(name).shortName, expected);
  }
}

TEST(FloppyNames, LongNamesAreTheCodePagesCharactersEvenInCyrillic) {
  FloppyWorld w(1251);
  const std::string names[] = {"Установка.exe", "файл.txt", "ФАЙЛ2.TXT"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(w.Put(name));
    EXPECT_EQ(w.Entry(name).longName, floppy::LongNameOf(w.Cp(name), w.codec));
  }
  // Cyrillic folds by the code page's rules: "файл.txt" and "ФАЙЛ.TXT" are one file.
  std::uint32_t attributes = 0;
  EXPECT_TRUE(w.files.GetAttributes(("A:\\" + w.Cp("ФАЙЛ.TXT")).c_str(), &attributes));
  EXPECT_EQ(w.Entry("ФАЙЛ2.TXT").shortName, "____2~1.TXT");
}

TEST(FloppyNames, NamesAreFoundWithoutRegardToCaseUnderLongOrShortName) {
  FloppyWorld w;
  ASSERT_TRUE(w.Put("café.txt", "accented"));
  ASSERT_TRUE(w.Put("cafe.txt", "plain"));
  ASSERT_TRUE(w.Put("œ.txt", "oe"));
  struct Lookup {
    const char* path;
    const char* contents;  // nullptr: not found
  } lookups[] = {
      {"A:\\CAFÉ.TXT", "accented"}, {"A:CaFé.TxT", "accented"}, {"A:\\CAF_~1.TXT", "accented"},
      {"a:\\caf_~1.txt", "accented"}, {"A:\\CAFE.TXT", "plain"}, {"\\Œ.TXT", "oe"},
      {"A:\\_~1.txt", "oe"}, {"A:\\cafe.txt.", "plain"},  // trailing dots are dropped, as Windows does
      {"A:\\o.txt", nullptr}, {"A:\\cafe", nullptr}, {"B:\\cafe.txt", nullptr},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(l.path);
    platform::FileHandle f = platform::kNoFile;
    platform::Status s = w.files.Open(w.Cp(l.path).c_str(), platform::OpenMode::kReadShared, &f);
    ASSERT_EQ(s.ok(), l.contents != nullptr) << s.code();
    if (!s) continue;
    char buffer[32] = {};
    std::uint32_t done = 0;
    EXPECT_TRUE(w.files.Read(f, buffer, sizeof buffer, &done));
    EXPECT_EQ(std::string(buffer, done), l.contents);
    EXPECT_TRUE(w.files.Close(f));
  }
  // A name that folds onto one already there is that file.
  EXPECT_EQ(w.Put("CAFÉ.TXT").code(), platform::error::kFileExists);
  EXPECT_EQ(w.Put("_~1.TXT").code(), platform::error::kFileExists);
  EXPECT_TRUE(w.Put("CAFÉ2.TXT"));
}

TEST(FloppyNames, NamesTheDiskCannotHoldAreRefused) {
  FloppyWorld w;
  const char* refused[] = {"a?b", "con", "Con.txt", "LPT1", " lead", "x|y", "tab\there"};
  for (const char* name : refused) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(floppy::WhyNotStorable(name).empty());
    EXPECT_EQ(w.Put(name).code(), floppy::error::kInvalidName);
  }
  EXPECT_EQ(w.Put(std::string(256, 'a')).code(), floppy::error::kInvalidName);
  EXPECT_TRUE(w.Put(std::string(255, 'a')));
  EXPECT_EQ(w.Entry(std::string(255, 'a')).slots, 21u);  // 20 long-name entries and the short one
  EXPECT_EQ(w.Put("sub\\file.txt").code(), platform::error::kPathNotFound);
}

}  // namespace
