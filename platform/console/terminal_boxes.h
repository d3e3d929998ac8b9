// Message boxes on a terminal. A box is told as "<caption>: <text>" on one
// stream, followed by the reason for it (what the host reported about the
// failure behind it) on a line of its own, and answered in one of three ways
// (see Reply). Tests stand in for the terminal with their own ConsoleBoxes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "platform/console/host_text.h"
#include "platform/ui.h"

namespace platform::console {

// A message box on the console, which can say after the text what the host
// reported about the failure behind it.
class ConsoleBoxes : public platform::ui::MessageBoxes {
 public:
  int Show(const char* text, const char* caption, std::uint32_t style) override { return Ask(text, caption, style, {}); }
  // As Show, with `reason` ("" for none) on a line of its own after the text.
  virtual int Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) = 0;
};

// The answer that stops for a button set: Cancel, Abort, and Yes to a Yes/No
// question (the console asks only whether to stop); OK for OK alone.
int StoppingAnswer(std::uint32_t style);

class TerminalBoxes final : public ConsoleBoxes {
 public:
  enum class Reply {
    // Every box is answered OK; on a terminal the program waits for Enter
    // first, so that the text is read before it goes on.
    kAcknowledge,
    // The box's buttons are offered by their initials, the default first:
    // "[A]bort / [R]etry / [I]gnore: ". An empty line is the default button,
    // end of input the one that stops (StoppingAnswer); anything else asks
    // again.
    kAsk,
    // Nobody can answer: the text up to its first blank line (what went
    // wrong, without the advice about buttons nobody can press) is told on
    // one line and answered with the button that stops.
    kStop,
  };
  struct Options {
    Reply reply = Reply::kAsk;
    const HostText* host = nullptr;  // into the host's encoding (null: as it is)
    bool slashes = false;            // backslashes shown as "/", for texts whose paths are the host's
    const char* reasonPrefix = "";   // put before the reason's line
  };

  TerminalBoxes(std::FILE* in, std::FILE* out, const Options& options) : in_(in), out_(out), options_(options) {}

  int Show(const char* text, const char* caption, std::uint32_t style) override;
  int Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) override;

  // Where Show takes the reason from ("" for none). It is taken even when
  // nothing is shown, so that it does not stay for the next box.
  void Explain(std::function<std::string()> reason) { reason_ = std::move(reason); }
  // While `quiet` says so, nothing is shown and nothing asked (a program
  // that is being interrupted reports by itself what it left, not the
  // failure the interruption caused).
  void QuietWhile(std::function<bool()> quiet) { quiet_ = std::move(quiet); }

 private:
  int Unasked(std::uint32_t style) const;
  int AskButtons(std::uint32_t style);

  std::FILE* in_;
  std::FILE* out_;
  Options options_;
  std::function<std::string()> reason_;
  std::function<bool()> quiet_;
};

}  // namespace platform::console
