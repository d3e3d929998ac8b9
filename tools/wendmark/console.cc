#include "tools/wendmark/console.h"

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/resources/strings.h"

namespace wendmark::console {

namespace ui = platform::ui;

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
    if (!confirmStop_ || Ask(platform::LoadText(strings_, IDS_CONFIRM_CANCEL).c_str(),
                             platform::LoadText(strings_, IDS_PROGRESS_CAPTION).c_str(),
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
