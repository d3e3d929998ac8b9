// The console front end's questions and messages, over in-memory streams.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

}  // namespace
