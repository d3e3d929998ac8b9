// The console as the engine's window: the bar follows a disk's bytes across
// its files, each message is followed by the host's words when a host error
// stands behind it (and by nothing else), Ctrl-C asks before it stops, and
// the terminal's answers are read as the help says.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/unit/builder/builder_world.h"
#include "tools/wendmark/console.h"
#include "tools/wendmark/host_reasons.h"

namespace {

namespace ui = platform::ui;
using tests::Bytes;
using tests::Op;
using wendmark::console::ConsoleProgress;

std::string Drain(std::FILE* f) {
  std::rewind(f);
  std::string text;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) text += static_cast<char>(c);
  return text;
}

// Records each box with the reason that came with it; answers from a script,
// then with the button that stops.
class ScriptedBoxes final : public platform::console::ConsoleBoxes {
 public:
  int Ask(const char* text, const char*, std::uint32_t style, const std::string& reason) override {
    texts.push_back(text);
    reasons.push_back(reason);
    if (answers.empty()) return platform::console::StoppingAnswer(style);
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> texts, reasons;
  std::deque<int> answers;
};

// One disk of the builder world, copied by the engine with the console as
// its window and the reason recorder under it. Drives C: and A: stand for
// host folders, so that reasons name host paths.
struct ConsoleWorld {
  explicit ConsoleWorld(const std::map<std::string, std::string>& images, std::vector<std::string> entries) {
    setenv("TANDREL_DRIVES", "A=/floppy;C=/c", 1);
    for (const auto& [name, data] : images) w.fs.AddFile("C:\\images\\" + name, data);
    w.AddDisk(entries);
    for (const std::string& e : entries) {
      auto found = images.find(e);
      plan.emplace_back(e, found == images.end() ? 0 : found->second.size());
    }
    builder.AttachProgress(&console);
    builder.UseCopyBuffer(&w.buffer);
  }
  ~ConsoleWorld() {
    unsetenv("TANDREL_DRIVES");
    std::fclose(bar);
  }

  bool Copy() {
    wendmark::DriveRecord drive;
    EXPECT_TRUE(w.driveList.GetChosen(&drive));
    console.PlanDisk(plan);
    console.SetDiskTitle("Disk 1 - Sample Suite");
    return builder.CopyDisk(drive, w.packages.disks[0]);
  }

  // The bar's overall share and its file, each time it was drawn for a file.
  std::vector<std::pair<int, std::string>> Shares() {
    std::vector<std::pair<int, std::string>> shares;
    std::string drawn = Drain(bar);
    static const std::regex kLine(R"(\]\s+(\d+)%  (\S+)\x1b)");
    for (std::sregex_iterator it(drawn.begin(), drawn.end(), kLine), end; it != end; ++it)
      shares.emplace_back(std::stoi((*it)[1]), (*it)[2]);
    return shares;
  }

  tests::BuilderWorld w;
  ConsoleProgress::Plan plan;
  ScriptedBoxes boxes;
  platform::console::HostText plain;
  std::FILE* bar = std::tmpfile();
  volatile std::sig_atomic_t stop = 0;
  wendmark::HostReasons reasons;
  wendmark::ReasonRecorder recorder{w.log, reasons};
  ConsoleProgress console{boxes, bar, true, plain, wendmark::CompiledStrings(), &stop, &reasons};
  wendmark::DiskBuilder builder{&w.packages, &w.driveList, {recorder, w.drives, wendmark::CompiledStrings(), w.memory}};
};

TEST(ConsoleProgress, TheBarFollowsTheDisksBytesAcrossItsFiles) {
  struct Case {
    const char* what;
    std::vector<std::string> entries;
    std::function<void(ConsoleWorld&)> setUp;
    std::deque<int> answers;
    std::string laterFile;  // the share is checked where that file's copy begins
    int laterShare;
    int falls;  // how often the share may go back (a file copied again)
  };
  const std::map<std::string, std::string> images{
      {"big.bin", Bytes(70000)}, {"dup.bin", Bytes(40000, 'd')}, {"next.bin", Bytes(70000, 'n')}, {"last.bin", "5char"}};
  const Case cases[] = {
      // 150,005 bytes in all: each copy of the repeated entry counts, the
      // skipped file counts nothing, and the last file begins at 150,000.
      {"a repeated entry and a skipped file", {"big.bin", "dup.bin", "dup.bin", "gone.txt", "last.bin"},
       [](ConsoleWorld&) {}, {ui::kIdIgnore}, "last.bin", 99, 0},
      // The first file's close fails and Retry copies it again: its bytes
      // count once, so the next file begins half way.
      {"a file copied again", {"big.bin", "next.bin"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 1, .code = 31, .kinds = std::uint32_t(Op::kClose)}); },
       {ui::kIdRetry}, "next.bin", 50, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConsoleWorld world(images, c.entries);
    c.setUp(world);
    world.boxes.answers = c.answers;
    ASSERT_TRUE(world.Copy());
    auto shares = world.Shares();
    ASSERT_FALSE(shares.empty());
    EXPECT_EQ(shares.back().first, 100);
    int falls = 0;
    for (std::size_t i = 1; i < shares.size(); ++i) falls += shares[i].first < shares[i - 1].first;
    EXPECT_EQ(falls, c.falls);
    // The file before ends where the later one begins.
    std::size_t later = 0;
    while (later < shares.size() && shares[later].second != c.laterFile) ++later;
    ASSERT_TRUE(later > 0 && later < shares.size());
    EXPECT_EQ(shares[later - 1].first, c.laterShare);
    EXPECT_EQ(shares[later].first, c.laterShare);
  }
}

TEST(ConsoleProgress, AMessageIsFollowedByTheHostsWordsOnlyWhenAHostErrorIsBehindIt) {
  struct Case {
    const char* what;
    std::vector<std::string> entries;
    std::function<void(ConsoleWorld&)> setUp;
    const char* text;
    std::string reason;
  };
  const std::map<std::string, std::string> images{{"a.bin", Bytes(40000)}};
  const Case cases[] = {
      {"a source that cannot be opened", {"a.bin"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 1, .code = 5, .kinds = std::uint32_t(Op::kOpen)}); },
       tests::kSourceUnreadable, "/c/images/a.bin: Permission denied"},
      {"a missing source, after a source whose close failed unreported", {"a.bin", "gone.txt"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 2, .code = 5, .kinds = std::uint32_t(Op::kClose)}); },
       tests::kSourceMissing, "/c/images/gone.txt: No such file or directory"},
      {"a file that cannot be created", {"a.bin"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 2, .code = 5, .kinds = std::uint32_t(Op::kOpen)}); },
       tests::kCannotCreate, "/floppy/a.bin: Permission denied"},
      {"a write that finds the disk full", {"a.bin"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 2, .code = 112, .kinds = std::uint32_t(Op::kWrite)}); },
       tests::kDiskFull, "/floppy/a.bin: No space left on device"},
      {"the written file's close", {"a.bin"},
       [](ConsoleWorld& c) { c.w.faults.SetFault({.at = 1, .code = 112, .kinds = std::uint32_t(Op::kClose)}); },
       tests::kDiskFull, "/floppy/a.bin: No space left on device"},
      // The partial file that cannot be removed is not what stopped the copy.
      {"a read, and then the removal of the partial file", {"a.bin"},
       [](ConsoleWorld& c) {
         c.w.faults.SetFault({.at = 1, .code = 5, .persistent = true, .kinds = Op::kRead | Op::kRemove});
       },
       tests::kReadError, "/c/images/a.bin: Permission denied"},
      {"a source shorter than measured", {"a.bin"}, [](ConsoleWorld& c) { c.w.faults.SetSizeSurplus(10); },
       tests::kReadError, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConsoleWorld world(images, c.entries);
    c.setUp(world);
    EXPECT_FALSE(world.Copy());
    ASSERT_EQ(world.boxes.texts.size(), 1u);
    EXPECT_EQ(world.boxes.texts[0].rfind(c.text, 0), 0u) << world.boxes.texts[0];
    EXPECT_EQ(world.boxes.reasons[0], c.reason);
  }
}

TEST(ConsoleProgress, CtrlCStopsAtTheNextChunkAfterTheQuestionOnATerminal) {
  struct Case {
    const char* what;
    bool confirm;
    std::deque<int> answers;
    bool copied;
    std::size_t asked;
  };
  const Case cases[] = {
      {"asked, Yes", true, {ui::kIdYes}, false, 1},
      {"asked, No", true, {ui::kIdNo}, true, 1},
      {"nobody to ask", false, {}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConsoleWorld world({{"big.bin", Bytes(70000)}}, {"big.bin"});
    ConsoleProgress console(world.boxes, nullptr, c.confirm, world.plain, wendmark::CompiledStrings(), &world.stop);
    world.builder.AttachProgress(&console);
    world.boxes.answers = c.answers;
    world.stop = 1;
    EXPECT_EQ(world.Copy(), c.copied);
    EXPECT_EQ(console.stopped(), !c.copied);
    EXPECT_EQ(world.stop, 0) << "the request is taken";
    ASSERT_EQ(world.boxes.texts.size(), c.asked);
    if (c.asked > 0) {
      EXPECT_EQ(world.boxes.texts[0], tests::kConfirmCancel);
    }
    EXPECT_EQ(world.w.fs.Exists("A:\\big.bin"), c.copied);
    EXPECT_EQ(world.w.Writes().size(), c.copied ? 3u : 1u) << "stopped after the first chunk";
  }
}

TEST(TerminalBoxes, ReadTheAnswerTypedAndAskAgainForAnythingElse) {
  struct Case {
    std::uint32_t buttons;
    const char* typed;
    int answer;
    int asked;  // how often the buttons were offered
  };
  const Case cases[] = {
      {ui::kAbortRetryIgnore, "\n", ui::kIdAbort, 1},        // an empty line: the first button
      {ui::kAbortRetryIgnore, "  Retry\n", ui::kIdRetry, 1},
      {ui::kAbortRetryIgnore, "x\ni\n", ui::kIdIgnore, 2},   // not a button: asked again
      {ui::kAbortRetryIgnore, "", ui::kIdAbort, 1},          // end of input: the one that stops
      {ui::kAbortRetryIgnore, "r", ui::kIdRetry, 1},         // a last line without its end
      {ui::kOkCancel, "", ui::kIdCancel, 1},
      {ui::kOkCancel, "o\n", ui::kIdOk, 1},
      {ui::kYesNo, "n\n", ui::kIdNo, 1},
      {ui::kYesNo, "", ui::kIdYes, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fputs(c.typed, in);
    std::rewind(in);
    platform::console::TerminalBoxes boxes(in, out, {.reply = platform::console::TerminalBoxes::Reply::kAsk});
    EXPECT_EQ(boxes.Ask("It failed.", "Caption", c.buttons, "/x/y: Permission denied"), c.answer);
    std::string said = Drain(out);
    EXPECT_EQ(said.rfind("Caption: It failed.\n/x/y: Permission denied\n[", 0), 0u) << said;
    const std::string first = c.buttons == ui::kAbortRetryIgnore ? "[A]bort" : c.buttons == ui::kOkCancel ? "[O]K" : "[Y]es";
    int asked = 0;
    for (std::size_t at = said.find(first); at != std::string::npos; at = said.find(first, at + 1)) ++asked;
    EXPECT_EQ(asked, c.asked) << said;
    std::fclose(in);
    std::fclose(out);
  }
}

}  // namespace
