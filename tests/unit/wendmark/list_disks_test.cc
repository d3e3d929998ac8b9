// wendmark --list-disks: every entry of every disk, found where the copy
// finds it, in the host's encoding; and a description that cannot be listed
// refused in one line, as the image writer refuses it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/wendmark/list_disks.h"

namespace {

namespace fs = std::filesystem;

struct Listed {
  int status;
  std::string out, err;
};

Listed List(const std::string& description, unsigned codePage = 0) {
  wendmark::Options options;
  options.mode = wendmark::Options::Mode::kListDisks;
  options.description = description;
  options.codePage = codePage;
  char* out = nullptr;
  char* err = nullptr;
  std::size_t outSize = 0, errSize = 0;
  std::FILE* outFile = open_memstream(&out, &outSize);
  std::FILE* errFile = open_memstream(&err, &errSize);
  int status = wendmark::ListDisks(options, outFile, errFile);
  std::fclose(outFile);
  std::fclose(errFile);
  Listed listed{status, out, err};
  std::free(out);
  std::free(err);
  return listed;
}

class ListDisks : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("list_disks_test." + std::to_string(getpid()));
    fs::create_directories(root_ / "tools");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& name, const std::string& text) { std::ofstream(root_ / name) << text; }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

  fs::path root_;
};

TEST_F(ListDisks, NameEveryEntryAndTheFileTheCopyReads) {
  // 0xE9 is é in 1252 and й in 1251; the description's own folder is the host's.
  const std::string two = "[Global]\r\nName=P\r\n[Disk0]\r\nFile0=..\\setup\\SETUP.EXE\r\nFile1=caf\xE9.txt\r\n"
                          "Files=2\r\n[Disk1]\r\nFile0=sub\\\\b\r\nFiles=1\r\n[Disks]\r\nNumber=2\r\n";
  Write("tools/packlist.ini", two);
  const std::string tools = Path("tools");
  struct Case {
    const char* settings;  // Wendmark.ini beside the description; null for none
    unsigned codePage;
    std::string listed;
  } cases[] = {
      {nullptr, 0,
       "1\tSETUP.EXE\t" + tools + "/../setup/SETUP.EXE\n1\tcaf\xC3\xA9.txt\t" + tools + "/caf\xC3\xA9.txt\n" +
           "2\tb\t" + tools + "/sub//b\n"},
      {nullptr, 1251,
       "1\tSETUP.EXE\t" + tools + "/../setup/SETUP.EXE\n1\tcaf\xD0\xB9.txt\t" + tools + "/caf\xD0\xB9.txt\n" +
           "2\tb\t" + tools + "/sub//b\n"},
      {"[Paths]\r\nDiskImages=/images\\\xE9\r\n", 0,
       "1\tSETUP.EXE\t/images/\xC3\xA9/../setup/SETUP.EXE\n1\tcaf\xC3\xA9.txt\t/images/\xC3\xA9/caf\xC3\xA9.txt\n"
       "2\tb\t/images/\xC3\xA9/sub//b\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings == nullptr ? "no Wendmark.ini" : c.settings);
    fs::remove(root_ / "tools/Wendmark.ini");
    if (c.settings != nullptr) Write("tools/Wendmark.ini", c.settings);
    Listed listed = List(Path("tools/packlist.ini"), c.codePage);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, c.listed);
    EXPECT_EQ(listed.err, "");
  }
}

TEST_F(ListDisks, RefuseWhatCannotBeListed) {
  Write("tools/empty.ini", "[Global]\r\nName=P\r\n[Disks]\r\nNumber=1\r\n[Disk0]\r\nFiles=0\r\n");
  Write("tools/packlist.ini", "[Global]\r\nName=P\r\n[Disk0]\r\nFile0=a\r\nFiles=1\r\n[Disks]\r\nNumber=1\r\n");
  struct Case {
    std::string description;
    unsigned codePage;
    std::string err;
  } cases[] = {
      {Path("tools/none.ini"), 0,
       "wendmark: cannot read the package description " + Path("tools/none.ini") + ": No such file or directory\n"},
      {Path("tools/empty.ini"), 0,
       "wendmark: the package description " + Path("tools/empty.ini") +
           " does not load (it needs [Global] Name, [Disks] Number of at least 1, and for each disk [DiskN] "
           "Files of at least 1 with keys File0, File1, ...)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    Listed listed = List(c.description, c.codePage);
    EXPECT_EQ(listed.status, 2);
    EXPECT_EQ(listed.out, "");
    EXPECT_EQ(listed.err, c.err);
  }
  Listed unknownPage = List(Path("tools/packlist.ini"), 1258);
  EXPECT_EQ(unknownPage.status, 2);
  EXPECT_EQ(unknownPage.out, "");
  EXPECT_EQ(unknownPage.err.rfind("wendmark: ", 0), 0u) << unknownPage.err;
}

}  // namespace
