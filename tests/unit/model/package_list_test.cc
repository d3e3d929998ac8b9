// The package description on real files: natively through our profile
// reader, under Wine through GetPrivateProfileStringA/IntA.
#include "diskmaker/model/package_list.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "tests/fakes/fake_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/texts.h"

namespace {

using wendmark::PackageList;

using ProgramIn = tests::ProgramAt;

class PackageListTest : public ::testing::Test {
 protected:
  bool Load(const std::string& contents) {
    std::string path = dir_.Join("packlist.ini");
    tests::WriteFile(path, contents);
    return list_.Load(path.c_str());
  }
  tests::TempDir dir_;
  PackageList list_{platform::DefaultProfile(), platform::DefaultProcess()};
};

// The shape that ships: file keys before the "Files" count, "Disks" last.
std::string ShippedDescription() {
  std::string s = "[Global]\r\nName=Sample Suite\r\n\r\n";
  for (int d = 0; d < 10; ++d) {
    int files = d == 0 ? 17 : 2 + d % 2;
    s += "[Disk" + std::to_string(d) + "]\r\n";
    for (int f = 0; f < files; ++f)
      s += "File" + std::to_string(f) + "=..\\setup\\\\D" + std::to_string(d) + "F" +
           std::to_string(f) + ".CAB\r\n";
    s += "Files=" + std::to_string(files) + "\r\n\r\n";
  }
  return s + "[Disks]\r\nNumber=10\r\n";
}

TEST_F(PackageListTest, LoadsTheShippedShape) {
  ASSERT_TRUE(Load(ShippedDescription()));
  EXPECT_EQ(list_.GetName(), "Sample Suite");
  ASSERT_EQ(list_.disks.size(), 10u);
  EXPECT_EQ(list_.CountSelected(), 10);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(list_.disks[i].number, static_cast<int>(i));
    EXPECT_TRUE(list_.disks[i].selected);
  }
  ASSERT_EQ(list_.disks[0].files.size(), 17u);
  EXPECT_EQ(list_.disks[0].files[16], "..\\setup\\\\D0F16.CAB");
  EXPECT_EQ(list_.disks[1].files.size(), 3u);
  EXPECT_EQ(list_.disks[2].files.size(), 2u);
}

TEST_F(PackageListTest, ReadsOnlyTheCountedSectionsAndKeysInAnyCase) {
  ASSERT_TRUE(Load(
      "[disks]\nnumber=2\n[GLOBAL]\nNAME=Suite\n"
      "[DISK1]\nfile0=b.cab\nFILES=1\n[Disk0]\nFiles=1\nFile0=a.cab\nFile1=ignored.cab\n"
      "[Disk2]\nFiles=1\nFile0=never.cab\n"));
  ASSERT_EQ(list_.disks.size(), 2u);
  EXPECT_EQ(tests::Strings(list_.disks[0].files), std::vector<std::string>{"a.cab"});
  EXPECT_EQ(tests::Strings(list_.disks[1].files), std::vector<std::string>{"b.cab"});
  EXPECT_EQ(list_.disks[1].number, 1);
}

TEST_F(PackageListTest, RefusesEveryBrokenDescription) {
  const std::string disk0 = "[Disk0]\nFiles=1\nFile0=a.cab\n";
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"no name", "[Disks]\nNumber=1\n" + disk0},
      {"empty name", "[Global]\nName=\n[Disks]\nNumber=1\n" + disk0},
      {"number 0", "[Global]\nName=S\n[Disks]\nNumber=0\n" + disk0},
      {"number -1", "[Global]\nName=S\n[Disks]\nNumber=-1\n" + disk0},
      {"number not numeric", "[Global]\nName=S\n[Disks]\nNumber=many\n" + disk0},
      {"no number", "[Global]\nName=S\n" + disk0},
      {"first disk numbered 1", "[Global]\nName=S\n[Disks]\nNumber=1\n[Disk1]\nFiles=1\nFile0=a\n"},
      {"files 0", "[Global]\nName=S\n[Disks]\nNumber=1\n[Disk0]\nFiles=0\nFile0=a\n"},
      {"file key missing inside the count",
       "[Global]\nName=S\n[Disks]\nNumber=1\n[Disk0]\nFiles=3\nFile0=a\nFile1=b\nFile3=d\n"},
      {"file entry empty", "[Global]\nName=S\n[Disks]\nNumber=1\n[Disk0]\nFiles=1\nFile0=\n"},
      {"second disk missing", "[Global]\nName=S\n[Disks]\nNumber=2\n" + disk0},
      // Counts whose arrays memory cannot hold fail the load; nothing throws.
      {"more disks than memory holds", "[Global]\nName=S\n[Disks]\nNumber=2147483647\n" + disk0},
      {"more files than memory holds",
       "[Global]\nName=S\n[Disks]\nNumber=1\n[Disk0]\nFiles=2000000000\nFile0=a\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackageList list(platform::DefaultProfile(), platform::DefaultProcess());
    std::string path = dir_.Join("broken.ini");
    tests::WriteFile(path, c.text);
    EXPECT_FALSE(list.Load(path.c_str()));
  }
  PackageList none(platform::DefaultProfile(), platform::DefaultProcess());
  EXPECT_FALSE(none.Load(dir_.Join("missing.ini").c_str()));
}

TEST_F(PackageListTest, LongNamesAndEntriesAreCutTo259Characters) {
  std::string name(300, 'N'), entry(280, 'e');
  ASSERT_TRUE(Load("[Global]\nName=" + name + "\n[Disks]\nNumber=1\n[Disk0]\nFiles=1\nFile0=" +
                   entry + "\n"));
  EXPECT_EQ(list_.GetName(), name.substr(0, 259));
  EXPECT_EQ(list_.disks[0].files[0], entry.substr(0, 259));
}

TEST_F(PackageListTest, CursorsVisitDisksAndFilesInOrder) {
  ASSERT_TRUE(Load(
      "[Global]\nName=S\n[Disks]\nNumber=2\n[Disk0]\nFiles=2\nFile0=a\nFile1=b\n"
      "[Disk1]\nFiles=1\nFile0=c\n"));
  list_.disks[0].selected = false;
  EXPECT_EQ(list_.CountSelected(), 1);
  std::string seen;
  auto disks = list_.Disks();
  while (wendmark::DiskEntry* disk = disks.Next()) {
    auto files = disk->Files();
    while (platform::PathBuffer* file = files.Next()) {
      seen += std::to_string(disk->number) + file->c_str() + " ";
    }
  }
  EXPECT_EQ(seen, "0a 0b 1c ");
  EXPECT_EQ(disks.Next(), nullptr);
}

TEST_F(PackageListTest, DiskImagesFolderComesFromTheSettingsBesideTheProgram) {
  ProgramIn program(dir_.Join("Wendmark.exe"));
  PackageList list(platform::DefaultProfile(), program);
  EXPECT_EQ(list.GetDiskImagesFolder(), dir_.path()) << "no settings file";

  tests::WriteFile(dir_.Join("Wendmark.ini"), "[Paths]\nDiskImages=\n");
  EXPECT_EQ(list.GetDiskImagesFolder(), dir_.path()) << "empty value";

  tests::WriteFile(dir_.Join("Wendmark.ini"), "[paths]\ndiskimages=D:\\images\\\n");
  EXPECT_EQ(list.GetDiskImagesFolder(), "D:\\images\\") << "read afresh, used as written";

  tests::WriteFile(dir_.Join("Wendmark.ini"), "[Paths]\nDiskImages=..\\images\n");
  EXPECT_EQ(list.GetDiskImagesFolder(), "..\\images") << "not resolved against the program";
}

}  // namespace
