// kivopack and kivounpack as programs: a folder packed onto the console
// extractor comes out byte for byte, with the answers, messages and exit
// statuses a user of the console sees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <algorithm>

#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"
#include "tandrel_version.h"
#include "tools/kivopack/listing.h"

namespace {

struct Result {
  int status = -1;
  std::string err;
  std::string out;
};

// Runs a shell command in `dir`, stdin from `input`, stderr captured, and
// stdout read through a pipe to its end. A program the command starts (the
// kit's program) holds that pipe as its stdout, and the end comes only when
// the last holder has let go: so this returns once everything the command
// started has ended, with all it wrote in place.
Result Shell(const std::string& dir, const std::string& command, const std::string& input = "") {
  std::string in = dir + "/.stdin", err = dir + "/.stderr";
  tests::WriteFile(in, input);
  std::string full = "cd '" + dir + "' && " + command + " <'" + in + "' 2>'" + err + "'";
  Result r;
  FILE* out = popen(full.c_str(), "r");
  if (out == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return r;
  }
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;) r.out.append(buffer, got);
  int rc = pclose(out);
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = tests::ReadFile(err);
  std::remove(in.c_str());
  std::remove(err.c_str());
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
  // Shell has waited for start.sh to end.
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
  Result nodir = Shell(root_, "./self -dsrc/readme.txt/sub");
  EXPECT_EQ(nodir.status, 2);
  EXPECT_EQ(nodir.err, "Tandrel: The path specified, " + root_ +
                           "/src/readme.txt/sub, cannot be found or used at this time.\n"
                           "kivounpack: No such file or directory\n");
  Result option = Shell(root_, "./self --bogus");
  EXPECT_EQ(option.status, 1);
  EXPECT_EQ(option.err, "kivounpack: unknown option --bogus (kivounpack --help lists the options)\n");
}

// Every file and folder below `dir` with its contents, to tell that nothing
// was written.
std::string Snapshot(const std::string& dir) {
  std::string all;
  std::vector<std::string> lines;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
    lines.push_back(e.path().string() + (e.is_regular_file() ? " " + tests::ReadFile(e.path().string()) : "/"));
  }
  std::sort(lines.begin(), lines.end());
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

// Without a terminal (as every test here runs) nothing is replaced unasked:
// the options decide, and without them the files are kept, named, and the
// status says so.
TEST_F(Cli, ExistingFilesAreReplacedOrKeptAsTheOptionsSayAndNeverSilently) {
  ASSERT_EQ(Pack("-o self src").status, 0);
  ASSERT_EQ(Shell(root_ + "/out", "../self").status, 0);
  tests::WriteFile(root_ + "/out/readme.txt", "mine");
  tests::WriteFile(root_ + "/out/docs/manual.txt", "my manual");

  Result unasked = Shell(root_ + "/out", "../self");
  EXPECT_EQ(unasked.status, 3);
  EXPECT_EQ(unasked.err,
            "kivounpack: kept the existing file docs\\manual.txt\n"
            "kivounpack: kept the existing file readme.txt\n"
            "kivounpack: kept the existing file start.sh\n"
            "kivounpack: kept 3 existing files that nobody was asked about (input ended); "
            "--yes replaces such files, --no-overwrite keeps them\n");
  EXPECT_EQ(Out("readme.txt"), "mine");

  Result keep = Shell(root_ + "/out", "../self --no-overwrite", "y\ny\ny\n");
  EXPECT_EQ(keep.status, 0);
  EXPECT_EQ(keep.err,
            "kivounpack: kept the existing file docs\\manual.txt\n"
            "kivounpack: kept the existing file readme.txt\n"
            "kivounpack: kept the existing file start.sh\n");
  EXPECT_EQ(Out("readme.txt"), "mine");
  EXPECT_EQ(Out("docs/manual.txt"), "my manual");

  Result both = Shell(root_ + "/out", "../self --yes --no-overwrite");
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(both.err, "kivounpack: --yes and --no-overwrite exclude each other\n");
  EXPECT_EQ(Out("readme.txt"), "mine");

  Result yes = Shell(root_ + "/out", "../self --yes");
  EXPECT_EQ(yes.status, 0) << yes.err;
  EXPECT_EQ(yes.err, "");
  EXPECT_EQ(Out("readme.txt"), "read me");
  EXPECT_EQ(Out("docs/manual.txt"), std::string(200000, 'm'));
}

TEST_F(Cli, AMissingFolderIsMadeForASoundKitOnly) {
  ASSERT_EQ(Pack("-o self src").status, 0);
  Result made = Shell(root_, "./self -d new/deeper/still");
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(tests::ReadFile(root_ + "/new/deeper/still/docs/manual.txt"), std::string(200000, 'm'));

  std::ofstream(root_ + "/self", std::ios::app) << "x";
  Result damaged = Shell(root_, "./self -d" + root_ + "/other");
  EXPECT_EQ(damaged.status, 2);
  EXPECT_EQ(damaged.err, "Tandrel: There are no files to be extracted.  File extraction aborted.\n"
                         "kivounpack: the kit is 1 byte longer than its header says\n");
  EXPECT_FALSE(tests::Exists(root_ + "/other")) << "no folder for a damaged kit";
}

// --list and --check run the extraction's own checks and write nothing,
// wherever -d points; a damaged kit fails them with the extractor's message.
TEST_F(Cli, ListAndCheckWriteNothingAndFailOnADamagedKit) {
  ASSERT_EQ(Pack("-o self --run start.sh src").status, 0);
  ASSERT_EQ(Pack("-o bare.arc --bare src").status, 0);
  tests::WriteFile(root_ + "/out/readme.txt", "mine");
  const std::string before = Snapshot(root_);

  Result list = Shell(root_ + "/out", "../self --list");
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out,
            "program: start.sh\n"
            "      200000  docs\\manual.txt\n"
            "           7  readme.txt\n"
            "          29  start.sh\n");
  EXPECT_EQ(list.err, "");
  Result check = Shell(root_, "./self --check -d missing");
  EXPECT_EQ(check.status, 0) << check.err;
  EXPECT_EQ(check.out, root_ + "/self: sound, 3 entries, 200036 bytes of data, program start.sh\n");
  Result other = Shell(root_, "./self --check -f bare.arc");
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_EQ(other.out, "bare.arc: sound, 3 entries, 200036 bytes of data, program (none)\n");
  EXPECT_EQ(Snapshot(root_), before) << "nothing written, not even the -d folder";
  EXPECT_FALSE(tests::Exists(root_ + "/out/ran.txt")) << "nothing started";

  struct Bad {
    const char* command;
    int status;
    const char* err;
  };
  std::ofstream(root_ + "/bare.arc", std::ios::app) << "x";
  for (const Bad& bad : {Bad{"./self --check -f bare.arc", 2,
                             "Tandrel: There are no files to be extracted.  File extraction aborted.\n"
                             "kivounpack: the kit is 1 byte longer than its header says\n"},
                         Bad{"./self --list -f bare.arc", 2,
                             "Tandrel: There are no files to be extracted.  File extraction aborted.\n"
                             "kivounpack: the kit is 1 byte longer than its header says\n"},
                         Bad{"./self --check -f src/readme.txt", 2,
                             "Tandrel: Unable to find any files in the specified extraction file.  File "
                             "extraction aborted.\n"},
                         Bad{"./self --check -f none.arc", 1,
                             "Tandrel: Unable to open the file from which to extract files.  File extraction "
                             "aborted.\n"}}) {
    SCOPED_TRACE(bad.command);
    const std::string damagedBefore = Snapshot(root_);
    Result r = Shell(root_, bad.command);
    EXPECT_EQ(r.status, bad.status);
    EXPECT_EQ(r.err, bad.err);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Snapshot(root_), damagedBefore);
  }
}

TEST_F(Cli, AWindowsProgramIsNamedNotStarted) {
  tests::WriteFile(root_ + "/src/Setup.exe", "MZ and the rest");
  ASSERT_EQ(Pack("-o self --run Setup.exe src").status, 0);
  Result r = Shell(root_ + "/out", "../self");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "The kit's program is " + root_ + "/out/Setup.exe, a Windows program; it is not started on Linux.\n");
}

TEST_F(Cli, BothToolsHelpAndTellTheirVersion) {
  const std::string unpacker = std::string("'") + KIVOUNPACK_PATH + "'";
  for (const std::string tool : {"kivopack", "kivounpack"}) {
    SCOPED_TRACE(tool);
    const std::string program = tool == "kivopack" ? std::string("'") + KIVOPACK_PATH + "'" : unpacker;
    Result help = Shell(root_, program + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: " + tool + " ", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("\nExit status:\n  0  "), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    Result version = Shell(root_, program + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, tool + " " TANDREL_VERSION "\n");
  }
  // Not the program read as a kit, whatever kit it carries.
  ASSERT_EQ(Pack("-o self src").status, 0);
  Result help = Shell(root_ + "/out", "../self --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(Snapshot(root_ + "/out"), "");
}

// A link to a file inside the source is that file; one that leads outside,
// nowhere or round in a loop is refused on one line with nothing written;
// what the archive cannot hold is named and packing goes on.
TEST_F(Cli, LinksArePackedAsTheirFilesOrRefusedAndEmptyFoldersNamed) {
  namespace fs = std::filesystem;
  fs::create_directories(root_ + "/src/empty/deeper");
  fs::create_symlink("docs/manual.txt", root_ + "/src/manual-link.txt");
  fs::create_directory_symlink("docs", root_ + "/src/docs-link");
  Result packed = Pack("-o self src");
  EXPECT_EQ(packed.status, 0) << packed.err;
  EXPECT_EQ(packed.err,
            "kivopack: warning: the empty folder src/empty/deeper is not packed: the archive cannot hold an empty "
            "folder\n"
            "kivopack: warning: the link src/docs-link is not packed: it leads to a folder, which is packed under "
            "its own name\n");
  Result r = Shell(root_ + "/out", "../self");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Out("manual-link.txt"), std::string(200000, 'm')) << "the link's name, the file's bytes";
  EXPECT_FALSE(fs::is_symlink(root_ + "/out/manual-link.txt"));

  tests::WriteFile(root_ + "/secret.txt", "from elsewhere on the machine");
  struct Bad {
    const char* link;
    std::string target;
    std::string refusal;
  };
  for (const Bad& bad : {Bad{"up.txt", "../secret.txt", "leads outside the source folder, to " + root_ + "/secret.txt"},
                         Bad{"gone.txt", "no-such.txt", "leads nowhere"},
                         Bad{"loop.txt", "loop.txt", "is a loop of links"}}) {
    SCOPED_TRACE(bad.link);
    fs::create_symlink(bad.target, root_ + "/src/" + bad.link);
    Result refused = Pack("-o refused src");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kivopack: the link src/" + std::string(bad.link) + " " + bad.refusal + "\n");
    EXPECT_FALSE(tests::Exists(root_ + "/refused"));
    fs::remove(root_ + "/src/" + bad.link);
  }
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

// Everything below the source that cannot be packed is named on one line,
// by its host path, so that one run tells the vendor all there is to mend;
// a folder that cannot be listed is named itself, not its parent.
TEST_F(Cli, EveryRefusedEntryIsNamedAtOnce) {
  namespace fs = std::filesystem;
  for (const char* name : {"a:b.txt", "what?.txt", "x*y.txt", "locked/inside.txt"}) {
    fs::create_directories(fs::path(root_ + "/src/" + name).parent_path());
    tests::WriteFile(root_ + "/src/" + name, "x");
  }
  ASSERT_EQ(mkfifo((root_ + "/src/pipe").c_str(), 0644), 0);
  tests::WriteFile(root_ + "/secret.txt", "from elsewhere on the machine");
  fs::create_symlink("../secret.txt", root_ + "/src/up.txt");
  fs::permissions(root_ + "/src/locked", fs::perms::none);
  // Root lists any folder: the packer runs as nobody then, to whom the
  // locked folder is closed as it is to its owner.
  fs::permissions(root_, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  const std::string user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  Result refused = Shell(root_, user + "'" + KIVOPACK_PATH + "' -o kit src");
  fs::permissions(root_ + "/src/locked", fs::perms::owner_all);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "kivopack: cannot list src/locked: Permission denied; src/pipe is neither a file nor a folder; "
            "the link src/up.txt leads outside the source folder, to " + root_ + "/secret.txt; "
            "the extractor would refuse the names: src/a:b.txt, src/what?.txt, src/x*y.txt\n");
  EXPECT_FALSE(tests::Exists(root_ + "/kit"));
}

// The kit's program is one of its files, named by its path below the
// source: anything else would end every extraction with a failed start.
TEST_F(Cli, TheProgramToRunMustBeOneOfTheKitsFiles) {
  struct Case {
    const char* run;
    const char* err;  // "" for a kit written
  };
  const Case cases[] = {
      {"/bin/sh", "kivopack: --run /bin/sh: the program must be one of the kit's files, named by its path below src\n"},
      {"../secret.txt",
       "kivopack: --run ../secret.txt: the program must be one of the kit's files, named by its path below src\n"},
      {"'C:\\Windows\\notepad.exe'",
       "kivopack: --run C:\\Windows\\notepad.exe: the program must be one of the kit's files, named by its path "
       "below src\n"},
      {"'tools\\Missing.exe'", "kivopack: --run tools\\Missing.exe: no such file below src\n"},
      {"START.SH", "kivopack: --run START.SH: no such file below src (start.sh differs from it in case only)\n"},
      {"docs", "kivopack: --run docs: no such file below src\n"},
      {"docs/manual.txt", ""},
      {"'docs\\manual.txt'", ""},
  };
  tests::WriteFile(root_ + "/secret.txt", "outside");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.run);
    std::filesystem::remove(root_ + "/kit");
    Result r = Pack(std::string("-o kit --bare --run ") + c.run + " src");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, *c.err ? 1 : 0);
    EXPECT_EQ(tests::Exists(root_ + "/kit"), !*c.err);
    if (!*c.err) {
      kivopack::ArchiveListing listing;
      std::string error;
      ASSERT_TRUE(kivopack::ReadListing(platform::DefaultFileSystem(), root_ + "/kit", &listing, &error)) << error;
      EXPECT_EQ(listing.program, "docs\\manual.txt") << "held as the kit names the file";
    }
  }
  // A kit made elsewhere that names none of its files does not pass as valid.
  tests::WriteFile(root_ + "/other.arc",
                   tests::BuildArchive({{"setup.exe", "MZ"}}, tests::HandBuiltOptions("", "tools\\Missing.exe")));
  Result other = Pack("--verify other.arc");
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err, "kivopack: other.arc: the program tools\\Missing.exe is none of the archive's entries\n");
  tests::WriteFile(root_ + "/one.arc", tests::BuildArchive({{"setup.exe", "MZ"}}, tests::HandBuiltOptions("", "setup.exe")));
  EXPECT_EQ(Pack("--verify one.arc").out,
            "one.arc: valid, archive at offset 0, 1 entry, 2 bytes of data, program setup.exe\n");
}

// A kit takes its name only when whole: a refused run leaves the kit there
// as it was, a second run replaces it, and no ".partial" stays behind. A kit
// inside the folder it packs would carry the previous kit: refused.
TEST_F(Cli, AnEarlierKitIsReplacedWholeOrKept) {
  ASSERT_EQ(Pack("-o self src").status, 0);
  std::string first = tests::ReadFile(root_ + "/self");
  tests::WriteFile(root_ + "/src/readme.txt", "read me again");
  ASSERT_EQ(Pack("-o self src").status, 0);
  EXPECT_NE(tests::ReadFile(root_ + "/self"), first);
  EXPECT_FALSE(tests::Exists(root_ + "/self.partial"));
  std::string second = tests::ReadFile(root_ + "/self");
  std::filesystem::create_symlink("/etc/hostname", root_ + "/src/outside");
  EXPECT_EQ(Pack("-o self src").status, 1);
  EXPECT_EQ(tests::ReadFile(root_ + "/self"), second);
  std::filesystem::remove(root_ + "/src/outside");

  Result inside = Pack("-o src/docs/kit.run src");
  EXPECT_EQ(inside.status, 1);
  EXPECT_EQ(inside.err, "kivopack: the kit src/docs/kit.run would lie inside the folder it packs, src\n");
  EXPECT_FALSE(tests::Exists(root_ + "/src/docs/kit.run"));
  EXPECT_FALSE(tests::Exists(root_ + "/src/docs/kit.run.partial"));
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
  EXPECT_TRUE(kivopack::ReadListing(platform::DefaultFileSystem(), path, &listing, &error)) << error;
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

  for (const char* option : {"--codepage 1258", "--codepage 12x", "--codepage 0", "--codepage"}) {
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
