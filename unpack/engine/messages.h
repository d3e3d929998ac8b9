// Everything the extractor says to the user: a warning box with an OK
// button, texts from the string table, and the error-code-to-message rules.
// The engine needs two things from the program around it: a message box
// (text and caption, waited for) and the overwrite question (OverwritePrompt
// below). The program supplies both, and the string table with the texts.
#pragma once

#include <cstdint>

#include "platform/bounded_string.h"
#include "platform/string_table.h"
#include "platform/ui.h"
#include "unpack/archive/reader.h"
#include "unpack/engine/message_ids.h"

namespace kivo {

// OK button and warning icon.
constexpr std::uint32_t kMessageStyle = platform::ui::kOk | platform::ui::kIconWarning;

// The answers of the "File Already Exists" question: the ids of its buttons.
enum OverwriteAnswer : int {
  kAnswerYes = 1,
  kAnswerNo = 2,
  kAnswerAbort = 3,
  kAnswerYesToAll = 5,
};

class OverwritePrompt {
 public:
  // Asks whether the existing file `name` (the entry's name as stored) may be
  // replaced; returns one of OverwriteAnswer, anything else when the question
  // could not be asked.
  virtual int Ask(const char* name) = 0;

 protected:
  ~OverwritePrompt() = default;
};

// The question of the overwrite prompt for `name` (string 12), as every
// front end shows it.
void FormatOverwriteQuestion(const platform::StringTable& strings, const char* name,
                             platform::BoundedString<512>* question);

// Why the message being shown is shown, for a front end that says so in its
// own words below it (the console does; the Windows program shows the
// message alone). Set just before the message is shown, and to be read
// while it is: `archive` lives no longer.
struct MessageCause {
  std::uint32_t hostError = 0;             // the failed call's code
  const ArchiveCheck* archive = nullptr;   // the kit that failed validation
};

class Messages {
 public:
  Messages(platform::ui::MessageBoxes& boxes, const platform::StringTable& strings)
      : boxes_(boxes), strings_(strings) {}

  void ShowMessage(std::uint32_t id);
  // The string is a format with one "%s", replaced by text.
  void ShowMessageWithText(std::uint32_t id, const char* text);
  // After a failed file creation, archive read or file write, with the error
  // the file layer reported: access denied, disk full, or the code in hex.
  void ReportFileError(std::uint32_t lastError);
  // After a failed directory creation.
  void ReportDirectoryError(std::uint32_t lastError, const char* path);

  // The cause of the next message, for a message that does not take it.
  void NoteHostError(std::uint32_t code) { cause_.hostError = code; }
  void NoteInvalidArchive(const ArchiveCheck* check) { cause_.archive = check; }
  // The cause of the message being shown (none when it had none), forgotten
  // once taken; for the message boxes to call while they show it.
  MessageCause TakeCause() {
    MessageCause cause = cause_;
    cause_ = MessageCause();
    return cause;
  }

  void FormatOverwriteQuestion(const char* name, platform::BoundedString<512>* question) const {
    kivo::FormatOverwriteQuestion(strings_, name, question);
  }

 private:
  void Show(const char* text);

  platform::ui::MessageBoxes& boxes_;
  const platform::StringTable& strings_;
  MessageCause cause_;
};

}  // namespace kivo
