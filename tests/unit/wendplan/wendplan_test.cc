// The disk planner on real folders: every planned disk goes onto a real
// 1.44 MB FAT image, no plan needs more disks than first-fit decreasing, and
// the program refuses what cannot be planned without leaving a file behind.
#include <gtest/gtest.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "diskmaker/model/package_list.h"
#include "tests/support/temp_dir.h"
#include "tests/support/texts.h"
#include "tests/unit/wendplan/generated_sets.h"
#include "tools/wendplan/floppy_fat.h"
#include "tools/wendplan/plan.h"

namespace {

namespace fs = std::filesystem;
using wendplan::PlanFile;

using FileSet = std::vector<std::pair<std::string, std::uint64_t>>;  // relative path ('/'), size

int Shell(const std::string& command, std::string* err = nullptr, std::string* out = nullptr) {
  // One file per process: ctest runs the cases of both builds side by side.
  std::string stem = fs::temp_directory_path() / ("wendplan_test." + std::to_string(getpid()));
  std::string errFile = stem + ".err", outFile = stem + ".out";
  int rc = std::system((command + " 2>'" + errFile + "' >'" + outFile + "'").c_str());
  if (err != nullptr) *err = tests::ReadFile(errFile);
  if (out != nullptr) *out = tests::ReadFile(outFile);
  std::remove(errFile.c_str());
  std::remove(outFile.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

void MakeFiles(const std::string& root, const FileSet& set) {
  for (const auto& [name, size] : set) {
    fs::path p = fs::path(root) / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    std::string chunk(4096, static_cast<char>('a' + name.size() % 26));
    for (std::uint64_t left = size; left > 0;) {
      std::uint64_t n = std::min<std::uint64_t>(left, chunk.size());
      out.write(chunk.data(), static_cast<std::streamsize>(n));
      left -= n;
    }
  }
}

std::vector<PlanFile> Describe(const FileSet& set) {
  std::vector<PlanFile> files;
  for (auto [name, size] : set) {
    std::replace(name.begin(), name.end(), '/', '\\');
    files.push_back(wendplan::DescribeFile(name, size));
  }
  return files;
}

std::uint32_t Lcg(std::uint32_t* state) {
  *state = *state * 1664525u + 1013904223u;
  return *state >> 8;
}

struct MixedSet {
  const char* label;
  FileSet files;
  std::size_t optimum = 0;  // disks of the best plan, when known
};

std::vector<MixedSet> MixedSets() {
  FileSet mixed = {{"SETUP.EXE", 40000},       {"DATA1.CAB", 1000000}, {"data2.cab", 700000},
                   {"Data Three.cab", 600000}, {"sub/DATA4.CAB", 450000}, {"sub/deep/Help File.hlp", 300000},
                   {"empty.txt", 0}};
  for (int i = 0; i < 40; ++i)
    mixed.push_back({"parts/Part number " + std::to_string(i) + ".bin", 1 + (i * 7919u) % 60000});
  FileSet manyNames;
  for (int i = 0; i < 250; ++i)
    manyNames.push_back({"Component Library Part " + std::to_string(1000 + i) + " of the suite.dll",
                         100 + (i * 131u) % 3000});
  // Exactly full: a file of a whole floppy, and ones that fill it to the last cluster.
  FileSet exact = {{"WHOLE.BIN", 2847 * 512}, {"HALF1.BIN", 1423 * 512}, {"HALF2.BIN", 1424 * 512 - 5},
                   {"ZERO.BIN", 0}};
  FileSet random;
  std::uint32_t state = 7;
  for (int i = 0; i < 60; ++i)
    random.push_back({"R" + std::to_string(i) + (i % 3 ? ".DAT" : "-long name.data"), Lcg(&state) % 400000});
  // First-fit decreasing needs three disks here (5+4, 3+3+3, 2 in units of
  // 284 clusters); two do it (5+3+2, 4+3+3).
  FileSet tricky;
  const int units[] = {5, 4, 3, 3, 3, 2};
  for (int i = 0; i < 6; ++i) tricky.push_back({"T" + std::to_string(i) + ".BIN", units[i] * 284 * 512});
  return {{"mixed", mixed},   {"many long names", manyNames}, {"exact", exact},
          {"random", random}, {"beats first fit", tricky, 2}};
}

bool HaveMtools() { return Shell("command -v mformat && command -v mcopy") == 0; }

TEST(Wendplan, EveryDiskFitsARealFloppyAndNoPlanNeedsMoreDisksThanFirstFitDecreasing) {
  if (!HaveMtools()) GTEST_SKIP() << "mtools is not installed";
  bool haveFsck = Shell("command -v fsck.fat") == 0;
  for (const auto& [label, set, optimum] : MixedSets()) {
    SCOPED_TRACE(label);
    tests::TempDir dir;
    std::string root = tests::NativePath(dir.path());
    MakeFiles(root + "/setup", set);
    wendplan::Plan plan;
    std::string error;
    ASSERT_TRUE(wendplan::MakePlan(Describe(set), {}, false, &plan, &error)) << error;
    EXPECT_LE(plan.disks.size(), tests::FirstFitDecreasingCount(Describe(set)));
    EXPECT_GE(plan.disks.size(), plan.lowerBound.disks);
    if (optimum != 0) {
      EXPECT_EQ(plan.disks.size(), optimum);
    }

    std::multiset<std::size_t> placed;
    for (std::size_t d = 0; d < plan.disks.size(); ++d) {
      SCOPED_TRACE("disk " + std::to_string(d + 1));
      std::string image = root + "/disk" + std::to_string(d + 1) + ".img";
      std::string copy = "MTOOLS_SKIP_CHECK=1 mcopy -i " + Quote(image);
      for (std::size_t i : plan.disks[d].files) {
        placed.insert(i);
        std::string rel = plan.files[i].relative;
        std::replace(rel.begin(), rel.end(), '\\', '/');
        copy += " " + Quote(root + "/setup/" + rel);
      }
      std::string err;
      ASSERT_EQ(Shell("MTOOLS_SKIP_CHECK=1 mformat -C -i " + Quote(image) + " -f 1440 -v DISK ::", &err), 0) << err;
      EXPECT_EQ(Shell(copy + " ::/", &err), 0) << err;
      if (haveFsck) {
        EXPECT_EQ(Shell("fsck.fat -n " + Quote(image), &err), 0) << err;
      }
    }
    EXPECT_EQ(placed.size(), set.size());
    EXPECT_EQ(std::set<std::size_t>(placed.begin(), placed.end()).size(), set.size()) << "each file once";
  }
}

TEST(Wendplan, FirstFilesOpenDiskOneInTheOrderGiven) {
  FileSet set = {{"A.BIN", 1400000}, {"B.BIN", 1400000}, {"sub/setup.exe", 9000},
                 {"tools/Install Helper.dll", 20000}, {"C.BIN", 1000}};
  wendplan::Plan plan;
  std::string error;
  ASSERT_TRUE(wendplan::MakePlan(Describe(set), {}, false, &plan, &error)) << error;
  EXPECT_EQ(plan.files[plan.disks[0].files[0]].floppyName, "setup.exe") << "SETUP.EXE in any case by default";

  ASSERT_TRUE(wendplan::MakePlan(Describe(set), {"install helper.DLL", "SUB/SETUP.EXE", "B.BIN"}, true,
                                 &plan, &error))
      << error;
  ASSERT_GE(plan.disks[0].files.size(), 3u);
  EXPECT_EQ(plan.files[plan.disks[0].files[0]].relative, "tools\\Install Helper.dll");
  EXPECT_EQ(plan.files[plan.disks[0].files[1]].relative, "sub\\setup.exe");
  EXPECT_EQ(plan.files[plan.disks[0].files[2]].relative, "B.BIN");
  EXPECT_EQ(plan.disks.size(), 2u);

  EXPECT_FALSE(wendplan::MakePlan(Describe(set), {"A.BIN", "B.BIN"}, true, &plan, &error));
  EXPECT_NE(error.find("A.BIN, B.BIN"), std::string::npos) << error;
}

// The product is installed by running SETUP.EXE from disk 1: naming other
// files for disk 1 keeps it there, after them, unless they name it among
// themselves; a disk 1 that cannot hold it beside them is refused, not
// planned with the setup program elsewhere. The files named may fill a
// floppy to its last cluster.
TEST(Wendplan, TheSetupProgramStaysOnDiskOneWhateverElseGoesThere) {
  const FileSet cabinets = {{"SETUP.EXE", 30000},     {"BIG1.CAB", 1400000}, {"BIG2.CAB", 1400000},
                            {"sub/DRIVER.SYS", 9000}, {"README.TXT", 2000}};
  // 2,000 and 847 clusters: a floppy to the last cluster.
  const FileSet exact = {{"PART1.CAB", 2000 * 512}, {"PART2.CAB", 847 * 512 - 100}, {"MORE.CAB", 5000}};
  FileSet exactWithSetup = exact;
  exactWithSetup.push_back({"setup.exe", 1});
  struct Case {
    const char* label;
    FileSet set;
    std::vector<std::string> first;
    std::vector<std::string> diskOne;  // the first files of disk 1, in order
    const char* error;                 // nullptr: planned
  };
  const Case cases[] = {
      {"another file named", cabinets, {"sub/DRIVER.SYS"}, {"sub\\DRIVER.SYS", "SETUP.EXE"}, nullptr},
      {"named among the others", cabinets, {"BIG2.CAB", "setup.exe", "README.TXT"},
       {"BIG2.CAB", "SETUP.EXE", "README.TXT"}, nullptr},
      {"a floppy's clusters named", exact, {"PART1.CAB", "PART2.CAB"}, {"PART1.CAB", "PART2.CAB"}, nullptr},
      {"a floppy's clusters and the setup program", exactWithSetup, {"PART1.CAB", "PART2.CAB"}, {},
       "the setup program setup.exe does not fit on disk 1 beside the --first files PART1.CAB, PART2.CAB (it is "
       "run from disk 1): name fewer, or smaller, --first files"},
      {"named files that do not fit together", cabinets, {"BIG1.CAB", "BIG2.CAB"}, {},
       "the --first files do not fit on one floppy together: BIG1.CAB, BIG2.CAB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    wendplan::Plan plan;
    std::string error;
    const bool planned = wendplan::MakePlan(Describe(c.set), c.first, true, &plan, &error);
    if (c.error != nullptr) {
      EXPECT_FALSE(planned);
      EXPECT_EQ(error, c.error);
      continue;
    }
    ASSERT_TRUE(planned) << error;
    std::vector<std::string> diskOne;
    for (std::size_t i : plan.disks[0].files) diskOne.push_back(plan.files[i].relative);
    diskOne.resize(std::min(diskOne.size(), c.diskOne.size()));
    EXPECT_EQ(diskOne, c.diskOne);
    EXPECT_LE(plan.disks[0].clusters, 2847u);
  }
}

// A floppy's root holds 224 entries and the volume label takes one: a disk
// holds 223 entries' worth of files, counted with their long-name slots
// (13 characters each), and not one more. The limits are written out here,
// not taken from the planner, so that a changed limit fails.
TEST(Wendplan, ADiskHoldsExactly223RootEntriesLongNameSlotsIncluded) {
  struct Case {
    const char* label;
    std::size_t longNames;  // files of a long name of `nameLength` characters
    std::size_t nameLength;
    std::size_t shortNames;  // files of a plain 8.3 name, one entry each
    std::size_t disks;
  };
  const Case cases[] = {
      {"223 plain names", 0, 0, 223, 1},
      {"224 plain names", 0, 0, 224, 2},
      {"13-character long names, 2 entries each: 222 + 1", 111, 13, 1, 1},
      {"13-character long names, 2 entries each: 222 + 2", 111, 13, 2, 2},
      {"14-character long names, 3 entries each: 222 + 1", 74, 14, 1, 1},
      {"14-character long names, 3 entries each: 225", 75, 14, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileSet set;
    for (std::size_t i = 0; i < c.longNames; ++i) {
      std::string number = std::to_string(i);  // "file0042.txt", padded to the length
      std::string name = "file" + std::string(c.nameLength - 8 - number.size(), '0') + number + ".txt";
      ASSERT_EQ(name.size(), c.nameLength);
      set.push_back({"long/" + name, 1});
    }
    for (std::size_t i = 0; i < c.shortNames; ++i) set.push_back({"S" + std::to_string(i) + ".BIN", 1});
    wendplan::Plan plan;
    std::string error;
    ASSERT_TRUE(wendplan::MakePlan(Describe(set), {}, false, &plan, &error)) << error;
    ASSERT_EQ(plan.disks.size(), c.disks);
    for (const wendplan::Disk& d : plan.disks) EXPECT_LE(d.slots, 223u);
    if (c.disks == 1) {
      EXPECT_EQ(plan.disks[0].slots, 223u);
    }
  }
}

TEST(Wendplan, RootEntriesOfANameAndTheFirstDiskAtTheLimit) {
  const std::pair<std::string, std::uint32_t> slots[] = {
      {"SETUP.EXE", 1},     {"ABCDEFGH.TXT", 1},   {"ABCDEFGHI.TXT", 2},     {"ABC.TEXT", 2},
      {"NOEXT", 1},         {"ABC.", 2},           {"setup.exe", 2},         {"A B.TXT", 2},
      {"abcdefghijklm", 2}, {"abcdefghijklmn", 3}, {std::string(26, 'x'), 3}, {std::string(27, 'x'), 4},
      {"Caf\xE9.TXT", 2},
  };
  for (const auto& [name, expected] : slots) EXPECT_EQ(wendplan::RootSlotsOf(name), expected) << name;

  // --first files that fill the root exactly still share disk 1; one more does not.
  for (std::size_t count : {223u, 224u}) {
    SCOPED_TRACE(count);
    FileSet set;
    std::vector<std::string> first;
    for (std::size_t i = 0; i < count; ++i) {
      set.push_back({"F" + std::to_string(i) + ".BIN", 1});
      first.push_back(set.back().first);
    }
    set.push_back({"LAST.BIN", 1});
    wendplan::Plan plan;
    std::string error;
    EXPECT_EQ(wendplan::MakePlan(Describe(set), first, true, &plan, &error), count == 223) << error;
    if (count == 223) {
      ASSERT_EQ(plan.disks.size(), 2u);
      EXPECT_EQ(plan.disks[0].files.size(), 223u);
    } else {
      EXPECT_NE(error.find("do not fit on one floppy together"), std::string::npos) << error;
    }
  }
}

class WendplanProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = tests::NativePath(dir_.path());
    fs::create_directories(root_ + "/tools");
  }
  int Plan(const std::string& args, std::string* err, std::string* out = nullptr) {
    return Shell("cd " + Quote(root_) + " && " + Quote(WENDPLAN_PATH) + " " + args, err, out);
  }
  tests::TempDir dir_;
  std::string root_;
};

TEST_F(WendplanProgram, WritesADescriptionWendmarkLoadsInTheShippedLayout) {
  FileSet set = {{"SETUP.EXE", 30000}, {"BIG.CAB", 1200000}, {"More Data.cab", 900000},
                 {"lang/de/strings.dat", 5000}};
  MakeFiles(root_ + "/setup", set);
  std::string err;
  ASSERT_EQ(Plan("setup -o tools/packlist.ini --name 'Sample Suite'", &err), 0) << err;
  std::string text = tests::ReadFile(root_ + "/tools/packlist.ini");
  EXPECT_EQ(text.rfind("[Disks]\r\nNumber=2\r\n"), text.size() - 19) << "Disks last";
  EXPECT_NE(text.find("File0=..\\setup\\\\SETUP.EXE\r\nFile1="), std::string::npos) << text;
  EXPECT_NE(text.find("=..\\setup\\\\lang\\de\\strings.dat\r\n"), std::string::npos) << text;
  EXPECT_LT(text.find("File1="), text.find("Files=")) << "the count follows the file keys";

  wendmark::PackageList list(platform::DefaultProfile(), platform::DefaultProcess());
  ASSERT_TRUE(list.Load(tests::NativePath(root_ + "/tools/packlist.ini").c_str()));
  EXPECT_EQ(list.GetName(), "Sample Suite");
  ASSERT_EQ(list.disks.size(), 2u);
  std::size_t files = 0;
  for (const auto& disk : list.disks) files += disk.files.size();
  EXPECT_EQ(files, set.size());
  EXPECT_EQ(list.disks[0].files[0], "..\\setup\\\\SETUP.EXE");
}

// Every exit status the usage names, and --help and --version on stdout.
TEST_F(WendplanProgram, HelpVersionAndEachExitStatus) {
  MakeFiles(root_ + "/setup", {{"SETUP.EXE", 1000}, {"DATA.CAB", 5000}});
  struct Case {
    const char* label;
    const char* args;
    int status;
    std::string out;  // the whole of stdout, or its beginning when it ends in "..."
    const char* err;  // the last line of stderr ("" for none)
  };
  const std::string version = WENDPLAN_VERSION_TEXT;
  ASSERT_FALSE(version.empty());
  const Case cases[] = {
      {"--help", "--help", 0, "usage: wendplan SETUP_DIR ...", ""},
      {"-h among other arguments", "setup -h", 0, "usage: wendplan SETUP_DIR ...", ""},
      {"--version", "--version", 0, "wendplan " + version + "\n", ""},
      {"written", "setup -o tools/packlist.ini --name P", 0, "P: 2 files, ...", ""},
      {"required argument left out", "setup --name P", 1, "", "wendplan: SETUP_DIR, -o and --name are required\n"},
      {"option without its value", "setup --name P -o", 1, "", "wendplan: -o needs a value\n"},
      {"unknown option", "setup -o tools/packlist.ini --name P --fast", 1, "", "wendplan: unknown option --fast\n"},
      {"no such setup folder", "nothere -o tools/packlist.ini --name P", 1, "", nullptr},
      {"folder of the description missing", "setup -o missing/packlist.ini --name P", 1, "",
       "wendplan: cannot write missing/packlist.ini: no folder missing\n"},
      {"empty code page", "setup -o tools/packlist.ini --name P --codepage ''", 1, "",
       "wendplan: not a code page number: \n"},
      {"code page 0", "setup -o tools/packlist.ini --name P --codepage 0", 1, "",
       "wendplan: not a code page number: 0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove(root_ + "/tools/packlist.ini");
    std::string err, out;
    EXPECT_EQ(Plan(c.args, &err, &out), c.status) << err;
    if (c.out.size() > 3 && c.out.compare(c.out.size() - 3, 3, "...") == 0)
      EXPECT_EQ(out.rfind(c.out.substr(0, c.out.size() - 3), 0), 0u) << out;
    else
      EXPECT_EQ(out, c.out);
    if (c.err != nullptr) {
      std::string last = err.empty() ? "" : err.substr(err.rfind('\n', err.size() - 2) + 1);
      EXPECT_EQ(last, c.err) << err;
    }
    EXPECT_EQ(fs::exists(root_ + "/tools/packlist.ini"), c.status == 0 && c.out[0] == 'P');
  }
  std::string err, out;
  ASSERT_EQ(Plan("--help", &err, &out), 0);
  for (const char* documented : {"Exit status", "  0  ", "  1  ", "--version"})
    EXPECT_NE(out.find(documented), std::string::npos) << documented;
}

TEST_F(WendplanProgram, RefusesWhatNoFloppySetCanHoldAndWritesNothing) {
  struct Case {
    const char* label;
    FileSet set;
    const char* args;
    std::vector<const char*> named;
  };
  const Case cases[] = {
      {"too large", {{"SETUP.EXE", 100}, {"sub/HUGE.CAB", 2847 * 512 + 1}}, "", {"sub/HUGE.CAB"}},
      {"same name", {{"README.TXT", 100}, {"docs/readme.txt", 100}, {"X.DAT", 5}}, "",
       {"README.TXT", "docs/readme.txt"}},
      {"setup program crowded off disk 1", {{"SETUP.EXE", 5000}, {"sub/BIG.CAB", 1455000}}, "--first BIG.CAB",
       {"SETUP.EXE", "sub/BIG.CAB"}},
      {"unknown first", {{"A.DAT", 100}}, "--first NOPE.EXE", {"NOPE.EXE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(root_ + "/setup");
    MakeFiles(root_ + "/setup", c.set);
    std::string err;
    EXPECT_EQ(Plan(std::string("setup -o tools/packlist.ini --name P ") + c.args, &err), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    for (const char* name : c.named) EXPECT_NE(err.find(name), std::string::npos) << err;
    EXPECT_TRUE(fs::is_empty(root_ + "/tools")) << "nothing written";
  }
}

TEST_F(WendplanProgram, WritesNamesInTheCodePageWendmarkReadsAndShowsThemAsTheHostSpellsThem) {
  FileSet set = {{"SETUP.EXE", 30000}, {"Café Menu.txt", 100}, {"Größe.dat", 2000}, {"Übersicht/Noël.txt", 5}};
  MakeFiles(root_ + "/setup", set);
  std::string err, out;
  ASSERT_EQ(Plan("setup -o tools/packlist.ini --name 'Suite Éclair'", &err, &out), 0) << err;
  std::string text = tests::ReadFile(root_ + "/tools/packlist.ini");
  EXPECT_NE(text.find("Name=Suite \xC9" "clair\r\n"), std::string::npos) << text;
  for (const char* entry : {"=..\\setup\\\\Caf\xE9 Menu.txt\r\n", "=..\\setup\\\\Gr\xF6\xDF" "e.dat\r\n",
                            "=..\\setup\\\\\xDC" "bersicht\\No\xEBl.txt\r\n"})
    EXPECT_NE(text.find(entry), std::string::npos) << entry;
  wendmark::PackageList list(platform::DefaultProfile(), platform::DefaultProcess());
  ASSERT_TRUE(list.Load(tests::NativePath(root_ + "/tools/packlist.ini").c_str()));
  EXPECT_EQ(list.GetName(), "Suite \xC9" "clair");

  // The terminal gets the names back; "Café Menu.txt" is 13 characters,
  // one long-name slot, not the 14 bytes it has in UTF-8.
  EXPECT_EQ(out.rfind("Suite Éclair: 4 files", 0), 0u) << out;
  EXPECT_NE(out.find("  Übersicht/Noël.txt\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" 7 of 223 root entries"), std::string::npos) << out;

  // Another code page, named both ways.
  fs::remove_all(root_ + "/setup");
  MakeFiles(root_ + "/setup", {{"Отчёт.doc", 10}});
  ASSERT_EQ(Plan("setup -o tools/packlist.ini --codepage 1251 --name 'Жуки'", &err), 0) << err;
  text = tests::ReadFile(root_ + "/tools/packlist.ini");
  EXPECT_NE(text.find("Name=\xC6\xF3\xEA\xE8\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\\\\\xCE\xF2\xF7\xB8\xF2.doc\r\n"), std::string::npos) << text;
}

TEST_F(WendplanProgram, NamesMeetOnAFloppyWhenWindowsFoldsThemToOne) {
  struct Case {
    const char* label;
    FileSet set;
    const char* args;
    std::vector<const char*> clash;  // empty: planned
  };
  const Case cases[] = {
      {"accented capitals", {{"É.TXT", 1}, {"sub/é.txt", 1}}, "", {"É.TXT", "sub/é.txt"}},
      {"y with diaeresis", {{"ÿ.dat", 1}, {"Ÿ.DAT", 1}}, "", {"ÿ.dat", "Ÿ.DAT"}},
      {"sharp s has no capital", {{"straße.txt", 1}, {"STRASSE.TXT", 1}}, "", {}},
      {"accent is not case", {{"resume.txt", 1}, {"résumé.txt", 1}}, "", {}},
      {"cyrillic", {{"Жук.txt", 1}, {"a/жук.TXT", 1}}, "--codepage 1251", {"a/жук.TXT", "Жук.txt"}},
      {"turkish dotless i", {{"ı.txt", 1}, {"I.txt", 1}}, "--codepage 1254", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(root_ + "/setup");
    fs::remove_all(root_ + "/tools");
    fs::create_directories(root_ + "/tools");
    MakeFiles(root_ + "/setup", c.set);
    std::string err;
    int rc = Plan(std::string("setup -o tools/packlist.ini --name P ") + c.args, &err);
    if (c.clash.empty()) {
      EXPECT_EQ(rc, 0) << err;
      continue;
    }
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("would get the same name on a floppy"), std::string::npos) << err;
    for (const char* name : c.clash) EXPECT_NE(err.find(name), std::string::npos) << err;
    EXPECT_TRUE(fs::is_empty(root_ + "/tools"));
  }
}

TEST_F(WendplanProgram, TextTheCodePageCannotHoldIsRefusedAndNothingIsWritten) {
  struct Case {
    const char* label;
    FileSet set;
    const char* args;
    const char* line;
  };
  const Case cases[] = {
      {"file", {{"SETUP.EXE", 1}, {"docs/Party 😀.txt", 1}}, "--name P",
       "wendplan: code page 1252 cannot hold the name of setup/docs/Party 😀.txt (\"😀\")\n"},
      {"product", {{"SETUP.EXE", 1}}, "--name '漢字 Suite'",
       "wendplan: code page 1252 cannot hold the product name 漢字 Suite (\"漢\")\n"},
      {"prefix", {{"SETUP.EXE", 1}}, "--name P --entry-prefix '..\\Σ\\'",
       "wendplan: code page 1252 cannot hold the entry prefix ..\\Σ\\ (\"Σ\")\n"},
      {"other code page", {{"Café.txt", 1}}, "--name P --codepage 1251",
       "wendplan: code page 1251 cannot hold the name of setup/Café.txt (\"é\")\n"},
      {"unknown code page", {{"A.TXT", 1}}, "--name P --codepage 65001",
       "wendplan: code page 65001 is not supported (supported: 874, 1250, 1251, 1252, 1253, 1254, 1255, "
       "1256, 1257)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(root_ + "/setup");
    MakeFiles(root_ + "/setup", c.set);
    std::string err;
    EXPECT_EQ(Plan(std::string("setup -o tools/packlist.ini ") + c.args, &err), 1);
    EXPECT_EQ(err, c.line);
    EXPECT_TRUE(fs::is_empty(root_ + "/tools")) << "nothing written";
  }
}

}  // namespace
