// kivounpack as a program: what a damaged kit, a failure of the host and an
// interruption come to on the console, and what they leave on the disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs kivounpack in `dir` with `args` (each quoted), stdin from `input`,
// after the shell command `before` (limits for the program, say).
Result Unpack(const std::string& dir, const std::vector<std::string>& args, const std::string& input = "",
           const std::string& before = "") {
  const std::string in = dir + "/../.stdin", err = dir + "/../.stderr", out = dir + "/../.stdout";
  tests::WriteFile(in, input);
  std::string command = "cd " + Quoted(dir) + " && " + before + Quoted(KIVOUNPACK_PATH);
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " <" + Quoted(in) + " 2>" + Quoted(err) + " >" + Quoted(out);
  int rc = std::system(command.c_str());
  Result r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = tests::ReadFile(out);
  r.err = tests::ReadFile(err);
  for (const std::string& f : {in, err, out}) fs::remove(f);
  return r;
}

// Every file and folder below `dir`, relative, sorted.
std::vector<std::string> Below(const std::string& dir) {
  std::vector<std::string> all;
  for (const auto& e : fs::recursive_directory_iterator(dir)) all.push_back(fs::relative(e.path(), dir).string());
  std::sort(all.begin(), all.end());
  return all;
}

const char kInvalid[] = "Tandrel: There are no files to be extracted.  File extraction aborted.\n";

class Kivounpack : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path() + "/work";
    fs::create_directories(root_);
  }
  std::string Put(const std::string& name, const std::string& bytes) {
    tests::WriteFile(root_ + "/" + name, bytes);
    return root_ + "/" + name;
  }
  tests::TempDir dir_;
  std::string root_;
};

// The header is outside the checksum: a changed count passes it, and only
// the sizes adding up show it; a changed size shows twice. Every damaged
// kit gets string 10 and one line that says what is wrong, and nothing is
// written, whether checked or extracted.
TEST_F(Kivounpack, ADamagedKitIsRefusedWithItsReasonAndNothingIsWritten) {
  tests::HandBuiltOptions o;
  o.program = "ONE.TXT";
  const std::string good =
      tests::BuildArchive({{"ONE.TXT", "one\r\n"}, {"TWO.TXT", "two two\r\n"}, {"DATA\\BIG.BIN", std::string(5000, 'b')}}, o);
  auto changed = [&good](std::size_t at, std::uint32_t value, bool reseal) {
    std::string bytes = good;
    tests::Put32(bytes, at, value);
    if (reseal) tests::ResealArchive(bytes);
    return bytes;
  };
  const std::size_t second = 800 + 308;
  struct Case {
    const char* what;
    std::string bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"count 3 -> 2", changed(12, 2, false), "its entries do not fill its data (5,308 bytes are left over)"},
      {"count 3 -> 20", changed(12, 20, false), "its table of 20 entries runs past its end"},
      {"count 3 -> 1", changed(12, 1, false), "its entries do not fill its data (5,625 bytes are left over)"},
      {"a size, resealed", changed(second + 260, 8, true), "entry 2 of 3 gives two different sizes"},
      {"a size", changed(second + 260, 8, false), "its checksum does not match"},
      {"cut short", good.substr(0, good.size() - 1234),
       "the kit is 1,234 bytes shorter than its header says (an incomplete download?)"},
      {"one byte short", good.substr(0, good.size() - 1),
       "the kit is 1 byte shorter than its header says (an incomplete download?)"},
      {"one byte added", good + "\n", "the kit is 1 byte longer than its header says"},
  };
  fs::create_directories(root_ + "/out");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string kit = Put("kit.arc", c.bytes);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--check", "-f", kit},
                                                 std::vector<std::string>{"-f", kit, "-d", "out"}}) {
      Result r = Unpack(root_, args);
      EXPECT_EQ(r.status, 2);
      EXPECT_EQ(r.err, kInvalid + ("kivounpack: " + c.reason + "\n"));
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(Below(root_), (std::vector<std::string>{"kit.arc", "out"}));
    }
  }
  // The program name is not under the checksum either: a changed one can
  // only be seen, and --check shows it.
  std::string program = good;
  program[16 + 6] = 'U';
  Result r = Unpack(root_, {"--check", "-f", Put("kit.arc", program)});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, root_ + "/kit.arc: sound, 3 entries, 5014 bytes of data, program ONE.TXU\n");
}

// The stub's message stays word for word, the host's reason follows on one
// line, and every path is written with "/" and spelled as the host spells it.
TEST_F(Kivounpack, HostFailuresAreFollowedByTheHostsWordsWithPathsAsTheHostWritesThem) {
  const std::string kit = Put("kit.arc", tests::BuildArchive({{"a.txt", "new a"}, {"BIG.BIN", std::string(40000, 'B')}}));

  Put("file.txt", "a file, not a folder");
  Result nodir = Unpack(root_, {"-f", kit, "-d", "file.txt/sub"});
  EXPECT_EQ(nodir.status, 2);
  EXPECT_EQ(nodir.err, "Tandrel: The path specified, " + root_ +
                           "/file.txt/sub, cannot be found or used at this time.\nkivounpack: No such file or directory\n");

  // A folder named in UTF-8 is made and used as spelled.
  const std::string named = "Ünïcödé 漢字/sub";
  Result made = Unpack(root_, {"-f", kit, "-d", named});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(tests::ReadFile(root_ + "/" + named + "/a.txt"), "new a");
  EXPECT_EQ(Below(root_ + "/Ünïcödé 漢字"), (std::vector<std::string>{"sub", "sub/BIG.BIN", "sub/a.txt"}));
  Result inTheWay = Unpack(root_, {"-f", Put("way.arc", tests::BuildArchive({{"a.txt\\x", "x"}})), "-d", named});
  EXPECT_EQ(inTheWay.status, 2);
  EXPECT_EQ(inTheWay.err, "Tandrel: Unable to create the directory: " + root_ + "/" + named +
                              "/a.txt, a file with the same name is found.\n");

  // A file kept because input ended, then a file the system refuses to let
  // grow: the extraction failed (2), whatever was kept before.
  fs::create_directories(root_ + "/limited");
  Put("limited/a.txt", "mine");
  Result full = Unpack(root_ + "/limited", {"-f", kit}, "", "ulimit -f 8 && trap '' XFSZ && ");
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.err,
            "kivounpack: kept the existing file a.txt\n"
            "Tandrel: Unable to continue extraction of files due to destination directory being out of disk space.  "
            "Please free some disk space and run this program again.\n"
            "kivounpack: No space left on device\n");
  EXPECT_EQ(Below(root_ + "/limited"), std::vector<std::string>{"a.txt"}) << "no BIG.BIN cut short";
  EXPECT_EQ(tests::ReadFile(root_ + "/limited/a.txt"), "mine");
}

// A kit of one file of 300 MB that takes no time to make: the data are zeros,
// which the checksum folds as rotations alone, and the file is sparse.
std::string SparseKit(const std::string& path, std::uint32_t size) {
  std::string kit = tests::BuildArchive({{"HUGE.BIN", ""}});
  tests::Put32(kit, 800 + 260, size);
  tests::Put32(kit, 800 + 300, size);
  std::uint32_t x = tests::FoldBytes(kit, 800), n = size % 32;
  tests::Put32(kit, 284, n == 0 ? x : (x << n) | (x >> (32 - n)));
  tests::Put32(kit, 280, static_cast<std::uint32_t>(kit.size() + size));
  tests::WriteFile(path, kit);
  fs::resize_file(path, kit.size() + size);
  return path;
}

struct Interrupted {
  bool signalled = false;  // false: the extraction was over before the signal came
  int status = -1;
  std::string err;
};

// Starts kivounpack, waits until the kernel reports its first write into
// `target`, sends `sig`, and collects what it said and how it ended.
Interrupted InterruptWhileWriting(const std::vector<std::string>& args, const std::string& target, int sig) {
  Interrupted result;
  int watch = inotify_init1(IN_CLOEXEC);
  EXPECT_GE(watch, 0);
  EXPECT_GE(inotify_add_watch(watch, target.c_str(), IN_MODIFY), 0);
  int err[2];
  EXPECT_EQ(pipe2(err, O_CLOEXEC), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<std::string> all{KIVOUNPACK_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, KIVOUNPACK_PATH, &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(err[1]);
  // Whichever comes first: the write (then the signal), or the end of the
  // program's output (it ended, or failed, before writing).
  pollfd fds[2] = {{watch, POLLIN, 0}, {err[0], POLLIN, 0}};
  while (poll(fds, 2, -1) > 0) {
    if (fds[0].revents & POLLIN) {
      result.signalled = kill(pid, sig) == 0;
      break;
    }
    if (fds[1].revents) break;
  }
  char buffer[4096];
  for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) result.err.append(buffer, static_cast<std::size_t>(n));
  close(err[0]);
  close(watch);
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, 0), pid);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  // A signal that came after the last byte interrupted nothing.
  if (result.status == 0) result.signalled = false;
  return result;
}

// Ctrl-C, a kill or a closed terminal in the middle of a large file: the file
// is removed (or, for a replacement, the temporary, and the old file stays),
// the person is told which file, and the status is 128 + the signal. A run
// that ended before the signal came says nothing about this, and is made again.
TEST_F(Kivounpack, AnInterruptedExtractionLeavesNoFileCutShort) {
  const std::string kit = SparseKit(dir_.path() + "/big.kit", 300u << 20);
  struct Case {
    int sig;
    const char* name;
    bool replacing;
  };
  for (const Case& c : {Case{SIGINT, "SIGINT", false}, Case{SIGTERM, "SIGTERM", true}, Case{SIGHUP, "SIGHUP", false}}) {
    SCOPED_TRACE(c.name);
    Interrupted run;
    for (int attempt = 0; attempt < 3 && !run.signalled; ++attempt) {
      fs::remove_all(root_);
      fs::create_directories(root_);
      if (c.replacing) Put("HUGE.BIN", "the file there before");
      std::vector<std::string> args{"-f", kit, "-d", root_};
      if (c.replacing) args.push_back("--yes");
      run = InterruptWhileWriting(args, root_, c.sig);
    }
    ASSERT_TRUE(run.signalled) << run.err;
    EXPECT_EQ(run.status, 128 + c.sig);
    EXPECT_EQ(run.err, "kivounpack: interrupted by " + std::string(c.name) + " while writing " + root_ +
                           (c.replacing ? "/HUGE.BIN; the file there before is kept\n"
                                        : "/HUGE.BIN; the incomplete file is removed\n"));
    if (c.replacing) {
      EXPECT_EQ(Below(root_), std::vector<std::string>{"HUGE.BIN"}) << "no temporary left";
      EXPECT_EQ(tests::ReadFile(root_ + "/HUGE.BIN"), "the file there before");
    } else {
      EXPECT_EQ(Below(root_), std::vector<std::string>{});
    }
  }
}

}  // namespace
