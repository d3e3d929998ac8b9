// The formatting rules of the programs' texts. Natively TextFormat is our
// own formatter; under Wine it is the system's wvsprintfA. The same
// expectations hold for both, and for the portable formatter in both
// builds, so native tests see the texts users see.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "platform/format.h"
#include "platform/text.h"

namespace {

std::string ViaText(const char* format, ...) {
  char out[2048];
  va_list args;
  va_start(args, format);
  std::uint32_t n = platform::TextFormatV(out, sizeof out, format, args);
  va_end(args);
  EXPECT_EQ(n, std::string(out).size()) << format;
  return out;
}

std::string ViaPortable(const char* format, ...) {
  char out[platform::kFormatLimit];
  va_list args;
  va_start(args, format);
  platform::FormatWindowsStyle(out, format, args);
  va_end(args);
  return out;
}

// Both formatters, with the same arguments.
#define EXPECT_FORMAT(expected, ...)                  \
  do {                                                \
    EXPECT_EQ(ViaText(__VA_ARGS__), expected);        \
    EXPECT_EQ(ViaPortable(__VA_ARGS__), expected);    \
  } while (0)

TEST(TextFormat, KnowsTheConversionsTheProgramsUse) {
  EXPECT_FORMAT("-5|7|4000000000|ff|FF|Q|%", "%d|%i|%u|%x|%X|%c|%%", -5, 7, 4000000000u, 255, 255, 'Q');
  EXPECT_FORMAT("-2147483648", "%d", static_cast<int>(0x80000000u));
  EXPECT_FORMAT("Unable to access file (002A).", "Unable to access file (%04lX).", 0x2AUL);
  EXPECT_FORMAT(" Disk3: 100% Suite", " Disk%d: %s", 3, "100% Suite");
  EXPECT_FORMAT("(null)", "%s", static_cast<const char*>(nullptr));
}

TEST(TextFormat, FlagsWidthsAndPrecisionsFollowWsprintf) {
  EXPECT_FORMAT("   42|42   |00042|42   |007|     007", "%5d|%-5d|%05d|%-05d|%.3d|%8.3d", 42, 42, 42, 42, 7, 7);
  EXPECT_FORMAT("0xff|0XFF", "%#x|%#X", 255, 255);
  EXPECT_FORMAT("abc|ab|  abc|abc  |    a", "%s|%.2s|%5s|%-5s|%5.1s", "abc", "abc", "abc", "abc", "abc");
  EXPECT_FORMAT("0|abc|", "%.0d|%.0s|", 0, "abc");  // a precision of 0 is none
  // A pointer has eight digits in the 32-bit programs (the 64-bit test
  // build's own wvsprintfA shows sixteen).
  EXPECT_EQ(ViaPortable("%p", reinterpret_cast<void*>(0x1234)), "00001234");
  if (sizeof(void*) == 4) {
    EXPECT_EQ(ViaText("%p", reinterpret_cast<void*>(0x1234)), "00001234");
  }
  // A short is passed as an int and shown whole.
  EXPECT_FORMAT("-3|70000|a|hs", "%hd|%hu|%lc|%hs", -3, 70000, 'a', "hs");
}

TEST(TextFormat, WhatWsprintfDoesNotKnowStandsForItself) {
  // No octal, no sign flag, no width from an argument: none takes an argument.
  EXPECT_FORMAT("o|0042", "%#o|%04lX", 0x42UL);
  EXPECT_FORMAT("+d|  3|*d", "%+d|%3d|%*d", 3);
  EXPECT_FORMAT("y|k", "%y|%k");
  EXPECT_FORMAT("100", "100%");
}

TEST(TextFormat, StopsAt1023CharactersAndCutsToTheCallersBuffer) {
  std::string big(1999, 'a');
  EXPECT_FORMAT(std::string(1023, 'a'), "%s", big.c_str());
  EXPECT_FORMAT("x" + std::string(1022, 'a'), "x%sy", big.c_str());
  char small[6];
  EXPECT_EQ(platform::TextFormat(small, sizeof small, "Disk %d - %s", 12, "Suite"), 5u);
  EXPECT_STREQ(small, "Disk ");
  EXPECT_EQ(platform::TextFormat(small, 0, "%s", "x"), 0u);
}

}  // namespace
