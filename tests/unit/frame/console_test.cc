// The console front end's questions and messages, over in-memory streams.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/posix/code_page.h"
#include "tests/support/temp_dir.h"
#include "unpack/frame/console/console_ui.h"
#include "unpack/frame/console/host_text.h"
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
    kivo::console::ConsoleMessageBoxes boxes(s.in, s.out);
    kivo::Messages messages(boxes, kivo::CompiledStrings());
    kivo::console::ConsolePrompt prompt(messages, s.in, s.out);
    EXPECT_EQ(prompt.Ask("dir\\a&b.txt"), c.answer) << c.input;
  }
  Streams s("x\ny\n");
  kivo::console::ConsoleMessageBoxes boxes(s.in, s.out);
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  kivo::console::ConsolePrompt prompt(messages, s.in, s.out);
  prompt.Ask("dir\\a&b.txt");
  const std::string question =
      "The file 'dir\\a&b.txt' already exists.  Do you want to overwrite it? [Y]es / [N]o / "
      "Y[e]s To All / [A]bort: ";
  EXPECT_EQ(s.Written(), question + question) << "an unknown answer asks again";
}

TEST(ConsoleMessageBoxes, WritesCaptionAndTextAndDoesNotWaitWithoutATerminal) {
  Streams s("");
  kivo::console::ConsoleMessageBoxes boxes(s.in, s.out);
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
  kivo::console::HostText text(&page);
  // A folder the code page could not even hold, and one it could hold
  // differently: neither may be touched.
  text.KeepAsIs("/home/\xE6\xBC\xA2");
  text.KeepAsIs("/srv/caf\xC3\xA9");
  EXPECT_EQ(text.ToHost("/home/\xE6\xBC\xA2\\Caf\xE9 Menu.txt"), "/home/\xE6\xBC\xA2\\Caf\xC3\xA9 Menu.txt");
  EXPECT_EQ(text.ToHost("/srv/caf\xC3\xA9\\Gr\xF6\xDF" "e.dat"), "/srv/caf\xC3\xA9\\Gr\xC3\xB6\xC3\x9F" "e.dat");
  EXPECT_EQ(text.ToHost("Unable to create the directory: /srv/caf\xC3\xA9\\\xDC" "bersicht, ..."),
            "Unable to create the directory: /srv/caf\xC3\xA9\\\xC3\x9C" "bersicht, ...");
  EXPECT_EQ(kivo::console::HostText().ToHost("Caf\xE9"), "Caf\xE9") << "no code page: as it is";
}

TEST(HostText, TheFileSystemGetsHostPathsAndTheQuestionHostText) {
  platform::posix::CodePage page = Page(1251);
  kivo::console::HostText text(&page);
  tests::TempDir dir;
  text.KeepAsIs(dir.path().c_str());
  kivo::console::HostPathFileSystem files(platform::DefaultFileSystem(), text);
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
  kivo::console::ConsoleMessageBoxes boxes(s.in, s.out, &text);
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  kivo::console::ConsolePrompt prompt(messages, s.in, s.out, &text);
  EXPECT_EQ(prompt.Ask("\xCE\xF2\xF7\xB8\xF2\\\xC6\xF3\xEA.txt"), kivo::kAnswerNo);
  EXPECT_EQ(s.Written(),
            "The file 'Отчёт\\Жук.txt' already exists.  Do you want to overwrite it? [Y]es / [N]o / "
            "Y[e]s To All / [A]bort: ");
}

}  // namespace
