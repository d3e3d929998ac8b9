#include "tools/wendmark/console.h"

#include <cctype>
#include <vector>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/resources/strings.h"
#include "platform/bounded_string.h"

namespace wendmark::console {
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

std::string Load(const platform::StringTable& strings, std::uint32_t id) {
  platform::TextBuffer text;
  strings.Load(id, text.data(), text.capacity());
  text.Sync();
  return text.c_str();
}

}  // namespace

int StoppingAnswer(std::uint32_t style) {
  switch (style & ui::kButtonMask) {
    case ui::kOkCancel: return ui::kIdCancel;
    case ui::kAbortRetryIgnore: return ui::kIdAbort;
    case ui::kYesNo: return ui::kIdYes;  // the one such box asks whether to stop
    default: return ui::kIdOk;
  }
}

namespace {

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

}  // namespace

int TerminalBoxes::Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) {
  std::vector<Button> buttons = ButtonsOf(style);
  std::fprintf(out_, "%s: %s\n", text_.ToHost(caption).c_str(), text_.ToHost(text).c_str());
  if (!reason.empty()) std::fprintf(out_, "%s\n", reason.c_str());
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

int StopBoxes::Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) {
  std::string said = text;
  std::size_t blank = said.find("\n\n");
  if (blank != std::string::npos && blank > 0) said.resize(blank);
  for (char& c : said) {
    if (c == '\n') c = ' ';
  }
  std::fprintf(out_, "%s: %s\n", text_.ToHost(caption).c_str(), text_.ToHost(said.c_str()).c_str());
  if (!reason.empty()) std::fprintf(out_, "%s\n", reason.c_str());
  std::fflush(out_);
  return StoppingAnswer(style);
}

std::string BarLine(const std::string& title, int percent, const std::string& file, std::size_t width) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  constexpr int kCells = 20;
  int filled = percent * kCells / 100;
  std::string line = title + "  [" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kCells - filled), '-') + "] ";
  std::string number = std::to_string(percent) + "%";
  line += std::string(4 - number.size(), ' ') + number;
  if (!file.empty()) line += "  " + file;
  if (line.size() > width) line.resize(width);
  return line;
}

void ConsoleProgress::PlanDisk(Plan plan) {
  plan_ = std::move(plan);
  total_ = 0;
  for (const auto& item : plan_) total_ += item.second;
  next_ = 0;
  base_ = size_ = 0;
  started_.clear();
  copying_ = retry_ = false;
}

void ConsoleProgress::SetDiskTitle(const char* title) {
  BreakLine();
  title_ = text_.ToHost(title);
  lastShown_ = -1;
  Draw("", 0);
}

void ConsoleProgress::PromptForDisk(const char*, const DriveRecord&) {
  // Every image begins as a blank, formatted floppy: nothing to insert.
}

void ConsoleProgress::StartCopy(const std::string& entry) {
  bool again = retry_ && entry == started_;
  retry_ = false;
  started_ = entry;
  if (again) return;  // the same file from its start: its bytes do not count twice
  // A file skipped before its copy began is behind the bar all the same.
  std::uint64_t base = 0;
  for (std::size_t i = 0; i < plan_.size(); ++i) {
    if (i >= next_ && plan_[i].first == entry) {
      base_ = base;
      size_ = plan_[i].second;
      next_ = i + 1;
      return;
    }
    base += plan_[i].second;
  }
  // Not in the plan (it could not be measured): it moves the bar no further.
  size_ = 0;
}

bool ConsoleProgress::PumpMessages(const char* entry, int percent) {
  // Whatever failed before went by without a message of its own.
  if (reasons_ != nullptr) reasons_->Clear();
  if (!copying_ || entry != started_) StartCopy(entry);
  copying_ = percent < 100;
  std::uint64_t at = base_ + size_ * static_cast<std::uint64_t>(percent < 0 ? 0 : percent) / 100;
  Draw(entry, total_ == 0 ? percent : static_cast<int>(at * 100 / total_));
  if (*stopRequested_ != 0 && !stopped_) {
    *stopRequested_ = 0;
    if (!confirmStop_ || Ask(Load(strings_, IDS_CONFIRM_CANCEL).c_str(), Load(strings_, IDS_PROGRESS_CAPTION).c_str(),
                             ui::kYesNo | ui::kIconExclamation, {}) == ui::kIdYes)
      stopped_ = true;
  }
  return !stopped_;
}

int ConsoleProgress::Show(const char* text, const char* caption, std::uint32_t style) {
  int answer = Ask(text, caption, style, reasons_ != nullptr ? reasons_->Take() : std::string());
  copying_ = false;
  retry_ = answer == ui::kIdRetry;
  return answer;
}

int ConsoleProgress::Ask(const char* text, const char* caption, std::uint32_t style, const std::string& reason) {
  BreakLine();
  lastShown_ = -1;
  return boxes_.Ask(text, caption, style, reason);
}

void ConsoleProgress::EndDisk() { BreakLine(); }

void ConsoleProgress::Draw(const char* entry, int percent) {
  if (bar_ == nullptr || (percent == lastShown_ && lastEntry_ == entry)) return;
  lastShown_ = percent;
  lastEntry_ = entry;
  std::fprintf(bar_, "\r%s\033[K", BarLine(title_, percent, text_.ToHost(FloppyName(entry)), 100).c_str());
  std::fflush(bar_);
  lineOpen_ = true;
}

void ConsoleProgress::BreakLine() {
  if (bar_ != nullptr && lineOpen_) std::fputc('\n', bar_);
  lineOpen_ = false;
}

}  // namespace wendmark::console
