// The profile reader against files written for the keys we read. The same
// cases run natively (our reader) and under Wine (GetPrivateProfileStringA
// and GetPrivateProfileIntA), so our reader is held to the real one.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& contents) {
    std::string path = dir_.Join("test.ini");
    tests::WriteFile(path, contents);
    return path;
  }
  std::string String(const std::string& path, const char* section, const char* key,
                     std::uint32_t capacity = 260, std::uint32_t* count = nullptr) {
    char buffer[400];
    std::uint32_t n =
        platform::DefaultProfile().GetString(section, key, "", buffer, capacity, path.c_str());
    if (count != nullptr) *count = n;
    return std::string(buffer);
  }
  std::int32_t Int(const std::string& path, const char* section, const char* key) {
    return platform::DefaultProfile().GetInt(section, key, 0, path.c_str());
  }
  tests::TempDir dir_;
};

TEST_F(ProfileTest, FindsKeysWithoutRegardToCaseInAnyOrder) {
  std::string path = Write(
      "[disk0]\r\nfile0=setup.exe\r\nFILES=1\r\n"
      "[GLOBAL]\r\nname=Sample Suite\r\n"
      "[Disks]\r\nNumber=1\r\n");
  EXPECT_EQ(String(path, "Global", "Name"), "Sample Suite");
  EXPECT_EQ(Int(path, "Disk0", "Files"), 1);
  EXPECT_EQ(String(path, "Disk0", "File0"), "setup.exe");
  EXPECT_EQ(Int(path, "Disks", "Number"), 1);
}

TEST_F(ProfileTest, MissingKeysSectionsAndFilesReadAsEmpty) {
  std::string path = Write("[Global]\nName=x\nEmpty=\n");
  std::uint32_t n = 99;
  EXPECT_EQ(String(path, "Global", "Other", 260, &n), "");
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(String(path, "Missing", "Name", 260, &n), "");
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(String(path, "Global", "Empty", 260, &n), "");
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(String(dir_.Join("nothere.ini"), "Global", "Name", 260, &n), "");
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(Int(dir_.Join("nothere.ini"), "Global", "Name"), 0);
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
  std::string longName(300, 'n');
  std::string path = Write("[Global]\nName=" + longName + "\n");
  std::uint32_t n = 0;
  EXPECT_EQ(String(path, "Global", "Name", 260, &n), longName.substr(0, 259));
  EXPECT_EQ(n, 259u);
}

TEST_F(ProfileTest, BlanksAroundNamesAndValuesAreDropped) {
  std::string path = Write("[ Global ]\n  Name  =  Sample Suite  \n");
  EXPECT_EQ(String(path, "Global", "Name"), "Sample Suite");
}

TEST_F(ProfileTest, ValuesKeepBackslashesAndDots) {
  std::string path = Write("[Disk0]\nFile0=..\\setup\\\\SETUP.EXE\n");
  EXPECT_EQ(String(path, "Disk0", "File0"), "..\\setup\\\\SETUP.EXE");
}

TEST_F(ProfileTest, IntegersAreReadTheWayTheSystemReadsThem) {
  std::string path = Write(
      "[N]\nzero=0\nminus=-1\nword=ten\nlead=  12\ntrail=7 disks\nplus=+3\n"
      "big=4294967295\nempty=\n");
  EXPECT_EQ(Int(path, "N", "zero"), 0);
  EXPECT_EQ(Int(path, "N", "minus"), -1);
  EXPECT_EQ(Int(path, "N", "word"), 0);
  EXPECT_EQ(Int(path, "N", "lead"), 12);
  EXPECT_EQ(Int(path, "N", "trail"), 7);
  EXPECT_EQ(Int(path, "N", "plus"), 3);
  EXPECT_EQ(Int(path, "N", "big"), -1);
  EXPECT_EQ(platform::DefaultProfile().GetInt("N", "empty", 5, path.c_str()), 5);
  EXPECT_EQ(platform::DefaultProfile().GetInt("N", "absent", 5, path.c_str()), 5);
}

TEST_F(ProfileTest, CommentLinesAreNotKeys) {
  std::string path = Write("[Global]\n;Name=commented\nName=real\n");
  EXPECT_EQ(String(path, "Global", "Name"), "real");
}

}  // namespace
