// The console front end's questions and messages, over in-memory streams.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/console/host_text.h"
#include "platform/console/terminal_boxes.h"
#include "platform/posix/code_page.h"
#include "tests/support/temp_dir.h"
#include "unpack/frame/console/console_options.h"
#include "unpack/frame/console/console_ui.h"
#include "unpack/frame/strings.h"

namespace {

class Streams {
 public:
  explicit Streams(const std::string& input) : input_(input) {
    in = fmemopen(input_.data(), input_.size(), "r");
    out = open_memstream(&buffer_, &size_);
  }
  ~Streams() {
    std::fclose(in);
    std::fclose(out);
    std::free(buffer_);
  }
  std::string Written() {
    std::fflush(out);
    return std::string(buffer_, size_);
  }
  std::FILE* in;
  std::FILE* out;

 private:
  std::string input_;
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
};

TEST(ConsolePrompt, AnswersByMnemonicWithYesAsDefaultAndNoAtEndOfInput) {
  struct Case {
    std::string input;
    int answer;
  };
  const Case cases[] = {{"y\n", kivo::kAnswerYes},       {"Y\n", kivo::kAnswerYes},
                        {"n\n", kivo::kAnswerNo},        {"e\n", kivo::kAnswerYesToAll},
                        {"E\n", kivo::kAnswerYesToAll},  {"a\n", kivo::kAnswerAbort},
                        {"\n", kivo::kAnswerYes},        {"", kivo::kAnswerNo},
                        {"what\nno\n", kivo::kAnswerNo}, {"  yes\n", kivo::kAnswerYes},
                        {"a", kivo::kAnswerAbort}};
  for (const Case& c : cases) {
    Streams s(c.input);
    platform::console::TerminalBoxes boxes(s.in, s.out, kivo::console::MessageBoxStyle());
    kivo::Messages messages(boxes, kivo::CompiledStrings());
    kivo::console::ConsolePrompt prompt(messages, s.in, s.out);
    EXPECT_EQ(prompt.Ask("dir\\a&b.txt"), c.answer) << c.input;
  }
  Streams s("x\ny\n");
  platform::console::TerminalBoxes boxes(s.in, s.out, kivo::console::MessageBoxStyle());
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  kivo::console::ConsolePrompt prompt(messages, s.in, s.out);
  prompt.Ask("dir\\a&b.txt");
  const std::string question =
      "The file 'dir\\a&b.txt' already exists.  Do you want to overwrite it? [Y]es / [N]o / "
      "Y[e]s To All / [A]bort: ";
  EXPECT_EQ(s.Written(), question + question) << "an unknown answer asks again";
}

// Without a terminal, what is not answered is kept, named and counted; the
// options answer without a question, and only --no-overwrite's keeps are named.
TEST(ConsolePrompt, KeepsWhatNobodyAnswersAndTheOptionsAnswerWithoutAsking) {
  using kivo::console::Overwrite;
  struct Case {
    Overwrite policy;
    std::string input;
    int answer;
    unsigned unanswered;
    int questions;      // how often the question was shown
    std::string after;  // what follows the questions
  };
  const std::string kept = "kivounpack: kept the existing file dir\\a&b.txt\n";
  const Case cases[] = {
      {Overwrite::kAsk, "", kivo::kAnswerNo, 1, 0, kept},
      {Overwrite::kAsk, "what\n", kivo::kAnswerNo, 1, 2, "\n" + kept},
      {Overwrite::kAsk, "n\n", kivo::kAnswerNo, 0, 1, ""},
      {Overwrite::kReplace, "", kivo::kAnswerYesToAll, 0, 0, ""},
      {Overwrite::kReplace, "a\n", kivo::kAnswerYesToAll, 0, 0, ""},
      {Overwrite::kKeep, "y\n", kivo::kAnswerNo, 0, 0, kept},
  };
  const std::string question =
      "The file 'dir\\a&b.txt' already exists.  Do you want to overwrite it? [Y]es / [N]o / "
      "Y[e]s To All / [A]bort: ";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input + " policy " + std::to_string(static_cast<int>(c.policy)));
    Streams s(c.input);
    platform::console::TerminalBoxes boxes(s.in, s.out, kivo::console::MessageBoxStyle());
    kivo::Messages messages(boxes, kivo::CompiledStrings());
    kivo::console::ConsolePrompt prompt(messages, s.in, s.out, nullptr, c.policy);
    EXPECT_EQ(prompt.Ask("dir\\a&b.txt"), c.answer);
    EXPECT_EQ(prompt.unanswered(), c.unanswered);
    std::string expected;
    for (int i = 0; i < c.questions; ++i) expected += question;
    EXPECT_EQ(s.Written(), expected + c.after);
  }
}

TEST(ConsoleOptions, ReadsTheStubsLettersAndTheLongOptions) {
  using Action = kivo::console::ConsoleOptions::Action;
  using kivo::console::Overwrite;
  struct Case {
    std::vector<std::string> args;
    Action action;
    Overwrite overwrite;
    std::string target, archive;
    unsigned codePage;
  };
  const Case cases[] = {
      {{}, Action::kExtract, Overwrite::kAsk, "", "", 1252},
      {{"-d", "out dir", "-fkit.arc"}, Action::kExtract, Overwrite::kAsk, "out dir", "kit.arc", 1252},
      {{"-dout", "-f", "-kit"}, Action::kExtract, Overwrite::kAsk, "out", "-kit", 1252},
      {{"--yes", "--codepage", "1251"}, Action::kExtract, Overwrite::kReplace, "", "", 1251},
      {{"--no-overwrite", "--no-overwrite"}, Action::kExtract, Overwrite::kKeep, "", "", 1252},
      {{"--list", "--check"}, Action::kList, Overwrite::kAsk, "", "", 1252},
      {{"--check", "--list"}, Action::kList, Overwrite::kAsk, "", "", 1252},
      {{"--check", "-d", "x"}, Action::kCheck, Overwrite::kAsk, "x", "", 1252},
      {{"--version", "--bogus"}, Action::kVersion, Overwrite::kAsk, "", "", 1252},
      {{"-d", "x", "-h"}, Action::kHelp, Overwrite::kAsk, "x", "", 1252},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    kivo::console::ConsoleOptions o;
    std::string error;
    ASSERT_TRUE(kivo::console::ParseConsoleArguments(c.args, &o, &error)) << error;
    EXPECT_EQ(o.action, c.action);
    EXPECT_EQ(o.overwrite, c.overwrite);
    EXPECT_EQ(o.target, c.target);
    EXPECT_EQ(o.archive, c.archive);
    EXPECT_EQ(o.codePage, c.codePage);
  }
}

TEST(ConsoleOptions, RefusesWithOneLineWhatItCannotUse) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"-d"}, "-d needs a folder"},
      {{"-d", ""}, "-d needs a folder"},
      {{"-f"}, "-f needs a file"},
      {{"-d" + std::string(260, 'x')}, "the folder after -d is longer than 259 characters"},
      {{"-f", std::string(260, 'x')}, "the file after -f is longer than 259 characters"},
      {{"--yes", "--no-overwrite"}, "--yes and --no-overwrite exclude each other"},
      {{"--codepage"}, "--codepage needs a value"},
      {{"--codepage", "12x"}, "not a code page number: 12x"},
      {{"-x"}, "unknown option -x (kivounpack --help lists the options)"},
      {{"--bogus", "--help"}, "unknown option --bogus (kivounpack --help lists the options)"},
      {{"out"}, "unexpected argument out (the folder comes after -d, the kit's file after -f)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    kivo::console::ConsoleOptions o;
    std::string error;
    EXPECT_FALSE(kivo::console::ParseConsoleArguments(c.args, &o, &error));
    EXPECT_EQ(error, c.error);
  }
  // A path of the most the engine holds is taken whole.
  kivo::console::ConsoleOptions o;
  std::string error;
  EXPECT_TRUE(kivo::console::ParseConsoleArguments({"-d" + std::string(259, 'x')}, &o, &error)) << error;
  EXPECT_EQ(o.target.size(), 259u);
}

// Nothing was started: this process has no child at all, running or ended
// (an ended one stays until it is waited for), so nobody has to wait for a
// program that should not run.
void ExpectNoChildStarted() {
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

// A Windows program is named, whatever it holds, and not started (that any
// other program is started, the packed kits' test shows).
TEST(ConsoleLauncher, NamesAWindowsProgramInsteadOfStartingIt) {
  tests::TempDir dir;
  const std::string folder = dir.path();
  const std::string script = "#!/bin/sh\ntouch \"$0.ran\"\n";
  tests::WriteFile(folder + "/SETUP.EXE", script);  // runnable here, but named as Windows's
  tests::WriteFile(folder + "/setup", "MZ" + script.substr(2));
  for (const char* program : {"SETUP.EXE", "setup"}) {
    SCOPED_TRACE(program);
    Streams s("");
    kivo::console::ConsoleLauncher launcher(nullptr, s.out);
    EXPECT_TRUE(launcher.Start(program, folder.c_str()));
    EXPECT_EQ(s.Written(), "The kit's program is " + folder + "/" + program +
                               ", a Windows program; it is not started on Linux.\n");
  }
  kivo::console::ConsoleLauncher launcher;
  EXPECT_FALSE(launcher.Start("missing.exe", folder.c_str())) << "a program that is not there is not started";
  ExpectNoChildStarted();
}

// Only a program inside the target folder is started (not one in a folder
// beside it whose name merely begins the same), and none while files were
// kept that nobody was asked about (it may be the old one).
TEST(ConsoleLauncher, StartsNothingOutsideTheFolderOrWhileHeld) {
  tests::TempDir dir;
  const std::string root = dir.path();
  std::filesystem::create_directories(root + "/target");
  std::filesystem::create_directories(root + "/target-evil");
  const std::string script = "#!/bin/sh\ntouch \"$0.ran\"\n";
  tests::WriteFile(root + "/outside.sh", script);
  tests::WriteFile(root + "/target-evil/prog", script);
  tests::WriteFile(root + "/target/inside.sh", script);
  const std::string target = root + "/target";
  for (std::string program : {std::string("..\\outside.sh"), root + "/outside.sh", std::string("../target-evil/prog"),
                              std::string("..\\target-evil\\prog"), root + "/target-evil/prog"}) {
    SCOPED_TRACE(program);
    kivo::console::ConsoleLauncher launcher;
    EXPECT_FALSE(launcher.Start(program.c_str(), target.c_str()));
  }
  Streams s("");
  kivo::console::ConsoleLauncher held(nullptr, s.out, [] { return true; });
  EXPECT_TRUE(held.Start("inside.sh", target.c_str()));
  EXPECT_EQ(s.Written(), "The kit's program " + target +
                             "/inside.sh is not started: existing files were kept that nobody was asked about.\n");
  ExpectNoChildStarted();
}

TEST(ConsoleMessageBoxes, WritesCaptionAndTextAndDoesNotWaitWithoutATerminal) {
  Streams s("");
  platform::console::TerminalBoxes boxes(s.in, s.out, kivo::console::MessageBoxStyle());
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  messages.ShowMessage(kivo::IDS_USER_ABORT);
  EXPECT_EQ(s.Written(), "Tandrel: File extraction terminated at user's request.\n");
}

platform::posix::CodePage Page(unsigned number) {
  platform::posix::CodePage page;
  std::string error;
  EXPECT_TRUE(page.Load(number, &error)) << error;
  return page;
}

TEST(HostText, ConvertsTheArchivesTextAndKeepsTheHostsFoldersAsTheyAre) {
  platform::posix::CodePage page = Page(1252);
  platform::console::HostText text(&page);
  // A folder the code page could not even hold, and one it could hold
  // differently: neither may be touched.
  text.KeepAsIs("/home/\xE6\xBC\xA2");
  text.KeepAsIs("/srv/caf\xC3\xA9");
  EXPECT_EQ(text.ToHost("/home/\xE6\xBC\xA2\\Caf\xE9 Menu.txt"), "/home/\xE6\xBC\xA2\\Caf\xC3\xA9 Menu.txt");
  EXPECT_EQ(text.ToHost("/srv/caf\xC3\xA9\\Gr\xF6\xDF" "e.dat"), "/srv/caf\xC3\xA9\\Gr\xC3\xB6\xC3\x9F" "e.dat");
  EXPECT_EQ(text.ToHost("Unable to create the directory: /srv/caf\xC3\xA9\\\xDC" "bersicht, ..."),
            "Unable to create the directory: /srv/caf\xC3\xA9\\\xC3\x9C" "bersicht, ...");
  EXPECT_EQ(platform::console::HostText().ToHost("Caf\xE9"), "Caf\xE9") << "no code page: as it is";
}

TEST(HostText, TheFileSystemGetsHostPathsAndTheQuestionHostText) {
  platform::posix::CodePage page = Page(1251);
  platform::console::HostText text(&page);
  tests::TempDir dir;
  text.KeepAsIs(dir.path().c_str());
  platform::console::HostPathFileSystem files(platform::DefaultFileSystem(), text);
  std::string folder = dir.Join("\xCE\xF2\xF7\xB8\xF2");  // Отчёт
  ASSERT_TRUE(files.MakeDirectory(folder.c_str()));
  platform::FileHandle h = 0;
  ASSERT_TRUE(files.Open((folder + "\\\xC6\xF3\xEA.txt").c_str(), platform::OpenMode::kCreateNew, &h));
  EXPECT_TRUE(files.Close(h));
  EXPECT_TRUE(tests::Exists(dir.Join("Отчёт\\Жук.txt")));
  std::uint32_t attributes = 0;
  EXPECT_TRUE(files.GetAttributes((folder + "\\\xC6\xF3\xEA.txt").c_str(), &attributes));
  EXPECT_TRUE(files.Remove((folder + "\\\xC6\xF3\xEA.txt").c_str()));
  EXPECT_FALSE(tests::Exists(dir.Join("Отчёт\\Жук.txt")));

  Streams s("n\n");
  platform::console::TerminalBoxes boxes(s.in, s.out, kivo::console::MessageBoxStyle(&text));
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  kivo::console::ConsolePrompt prompt(messages, s.in, s.out, &text);
  EXPECT_EQ(prompt.Ask("\xCE\xF2\xF7\xB8\xF2\\\xC6\xF3\xEA.txt"), kivo::kAnswerNo);
  EXPECT_EQ(s.Written(),
            "The file 'Отчёт\\Жук.txt' already exists.  Do you want to overwrite it? [Y]es / [N]o / "
            "Y[e]s To All / [A]bort: ");
}

}  // namespace
