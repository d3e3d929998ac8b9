// The extractor's command line.
#include <gtest/gtest.h>

#include <string>

#include "unpack/frame/command_line.h"

namespace {

struct Parsed {
  std::string target, archive;
};

Parsed Parse(const char* line) {
  kivo::ExtractOptions o;
  o.targetDirectory.Assign("C:\\cwd");
  o.archivePath.Assign("C:\\self.exe");
  kivo::ParseCommandLine(line, &o);
  return {o.targetDirectory.c_str(), o.archivePath.c_str()};
}

TEST(ParseCommandLine, ReadsTheTwoOptionsAndKeepsDefaultsOtherwise) {
  struct Case {
    const char* line;
    const char* target;
    const char* archive;
  };
  const Case cases[] = {
      {"", "C:\\cwd", "C:\\self.exe"},
      {"just words", "C:\\cwd", "C:\\self.exe"},
      {"-dD:\\out", "D:\\out", "C:\\self.exe"},
      {"-d\"C:\\My Files\\x\" -fA:\\pack.exe", "C:\\My Files\\x", "A:\\pack.exe"},
      {"-d\"C:\\open quote", "C:\\open quote", "C:\\self.exe"},
      {"-d C:\\x", "", "C:\\self.exe"},
      {"-fa.exe -d", "", "a.exe"},
      {"-dC:\\a -dC:\\b", "C:\\b", "C:\\self.exe"},
      {"-DC:\\upper -FC:\\upper.exe", "C:\\cwd", "C:\\self.exe"},
      {"-xC:\\ignored -d\"q\"-fz.exe", "q", "z.exe"},
      {"-zignored-dnot", "C:\\cwd", "C:\\self.exe"},
      {"-", "C:\\cwd", "C:\\self.exe"},
      {"words -", "C:\\cwd", "C:\\self.exe"},
      {"a-dX", "X", "C:\\self.exe"},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(c.line);
    EXPECT_EQ(p.target, c.target) << c.line;
    EXPECT_EQ(p.archive, c.archive) << c.line;
  }
}

TEST(ParseCommandLine, CutsAnArgumentTo259Characters) {
  std::string line = "-d" + std::string(300, 'x') + " -fok.exe";
  Parsed p = Parse(line.c_str());
  EXPECT_EQ(p.target, std::string(259, 'x'));
  EXPECT_EQ(p.archive, "ok.exe");
}

TEST(MakeTargetAbsolute, JoinsOnlyRelativeTargets) {
  struct Case {
    const char* target;
    const char* cwd;
    const char* result;
  };
  const Case cases[] = {{"out", "C:\\work", "C:\\work\\out"}, {"out", "C:\\", "C:\\out"},
                        {"D:\\abs", "C:\\work", "D:\\abs"},   {"\\rooted", "C:\\work", "\\rooted"},
                        {"/tmp/x", "/home", "/tmp/x"},        {"sub", "/home/u", "/home/u\\sub"},
                        {"", "C:\\work", ""}};
  for (const Case& c : cases) {
    kivo::ExtractOptions o;
    o.targetDirectory.Assign(c.target);
    kivo::MakeTargetAbsolute(&o, c.cwd);
    EXPECT_STREQ(o.targetDirectory.c_str(), c.result) << c.target;
  }
}

}  // namespace
