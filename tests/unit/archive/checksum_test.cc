// The checksum: the format's examples, signed against unsigned folding, and
// the fast fold against the byte-by-byte definition for any split.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/unit/archive/hand_built.h"
#include "unpack/archive/checksum.h"

namespace {

std::uint32_t Sum(const std::string& bytes) {
  kivo::ArchiveChecksum c;
  c.Update(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return c.value();
}

TEST(ArchiveChecksum, GivesTheFormatsExampleValues) {
  EXPECT_EQ(Sum(""), 0u);
  EXPECT_EQ(Sum("abc"), 0x00000123u);
  EXPECT_EQ(Sum("\xFF"), 0xFFFFFFFFu);
  EXPECT_EQ(Sum(std::string("\x80\x01", 2)), 0xFFFFFF00u);
}

TEST(ArchiveChecksum, FoldsBytesAsSignedValues) {
  std::string low = "plain text, every byte below 0x80";
  EXPECT_EQ(Sum(low), tests::FoldBytes(low, 0, false));
  std::string high = low + "\x90";
  EXPECT_NE(Sum(high), tests::FoldBytes(high, 0, false));
  EXPECT_EQ(Sum(high), tests::FoldBytes(high));
}

TEST(ArchiveChecksum, MatchesTheByteByByteFoldForEveryLengthAndSplit) {
  std::mt19937 rng(7);
  std::string data(70000, '\0');
  for (char& c : data) c = static_cast<char>(rng());
  for (std::size_t length : {1u, 31u, 32u, 33u, 63u, 64u, 65u, 100u, 32768u, 32769u, 70000u}) {
    std::string part = data.substr(0, length);
    SCOPED_TRACE(length);
    EXPECT_EQ(Sum(part), tests::FoldBytes(part));
    // Pieces of awkward sizes give the same value as one piece.
    kivo::ArchiveChecksum c;
    std::size_t at = 0;
    while (at < part.size()) {
      std::size_t n = std::min<std::size_t>(part.size() - at, 1 + rng() % 97);
      c.Update(part.data() + at, static_cast<std::uint32_t>(n));
      at += n;
    }
    EXPECT_EQ(c.value(), tests::FoldBytes(part));
  }
}

}  // namespace
