// Names between the host's UTF-8 and a Windows ANSI code page: the bytes
// Windows expects, the way back, what no code page byte can stand for, and
// how Windows folds case in each code page.
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/code_page.h"

namespace {

using platform::posix::CodePage;

CodePage Loaded(unsigned number) {
  CodePage page;
  std::string error;
  EXPECT_TRUE(page.Load(number, &error)) << error;
  return page;
}

TEST(CodePage, NamesBecomeTheBytesWindowsReadsAndComeBackAsTheyWere) {
  struct Case {
    unsigned page;
    const char* host;
    const char* ansi;
  };
  const Case cases[] = {
      {1252, "Café Menu.txt", "Caf\xE9 Menu.txt"},
      {1252, "Größe.dat", "Gr\xF6\xDF" "e.dat"},
      {1252, "Übersicht.txt", "\xDC" "bersicht.txt"},
      {1252, "Noël.txt", "No\xEBl.txt"},
      {1252, "€ Œuvre – “Ÿ”.txt", "\x80 \x8C" "uvre \x96 \x93\x9F\x94.txt"},  // the bytes 1252 adds to Latin-1
      {1251, "Жук.txt", "\xC6\xF3\xEA.txt"},
      {1251, "Отчёт.doc", "\xCE\xF2\xF7\xB8\xF2.doc"},
      {1250, "Łódź.txt", "\xA3\xF3\x64\x9F.txt"},
      {1253, "Ελλάδα.txt", "\xC5\xEB\xEB\xDC\xE4\xE1.txt"},
      {1254, "İstanbul ğ.txt", "\xDDstanbul \xF0.txt"},
      {1257, "Rīga.txt", "R\xEEga.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + " " + c.host);
    CodePage page = Loaded(c.page);
    std::string ansi;
    ASSERT_TRUE(page.FromHost(c.host, &ansi));
    EXPECT_EQ(ansi, c.ansi);
    EXPECT_EQ(page.ToHost(ansi), c.host);
  }
}

TEST(CodePage, EveryCharacterOfEverySupportedCodePageSurvivesTheRoundTrip) {
  for (unsigned number : {874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u}) {
    SCOPED_TRACE(number);
    ASSERT_TRUE(CodePage::IsSupported(number));
    CodePage page = Loaded(number);
    int held = 0;
    for (int b = 1; b < 256; ++b) {
      std::string one(1, static_cast<char>(b)), host, back;
      host = page.ToHost(one);
      if (!page.FromHost(host, &back)) continue;  // a byte the code page leaves unused
      ++held;
      // One byte each way: no letter is merged with a mark after it.
      EXPECT_EQ(back, one) << "byte " << b;
      std::string pair(1, static_cast<char>(b));
      pair += pair;
      EXPECT_EQ(page.ToHost(pair), host + host) << "byte " << b;
    }
    EXPECT_GE(held, 220) << "nearly every byte is a character";
  }
}

TEST(CodePage, TextTheCodePageCannotHoldIsRefusedAndNamed) {
  struct Case {
    unsigned page;
    const char* host;
    const char* missing;
  };
  const Case cases[] = {
      {1252, "漢字.txt", "漢"},      {1252, "Party 😀.txt", "😀"},  {1252, "Жук.txt", "Ж"},
      {1251, "Café.txt", "é"},       {1250, "Æble.dat", "Æ"},    {1257, "Ωmega", "Ω"},
      {1252, "bad \xFF byte", "\xFF"},  // not UTF-8 at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + " " + c.host);
    CodePage page = Loaded(c.page);
    std::string ansi, missing;
    EXPECT_FALSE(page.FromHost(c.host, &ansi, &missing));
    EXPECT_EQ(missing, c.missing);
  }
}

TEST(CodePage, UnusedBytesReadAsTheControlCharacterOfTheirNumber) {
  CodePage page = Loaded(1252);
  EXPECT_EQ(page.ToHost("a\x81z\x9D"), "a\xC2\x81z\xC2\x9D");
}

TEST(CodePage, FoldsCaseAsWindowsDoesInEachCodePage) {
  struct Case {
    unsigned page;
    char lower;
    char upper;
  };
  const Case cases[] = {
      {1252, 'a', 'A'},       {1252, '\xE9', '\xC9'},  // é É
      {1252, '\xFF', '\x9F'},                           // ÿ Ÿ
      {1252, '\x9A', '\x8A'},                           // š Š
      {1252, '\xDF', '\xDF'},                           // ß has no single upper-case letter
      {1252, '\xB5', '\xB5'},                           // micro sign
      {1252, '\xC9', '\xC9'},   {1252, '1', '1'},
      {1251, '\xE6', '\xC6'},                           // ж Ж
      {1251, '\xB8', '\xA8'},                           // ё Ё
      {1253, '\xF2', '\xD3'},                           // final sigma Σ
      {1253, '\xDC', '\xA2'},                           // ά Ά
      {1253, '\xB5', '\xB5'},                           // micro sign, not Greek mu
      {1254, '\xFD', '\xFD'},                           // dotless ı stays
      {1254, 'i', 'I'},
      {1250, '\xB3', '\xA3'},                           // ł Ł
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + " byte " + std::to_string(static_cast<unsigned char>(c.lower)));
    EXPECT_EQ(Loaded(c.page).UpperCase(c.lower), c.upper);
  }
}

TEST(CodePage, RefusesCodePagesThatAreNotOneByteOneCharacter) {
  for (unsigned number : {0u, 437u, 1258u, 65001u, 932u}) {
    CodePage page;
    std::string error;
    EXPECT_FALSE(page.Load(number, &error)) << number;
    EXPECT_EQ(error, "code page " + std::to_string(number) +
                         " is not supported (supported: 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257)");
  }
}

}  // namespace
