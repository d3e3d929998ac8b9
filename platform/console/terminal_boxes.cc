#include "platform/console/terminal_boxes.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform::console {
namespace {

namespace ui = platform::ui;

struct Button {
  char key;
  const char* label;
  int id;
};

// The buttons of a set, the default first, as MessageBox shows them.
std::vector<Button> ButtonsOf(std::uint32_t style) {
  switch (style & ui::kButtonMask) {
    case ui::kOkCancel: return {{'o', "[O]K", ui::kIdOk}, {'c', "[C]ancel", ui::kIdCancel}};
    case ui::kAbortRetryIgnore:
      return {{'a', "[A]bort", ui::kIdAbort}, {'r', "[R]etry", ui::kIdRetry}, {'i', "[I]gnore", ui::kIdIgnore}};
    case ui::kYesNo: return {{'y', "[Y]es", ui::kIdYes}, {'n', "[N]o", ui::kIdNo}};
    default: return {{'o', "[O]K", ui::kIdOk}};
  }
}

// The first letter of the answer typed, lower case; ' ' for an empty line
// (the default button), 0 at the end of input.
char ReadAnswer(std::FILE* in) {
  std::string line;
  for (int c = std::fgetc(in); c != '\n'; c = std::fgetc(in)) {
    if (c == EOF) {
      std::clearerr(in);
      if (line.empty()) return 0;
      break;
    }
    line += static_cast<char>(c);
  }
  std::size_t first = line.find_first_not_of(" \t\r");
  return first == std::string::npos ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(line[first])));
}

// The part of a text that says what went wrong, on one line.
std::string FirstParagraph(const char* text) {
  std::string said = text;
  std::size_t blank = said.find("\n\n");
  if (blank != std::string::npos && blank > 0) said.resize(blank);
  std::replace(said.begin(), said.end(), '\n', ' ');
  return said;
}

}  // namespace

int StoppingAnswer(std::uint32_t style) {
  switch (style & ui::kButtonMask) {
    case ui::kOkCancel: return ui::kIdCancel;
    case ui::kAbortRetryIgnore: return ui::kIdAbort;
    case ui::kYesNo: return ui::kIdYes;
    default: return ui::kIdOk;
  }
}

int TerminalBoxes::Show(const char* text, const char* caption, std::uint32_t style) {
  return Ask(text, caption, style, reason_ ? reason_() : std::string());
}

int TerminalBoxes::Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) {
  if (quiet_ && quiet_()) return Unasked(style);
  std::string shown = options_.reply == Reply::kStop ? FirstParagraph(text) : std::string(text);
  shown = ToHost(options_.host, shown.c_str());
  if (options_.slashes) std::replace(shown.begin(), shown.end(), '\\', '/');
  std::fprintf(out_, "%s: %s\n", ToHost(options_.host, caption).c_str(), shown.c_str());
  if (!reason.empty()) std::fprintf(out_, "%s%s\n", options_.reasonPrefix, reason.c_str());
  std::fflush(out_);
  switch (options_.reply) {
    case Reply::kAcknowledge:
      if (isatty(fileno(in_))) {
        int c;
        while ((c = std::fgetc(in_)) != EOF && c != '\n') {
        }
      }
      return ui::kIdOk;
    case Reply::kAsk: return AskButtons(style);
    case Reply::kStop: break;
  }
  return StoppingAnswer(style);
}

int TerminalBoxes::Unasked(std::uint32_t style) const {
  return options_.reply == Reply::kAcknowledge ? ui::kIdOk : StoppingAnswer(style);
}

int TerminalBoxes::AskButtons(std::uint32_t style) {
  std::vector<Button> buttons = ButtonsOf(style);
  for (;;) {
    for (std::size_t i = 0; i < buttons.size(); ++i) std::fprintf(out_, "%s%s", i ? " / " : "", buttons[i].label);
    std::fputs(": ", out_);
    std::fflush(out_);
    char key = ReadAnswer(in_);
    if (key == 0) {
      std::fputc('\n', out_);
      return StoppingAnswer(style);
    }
    if (key == ' ') return buttons.front().id;
    for (const Button& b : buttons) {
      if (b.key == key) return b.id;
    }
  }
}

}  // namespace platform::console
