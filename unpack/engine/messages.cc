#include "unpack/engine/messages.h"

#include "platform/types.h"
#include "unpack/engine/message_ids.h"

namespace kivo {
namespace {

// Texts are loaded into at most 511 characters, the caption into 127, the
// access error (string 7) into 255; formatted texts are cut to their buffer.
using MessageText = platform::BoundedString<512>;
using CaptionText = platform::BoundedString<128>;
using ErrorText = platform::BoundedString<256>;

template <std::uint32_t N>
void Load(const platform::StringTable& strings, std::uint32_t id, platform::BoundedString<N>* out) {
  strings.Load(id, out->data(), N);
  out->Sync();
}

bool IsDiskFull(std::uint32_t code) {
  return code == platform::error::kHandleDiskFull || code == platform::error::kDiskFull;
}

}  // namespace

void Messages::Show(const char* text) {
  CaptionText caption;
  Load(strings_, IDS_CAPTION, &caption);
  boxes_.Show(text, caption.c_str(), kMessageStyle);
}

void Messages::ShowMessage(std::uint32_t id) {
  MessageText text;
  Load(strings_, id, &text);
  Show(text.c_str());
}

void Messages::ShowMessageWithText(std::uint32_t id, const char* text) {
  MessageText format;
  Load(strings_, id, &format);
  MessageText message;
  message.Format(format.c_str(), text);
  Show(message.c_str());
}

void Messages::ReportFileError(std::uint32_t lastError) {
  NoteHostError(lastError);
  if (lastError == platform::error::kAccessDenied) {
    ShowMessage(IDS_CANNOT_WRITE);
  } else if (IsDiskFull(lastError)) {
    ShowMessage(IDS_DISK_FULL);
  } else {
    ErrorText format;
    Load(strings_, IDS_ACCESS_ERROR, &format);
    ErrorText message;
    message.Format(format.c_str(), static_cast<unsigned long>(lastError));
    Show(message.c_str());
  }
}

void Messages::ReportDirectoryError(std::uint32_t lastError, const char* path) {
  NoteHostError(lastError);
  if (lastError == platform::error::kPathNotFound || lastError == platform::error::kPathBusy) {
    ShowMessageWithText(IDS_PATH_UNUSABLE, path);
  } else if (IsDiskFull(lastError)) {
    ShowMessage(IDS_DIR_DISK_FULL);
  } else {
    ShowMessageWithText(IDS_DIR_FAILED, path);
  }
}

void FormatOverwriteQuestion(const platform::StringTable& strings, const char* name,
                             platform::BoundedString<512>* question) {
  MessageText format;
  Load(strings, IDS_OVERWRITE_QUESTION, &format);
  question->Format(format.c_str(), name);
}

}  // namespace kivo
