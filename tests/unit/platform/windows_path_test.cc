// The Windows path rules every program and tool takes from one module.
#include "platform/windows_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace path = platform::path;

TEST(WindowsPath, ComponentsFoldersAndAbsolutePaths) {
  struct Case {
    const char* path;
    const char* last;        // after the last backslash: the name on a floppy
    std::uint32_t folder;    // up to the last separator of either kind
    bool absolute;
    std::uint32_t trimmed;   // without trailing separators
  };
  const Case cases[] = {
      {"SETUP.EXE", "SETUP.EXE", 0, false, 9},
      {"..\\setup\\\\D0F1.CAB", "D0F1.CAB", 9, false, 18},
      {"disk1\\sub\\x.txt", "x.txt", 9, false, 15},
      {"C:\\kit\\tools\\Wendmark.exe", "Wendmark.exe", 12, true, 25},
      {"C:\\", "", 2, true, 2},
      {"c:relative", "c:relative", 0, true, 10},
      {"\\\\server\\share\\", "", 14, true, 14},
      {"/home/u/kit/Wendmark.exe", "/home/u/kit/Wendmark.exe", 11, true, 24},
      {"a/b\\c", "c", 3, false, 5},
      {"folder\\/\\", "", 8, false, 6},
      {"", "", 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(path::LastComponent(c.path), c.last);
    EXPECT_EQ(path::FolderLength(c.path), c.folder);
    EXPECT_EQ(path::IsAbsolute(c.path), c.absolute);
    EXPECT_EQ(path::LengthWithoutTrailingSeparators(c.path), c.trimmed);
  }
  EXPECT_EQ(path::LastSeparator("none"), nullptr);
}

TEST(WindowsPath, JoinsAsWrittenOrUnderAFolderAndReportsACut) {
  struct Case {
    const char* folder;
    const char* name;
    const char* appended;  // Append: as written, a doubled separator stays
    const char* under;     // JoinUnder: never doubles one
  };
  const Case cases[] = {
      {"C:\\images", "a.txt", "C:\\images\\a.txt", "C:\\images\\a.txt"},
      {"D:\\images\\", "a.txt", "D:\\images\\\\a.txt", "D:\\images\\a.txt"},
      {"C:\\", "out", "C:\\\\out", "C:\\out"},
      {"/home/u//", "sub", "/home/u//\\sub", "/home/u\\sub"},
      {"", "x", "\\x", "\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    platform::PathBuffer p(c.folder);
    EXPECT_TRUE(path::Append(&p, c.name));
    EXPECT_STREQ(p.c_str(), c.appended);
    EXPECT_TRUE(path::JoinUnder(&p, c.folder, c.name));
    EXPECT_STREQ(p.c_str(), c.under);
  }

  // 259 characters fit; one more is a cut, reported, never a longer path.
  std::string folder(250, 'f');
  platform::PathBuffer p(folder.c_str());
  EXPECT_TRUE(path::Append(&p, "12345678"));
  EXPECT_EQ(p.size(), path::kMaxLength);
  p.Assign(folder.c_str());
  EXPECT_FALSE(path::Append(&p, "123456789"));
  EXPECT_EQ(p.size(), path::kMaxLength);
  EXPECT_FALSE(path::JoinUnder(&p, folder.c_str(), "123456789"));
  EXPECT_FALSE(path::JoinUnder(&p, std::string(300, 'g').c_str(), "x")) << "a folder cut already";

  // A part of a name: the component up to the next separator.
  p.Assign("C:\\out");
  EXPECT_TRUE(path::Append(&p, "sub\\file.txt", 3));
  EXPECT_STREQ(p.c_str(), "C:\\out\\sub");
}

TEST(WindowsPath, ArgumentsFollowTheProgramNameQuotedOrNot) {
  struct Case {
    const char* commandLine;
    const char* arguments;
  } cases[] = {
      {"C:\\kit\\tools\\Wendmark.exe", ""},
      {"Wendmark.exe   other.ini", "other.ini"},
      {"\"C:\\my kit\\Wendmark.exe\" my list.ini ", "my list.ini "},
      {"Wendmark.exe \"quoted.ini\"", "\"quoted.ini\""},
      {"\"C:\\Program Files\\setup.exe\"  -d\"C:\\a b\"", "-d\"C:\\a b\""},
      {"setup.exe\t-fx", "-fx"},
      {"\"unterminated", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    EXPECT_STREQ(path::ArgumentsOf(c.commandLine), c.arguments);
  }
  EXPECT_STREQ(path::ArgumentsOf(nullptr), "");
}

}  // namespace
