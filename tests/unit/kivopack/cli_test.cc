// kivopack and kivounpack as programs: a folder packed onto the console
// extractor comes out byte for byte, with the answers, messages and exit
// statuses a user of the console sees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <algorithm>

#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"
#include "tools/kivopack/pack.h"

namespace {

struct Result {
  int status = -1;
  std::string err;
  std::string out;
};

// Runs a shell command in `dir`, stdin from `input`, stdout and stderr captured.
Result Shell(const std::string& dir, const std::string& command, const std::string& input = "") {
  std::string in = dir + "/.stdin", err = dir + "/.stderr", out = dir + "/.stdout";
  tests::WriteFile(in, input);
  std::string full = "cd '" + dir + "' && " + command + " <'" + in + "' 2>'" + err + "' >'" + out + "'";
  int rc = std::system(full.c_str());
  Result r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = tests::ReadFile(err);
  r.out = tests::ReadFile(out);
  std::remove(in.c_str());
  std::remove(err.c_str());
  std::remove(out.c_str());
  return r;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path();
    std::filesystem::create_directories(root_ + "/src/docs");
    std::filesystem::create_directories(root_ + "/out");
    tests::WriteFile(root_ + "/src/readme.txt", "read me");
    tests::WriteFile(root_ + "/src/docs/manual.txt", std::string(200000, 'm'));
    tests::WriteFile(root_ + "/src/start.sh", "#!/bin/sh\necho ran > ran.txt\n");
  }
  Result Pack(const std::string& args) {
    return Shell(root_, std::string("'") + KIVOPACK_PATH + "' " + args);
  }
  std::string Out(const std::string& rel) { return tests::ReadFile(root_ + "/out/" + rel); }
  tests::TempDir dir_;
  std::string root_;
};

TEST_F(Cli, ThePackedFolderComesOutWholeAndTheProgramRuns) {
  ASSERT_EQ(Pack("-o self --run start.sh src").status, 0);
  Result r = Shell(root_ + "/out", "../self");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Out("readme.txt"), "read me");
  EXPECT_EQ(Out("docs/manual.txt"), std::string(200000, 'm'));
  for (int i = 0; i < 100 && !tests::Exists(root_ + "/out/ran.txt"); ++i) usleep(20000);
  EXPECT_EQ(Out("ran.txt"), "ran\n") << "started in the target folder";
}

TEST_F(Cli, AnswersComeFromStdinAndAbortEndsWithStatusTwo) {
  ASSERT_EQ(Pack("-o self src").status, 0);
  ASSERT_EQ(Shell(root_ + "/out", "../self").status, 0);
  tests::WriteFile(root_ + "/out/readme.txt", "mine");
  Result no = Shell(root_ + "/out", "../self", "n\nn\nn\n");
  EXPECT_EQ(no.status, 0);
  EXPECT_EQ(Out("readme.txt"), "mine");
  EXPECT_NE(no.err.find("The file 'readme.txt' already exists.  Do you want to overwrite it? [Y]es "
                        "/ [N]o / Y[e]s To All / [A]bort: "),
            std::string::npos);
  Result all = Shell(root_ + "/out", "../self", "e\n");
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(Out("readme.txt"), "read me");
  Result abort = Shell(root_ + "/out", "../self", "a\n");
  EXPECT_EQ(abort.status, 2);
  EXPECT_NE(abort.err.find("Tandrel: File extraction terminated at user's request.\n"), std::string::npos)
      << abort.err;
}

TEST_F(Cli, OptionsNameTheTargetAndAnotherArchive) {
  ASSERT_EQ(Pack("--bare -o bare.arc src").status, 0);
  ASSERT_EQ(Pack("-o self src").status, 0);
  std::filesystem::create_directories(root_ + "/with blank");
  Result r = Shell(root_, "./self '-d" + root_ + "/with blank' -f" + root_ + "/bare.arc");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(tests::ReadFile(root_ + "/with blank/readme.txt"), "read me");
  Result rel = Shell(root_, "mkdir -p rel && ./self -drel");
  EXPECT_EQ(rel.status, 0) << rel.err;
  EXPECT_EQ(tests::ReadFile(root_ + "/rel/docs/manual.txt"), std::string(200000, 'm'));
}

TEST_F(Cli, FailuresGiveTheirStatus) {
  ASSERT_EQ(Pack("-o self src").status, 0);
  Result missing = Shell(root_, "./self -fnothing.arc");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "Tandrel: Unable to open the file from which to extract files.  File extraction aborted.\n");
  Result bare = Shell(root_, std::string("cp '") + KIVOUNPACK_PATH + "' plain && ./plain");
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.err,
            "Tandrel: Unable to find any files in the specified extraction file.  File extraction aborted.\n");
  Result nodir = Shell(root_, "./self -dno/such");
  EXPECT_EQ(nodir.status, 2);
  EXPECT_EQ(nodir.err, "Tandrel: The path specified, " + root_ +
                           "\\no/such, cannot be found or used at this time.\n");
}

TEST_F(Cli, PackerRefusalsAreOneLineWithStatusOne) {
  std::filesystem::create_directories(root_ + "/empty");
  Result empty = Pack("-o x empty");
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "kivopack: no files below empty\n");
  Result run = Pack("-o x --run " + std::string(264, 'r') + " src");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kivopack: program name longer than 263 characters\n");
  EXPECT_EQ(Pack("--help").status, 0);
  ASSERT_EQ(Pack("-o self --run start.sh src").status, 0);
  Result verify = Pack("--verify self");
  EXPECT_EQ(verify.status, 0) << verify.err;
  // One byte more and the file no longer validates.
  std::ofstream(root_ + "/self", std::ios::app) << "x";
  Result bad = Pack("--verify self");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "kivopack: self: size or checksum does not match\n");
}

TEST_F(Cli, SourceDateEpochBoundsTheStoredTimesOrIsRefused) {
  const std::string packer = std::string("'") + KIVOPACK_PATH + "'";
  for (const char* bad : {"abc", "", "-5", "1700000000.5"}) {
    SCOPED_TRACE(bad);
    Result r = Shell(root_, std::string("SOURCE_DATE_EPOCH='") + bad + "' " + packer + " -o self src");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string("kivopack: SOURCE_DATE_EPOCH must be a non-negative whole number of seconds "
                                 "since 1970-01-01 UTC, not '") + bad + "'\n");
    EXPECT_FALSE(tests::Exists(root_ + "/self")) << "nothing written";
  }
  Result far = Shell(root_, "SOURCE_DATE_EPOCH=253402300800 " + packer + " -o self src");
  EXPECT_EQ(far.status, 1);
  EXPECT_EQ(far.err, "kivopack: SOURCE_DATE_EPOCH '253402300800' is later than 9999-12-31 23:59:59 UTC\n");

  ASSERT_EQ(Shell(root_, "SOURCE_DATE_EPOCH=86400 " + packer + " -o self src").status, 0);
  std::string listed = root_ + "/listed.txt";
  ASSERT_EQ(std::system((packer + " --list '" + root_ + "/self' >'" + listed + "'").c_str()), 0);
  std::string listing = tests::ReadFile(listed);
  std::size_t lines = 0, bounded = 0;
  for (std::size_t at = 0; (at = listing.find('\n', at)) != std::string::npos; ++at) ++lines;
  for (std::size_t at = 0; (at = listing.find("  1970-01-02 00:00:00  ", at)) != std::string::npos; ++at) ++bounded;
  EXPECT_EQ(lines, 4u) << listing;  // the program line and three entries
  EXPECT_EQ(bounded, 3u) << listing;
}

std::vector<std::string> ArchiveNames(const std::string& path) {
  kivopack::ArchiveListing listing;
  std::string error;
  EXPECT_TRUE(kivopack::ReadListing(path, &listing, &error)) << error;
  std::vector<std::string> names;
  for (const auto& e : listing.entries) names.push_back(e.name);
  return names;
}

TEST_F(Cli, NamesTravelInTheCodePageAndComeOutInTheHostsEncoding) {
  const char* names[] = {"Café Menu.txt", "Größe.dat", "Übersicht/Noël.txt"};
  for (const char* name : names) {
    std::filesystem::create_directories(std::filesystem::path(root_ + "/fr/" + name).parent_path());
    tests::WriteFile(root_ + "/fr/" + name, name);
  }
  ASSERT_EQ(Pack("-o self fr").status, 0);
  // What Windows reads as these names: one byte per letter, in 1252.
  EXPECT_EQ(ArchiveNames(root_ + "/self"),
            (std::vector<std::string>{"Caf\xE9 Menu.txt", "Gr\xF6\xDF" "e.dat", "\xDC" "bersicht\\No\xEBl.txt"}));
  Result list = Pack("--list self");
  EXPECT_EQ(list.status, 0) << list.err;
  for (const char* shown : {"  Café Menu.txt\n", "  Größe.dat\n", "  Übersicht\\Noël.txt\n"})
    EXPECT_NE(list.out.find(shown), std::string::npos) << list.out;

  Result r = Shell(root_ + "/out", "../self");
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* name : names) EXPECT_EQ(Out(name), name);
  Result again = Shell(root_ + "/out", "../self", "n\nn\nn\n");
  EXPECT_NE(again.err.find("The file 'Übersicht\\Noël.txt' already exists."), std::string::npos) << again.err;

  // Another code page travels the same way when both ends are told.
  std::filesystem::create_directories(root_ + "/ru");
  tests::WriteFile(root_ + "/ru/Отчёт.txt", "report");
  ASSERT_EQ(Pack("-o ru.arc --bare --codepage 1251 ru").status, 0);
  EXPECT_EQ(ArchiveNames(root_ + "/ru.arc"), std::vector<std::string>{"\xCE\xF2\xF7\xB8\xF2.txt"});
  EXPECT_NE(Pack("--list ru.arc --codepage 1251").out.find("  Отчёт.txt\n"), std::string::npos);
  std::filesystem::create_directories(root_ + "/ru-out");
  Result ru = Shell(root_ + "/ru-out", "../self -f../ru.arc --codepage 1251");
  EXPECT_EQ(ru.status, 0) << ru.err;
  EXPECT_EQ(tests::ReadFile(root_ + "/ru-out/Отчёт.txt"), "report");
}

TEST_F(Cli, NamesTheCodePageCannotHoldAreRefusedBeforeAnythingIsWritten) {
  std::filesystem::create_directories(root_ + "/mixed/漢字");
  tests::WriteFile(root_ + "/mixed/Café.txt", "fine");
  tests::WriteFile(root_ + "/mixed/Party 😀.txt", "emoji");
  tests::WriteFile(root_ + "/mixed/漢字/a.txt", "cjk");
  Result both = Pack("-o self mixed");
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(both.err,
            "kivopack: code page 1252 cannot hold the names of mixed/Party 😀.txt (\"😀\"), "
            "mixed/漢字/a.txt (\"漢\")\n");
  EXPECT_FALSE(tests::Exists(root_ + "/self")) << "no output file";

  std::filesystem::create_directories(root_ + "/ru");
  tests::WriteFile(root_ + "/ru/Жук.txt", "beetle");
  Result one = Pack("-o self ru");
  EXPECT_EQ(one.err, "kivopack: code page 1252 cannot hold the name of ru/Жук.txt (\"Ж\")\n");
  Result program = Pack("-o self --run 'Жук.txt' --codepage 1250 src");
  EXPECT_EQ(program.status, 1);
  EXPECT_EQ(program.err, "kivopack: code page 1250 cannot hold the program name Жук.txt (\"Ж\")\n");
  EXPECT_FALSE(tests::Exists(root_ + "/self"));

  for (const char* option : {"--codepage 1258", "--codepage 12x", "--codepage"}) {
    SCOPED_TRACE(option);
    Result bad = Pack(std::string("-o self ") + option + " src");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    Result unpack = Shell(root_ + "/out", std::string("'") + KIVOUNPACK_PATH + "' " + option);
    EXPECT_EQ(unpack.status, 1) << unpack.err;
  }
  EXPECT_FALSE(tests::Exists(root_ + "/self"));
}

TEST(ExtractorImage, HoldsNoSignatureOfItsOwn) {
  std::string image = tests::ReadFile(KIVOUNPACK_PATH);
  EXPECT_EQ(image.find(tests::kArchiveSignature), std::string::npos);
}

}  // namespace
