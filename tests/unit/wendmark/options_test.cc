// wendmark's command line: what it takes, and the one line it refuses with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/wendmark/options.h"

namespace {

bool Parse(std::vector<std::string> args, wendmark::Options* options, std::string* error) {
  return wendmark::ParseOptions(args, options, error);
}

TEST(WendmarkOptions, TakeTheDescriptionTheFolderAndTheDisks) {
  wendmark::Options o;
  std::string error;
  ASSERT_TRUE(Parse({"--images", "out", "--disks", "3,1,3", "--no-prompt"}, &o, &error)) << error;
  EXPECT_EQ(o.mode, wendmark::Options::Mode::kImages);
  EXPECT_EQ(o.description, "packlist.ini");
  EXPECT_EQ(o.images, "out");
  EXPECT_EQ(o.disks, (std::vector<int>{3, 1}));
  EXPECT_TRUE(o.noPrompt);

  wendmark::Options p;
  ASSERT_TRUE(Parse({"kit/tools/my list.ini", "--images=o u t", "--codepage", "1251"}, &p, &error)) << error;
  EXPECT_EQ(p.description, "kit/tools/my list.ini");
  EXPECT_EQ(p.images, "o u t");
  EXPECT_EQ(p.codePage, 1251u);

  wendmark::Options q;
  ASSERT_TRUE(Parse({"--image-from", "a folder", "x.img", "12"}, &q, &error)) << error;
  EXPECT_EQ(q.mode, wendmark::Options::Mode::kImageFrom);
  EXPECT_EQ(q.folder, "a folder");
  EXPECT_EQ(q.image, "x.img");
  EXPECT_EQ(q.number, 12);

  wendmark::Options r;
  ASSERT_TRUE(Parse({"--list-disks", "kit/packlist.ini", "--codepage", "1250"}, &r, &error)) << error;
  EXPECT_EQ(r.mode, wendmark::Options::Mode::kListDisks);
  EXPECT_EQ(r.description, "kit/packlist.ini");
  EXPECT_EQ(r.codePage, 1250u);
}

TEST(WendmarkOptions, RefuseWhatMakesNoSense) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{}, "--images OUTDIR is required"},
      {{"--images"}, "--images needs a folder"},
      {{"--images", "o", "--disks", "0"}, "--disks takes disk numbers from 1, separated by commas: 0"},
      {{"--images", "o", "--disks", "1,,2"}, "--disks takes disk numbers from 1, separated by commas: 1,,2"},
      {{"--images", "o", "--disks", "1,x"}, "--disks takes disk numbers from 1, separated by commas: 1,x"},
      {{"--images", "o", "--disks", "-1"}, "--disks takes disk numbers from 1, separated by commas: -1"},
      {{"--images", "o", "--disks"}, "--disks needs disk numbers, such as 1,3"},
      {{"--images", "o", "--codepage", "12x"}, "--codepage needs a code page number"},
      {{"--images", "o", "--frobnicate"}, "unknown option --frobnicate"},
      {{"--images", "o", "a.ini", "b.ini"}, "more than one description: a.ini, b.ini"},
      {{"--image-from", "f", "i.img"}, "--image-from needs FOLDER IMAGE N"},
      {{"--image-from", "f", "i.img", "0"}, "--image-from: not a disk number: 0"},
      {{"--image-from", "f", "i.img", "1", "--images", "o"}, "--image-from takes FOLDER IMAGE N and --codepage N only"},
      {{"--list-disks"}, "--list-disks needs a description"},
      {{"--list-disks", "a.ini", "--images", "o"}, "--list-disks takes DESCRIPTION and --codepage N only"},
      {{"a.ini", "--list-disks", "b.ini"}, "--list-disks takes DESCRIPTION and --codepage N only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    wendmark::Options o;
    std::string error;
    EXPECT_FALSE(Parse(c.args, &o, &error));
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
