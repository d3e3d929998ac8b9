#include "unpack/engine/extractor.h"

#include "platform/text.h"
#include "platform/types.h"
#include "platform/windows_path.h"
#include "unpack/archive/reader.h"
#include "unpack/engine/message_ids.h"

namespace kivo {
namespace {

using platform::OpenMode;
namespace error = platform::error;

constexpr std::uint32_t kTempAttempts = 100;

bool IsExistsError(std::uint32_t code) {
  return code == error::kFileExists || code == error::kAlreadyExists;
}

// The length of the start two names share. A folder of `name` whose
// separator lies inside it is a folder of `before` as well.
std::uint32_t SharedStart(const char* before, const char* name) {
  std::uint32_t n = 0;
  while (name[n] != '\0' && name[n] == before[n]) ++n;
  return n;
}

}  // namespace

Extractor::~Extractor() {
  if (state_.copyBuffer != nullptr) s_.memory.Release(state_.copyBuffer);
}

bool Extractor::FileError(platform::Status failure) {
  s_.messages.ReportFileError(failure.code());
  return false;
}

// `check` is the cause of the message only while it is shown: it goes with
// the caller's frame.
bool Extractor::Invalid(const ArchiveCheck& check) {
  s_.messages.NoteInvalidArchive(&check);
  s_.messages.ShowMessage(IDS_NO_FILES);
  return false;
}

bool Extractor::Corrupt() {
  s_.messages.ShowMessage(IDS_CORRUPT);
  return false;
}

bool Extractor::JoinTarget(const char* name, platform::PathBuffer* path) const {
  return platform::path::JoinUnder(path, options_->targetDirectory.c_str(), name);
}

bool Extractor::ExtractArchive(const ExtractOptions& options) {
  status_ = ExtractStatus::kFailed;
  platform::File archive;
  if (!archive.Open(s_.files, options.archivePath.c_str(), OpenMode::kReadShared)) {
    status_ = ExtractStatus::kCannotOpen;
    s_.messages.ShowMessage(IDS_CANNOT_OPEN);
    return false;
  }
  options_ = &options;
  // The program name is copied out before the archive is closed, so that the
  // program starts only after the archive file has been let go.
  char program[kProgramField];
  program[0] = '\0';
  bool ok = Run(options, archive, program);
  (void)archive.Close();
  if (records_ != nullptr) {
    s_.memory.Release(records_);
    records_ = nullptr;
  }
  if (ok && program[0] != '\0' && !s_.launcher.Start(program, options.targetDirectory.c_str())) {
    s_.messages.ShowMessage(IDS_CANNOT_START);
    ok = false;
  }
  options_ = nullptr;
  if (ok) status_ = ExtractStatus::kComplete;
  return ok;
}

bool Extractor::Run(const ExtractOptions& options, platform::File& archive, char* program) {
  std::uint64_t size = 0;
  if (platform::Status measured = archive.GetSize(&size); !measured) return FileError(measured);
  // Offsets and the stored size are 32-bit: such a file cannot be a valid
  // archive, and scanning it would wrap around.
  ArchiveCheck check;
  if (size >= 0x100000000ull) {
    check.fault = ArchiveFault::kTooLarge;
    return Invalid(check);
  }
  if (!FindArchiveStart(archive)) {
    s_.messages.ShowMessage(IDS_NO_ARCHIVE);
    return false;
  }
  std::uint32_t offset = 0;
  if (platform::Status told = archive.Tell(&offset); !told) return FileError(told);
  std::uint8_t bytes[kHeaderSize];
  std::uint32_t got = 0;
  if (!ReadFully(archive, bytes, kHeaderSize, &got) || got != kHeaderSize) return Corrupt();
  if (!CheckArchive(archive, offset, &check)) return Invalid(check);
  ArchiveHeader header;
  DecodeHeader(bytes, &header);
  if (!HasTerminator(header.programName, kProgramField)) return Corrupt();

  // The header lies outside the checksum, so a changed count (or a size
  // changed and resealed) passes it: the table and the data it describes
  // must end exactly where the file ends. The file is below 4 GiB and holds
  // the header (validated), so all of this is 32-bit.
  std::uint32_t area = check.fileSize - offset - kHeaderSize;
  if (header.count > area / kEntrySize) {
    check.fault = ArchiveFault::kDataMismatch;
    return Invalid(check);
  }
  if (!ReadEntryTable(archive, &check, area - header.count * kEntrySize)) return false;

  // Entry files and folders are built from the target folder's text; making
  // it current as well gives the started program its working folder. If it
  // cannot be made current it cannot be used at all.
  if (platform::Status entered = s_.files.SetCurrentDir(options.targetDirectory.c_str()); !entered) {
    s_.messages.NoteHostError(entered.code());
    s_.messages.ShowMessageWithText(IDS_PATH_UNUSABLE, options.targetDirectory.c_str());
    return false;
  }

  // Every folder of every entry first, then every file. An archive lists a
  // folder's files together: the folders an entry shares with the one
  // before it were made or found for that one moments ago, and are not
  // looked at again.
  for (std::uint32_t i = 0; i < header.count; ++i) {
    platform::PathBuffer path;
    platform::path::AssignFolder(&path, options.targetDirectory.c_str());
    const char* name = records_[i].name;
    const char* made = name + (i == 0 ? 0 : SharedStart(records_[i - 1].name, name));
    if (!MakeEntryFolders(name, &path, made)) return false;
  }
  for (std::uint32_t i = 0; i < header.count; ++i) {
    if (!ExtractEntry(archive, records_[i])) return false;
  }
  platform::TextCopy(program, kProgramField, header.programName);
  return true;
}

// Reads and checks the whole table before anything is written, so that a
// hostile or damaged entry stops the extraction with the target untouched.
bool Extractor::ReadEntryTable(platform::File& archive, ArchiveCheck* check, std::uint32_t dataLeft) {
  const std::uint32_t count = check->count;
  std::uint64_t tableBytes = static_cast<std::uint64_t>(count) * sizeof(EntryRecord);
  if (tableBytes >= 0x100000000ull) {
    s_.messages.ShowMessage(IDS_NO_MEMORY);
    return false;
  }
  records_ = static_cast<EntryRecord*>(s_.memory.Allocate(static_cast<std::uint32_t>(tableBytes)));
  // The copy buffer is first needed here: the table is read through it, and
  // what it reads beyond the table is the first files' data.
  if (records_ != nullptr && state_.copyBuffer == nullptr) {
    state_.copyBuffer = static_cast<std::uint8_t*>(s_.memory.Allocate(kCopyBlock));
  }
  if (records_ == nullptr || state_.copyBuffer == nullptr) {
    s_.messages.ShowMessage(IDS_NO_MEMORY);
    return false;
  }
  input_.Start(&archive, state_.copyBuffer, kCopyBlock);
  bool over = false;  // a record claimed more than was left
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* bytes = nullptr;
    if (!Fetch(kEntrySize, &bytes)) return false;
    ArchiveEntry entry;
    DecodeEntry(bytes, &entry);
    // Every writer stores the size twice and a high size of 0; a record
    // that says otherwise was changed after it was written.
    std::uint32_t size, copy;  // compared as they lie: equality needs no byte order
    __builtin_memcpy(&size, bytes + 260, 4);
    __builtin_memcpy(&copy, bytes + 300, 4);
    if (entry.sizeHigh != 0 || size != copy) {
      check->fault = ArchiveFault::kSizesDisagree;
      check->entry = i;
      return Invalid(*check);
    }
    input_.Consume(kEntrySize);
    if (entry.sizeLow > dataLeft) over = true;
    else dataLeft -= entry.sizeLow;
    if (!HasTerminator(entry.name, kNameField) || !IsAcceptableEntryName(entry.name)) {
      return Corrupt();
    }
    records_[i] = ToRecord(entry);
    platform::PathBuffer path;
    if (!JoinTarget(records_[i].name, &path)) {
      s_.messages.ReportFileError(error::kFilenameTooLong);
      return false;
    }
  }
  if (over || dataLeft != 0) {
    check->fault = ArchiveFault::kDataMismatch;
    if (!over) check->unfilled = dataLeft;
    return Invalid(*check);
  }
  return true;
}

bool Extractor::CreateEntryDirectories(const char* name, platform::PathBuffer* path) {
  return MakeEntryFolders(name, path, name);
}

// The folders of `name` whose separators lie before `made` are known to exist.
bool Extractor::MakeEntryFolders(const char* name, platform::PathBuffer* path, const char* made) {
  const char* separator = name;
  while (*separator != '\0' && *separator != '\\') ++separator;
  if (*separator == '\0') return true;  // what is left is the file's own name

  // A folder whose path no longer fits is not made under a cut name.
  if (!platform::path::Append(path, name, static_cast<std::uint32_t>(separator - name))) {
    s_.messages.ShowMessageWithText(IDS_DIR_FAILED, path->c_str());
    return false;
  }
  if (separator >= made && !MakeFolder(path->c_str())) return false;
  return MakeEntryFolders(separator + 1, path, made);
}

// The create says whether the folder was there: a new folder costs no
// lookup. Whatever stopped the create, the folder is looked at, and one that
// is there is judged as found (a file, a read-only folder, or fine); only
// when nothing is there does the create's own error count.
bool Extractor::MakeFolder(const char* path) {
  platform::Status made = s_.files.MakeDirectory(path);
  if (made) return true;
  std::uint32_t code = made.code();
  std::uint32_t attributes = 0;
  if (!s_.files.GetAttributes(path, &attributes)) {
    s_.messages.ReportDirectoryError(code, path);
    return false;
  }
  if ((attributes & platform::attr::kDirectory) == 0) {
    s_.messages.ShowMessageWithText(IDS_FILE_IN_WAY, path);
    return false;
  }
  if (attributes & platform::attr::kReadOnly) {
    s_.messages.ShowMessageWithText(IDS_DIR_READ_ONLY, path);
    return false;
  }
  return true;
}

bool Extractor::ExtractEntry(const platform::File& archive, const EntryRecord& record) {
  // Only meaningful inside ExtractArchive, on the file it reads.
  if (options_ == nullptr || &archive != input_.file()) return false;
  current_ = &record;
  platform::PathBuffer path;
  JoinTarget(record.name, &path);  // checked to fit when the table was read

  platform::File out;
  platform::Status created = out.Open(s_.files, path.c_str(), OpenMode::kCreateNew);
  if (created) return WriteNewFile(record, path.c_str(), out);
  if (!IsExistsError(created.code())) return FileError(created);
  if (state_.overwriteAll) return ReplaceFile(record, path.c_str());

  switch (s_.prompt.Ask(record.name)) {
    case kAnswerYesToAll:
      state_.overwriteAll = true;  // stays set even when this replacement fails
      return ReplaceFile(record, path.c_str());
    case kAnswerYes:
      return ReplaceFile(record, path.c_str());
    case kAnswerNo:
      if (platform::Status skipped = input_.Skip(record.sizeLow); !skipped) return FileError(skipped);
      return true;
    case kAnswerAbort:
      status_ = ExtractStatus::kAborted;
      s_.messages.ShowMessage(IDS_USER_ABORT);
      return false;
    default:  // no answer (the question could not be asked): the create's refusal stands
      return FileError(created);
  }
}

// Points *bytes at the archive's next `count` bytes; false once reported
// (a failed read by its error, an archive that ends first as corrupt).
bool Extractor::Fetch(std::uint32_t count, const std::uint8_t** bytes) {
  switch (input_.Peek(count, bytes)) {
    case ArchiveInput::kReady: return true;
    case ArchiveInput::kFailed: return FileError(input_.failure());
    default: return Corrupt();
  }
}

// Whole blocks from the file's start, then the rest, each written straight
// from the buffer.
bool Extractor::CopyData(platform::File& out, std::uint32_t size) {
  std::uint32_t remaining = size;
  while (remaining > 0) {
    std::uint32_t chunk = remaining >= kCopyBlock ? kCopyBlock : remaining;
    const std::uint8_t* bytes = nullptr;
    if (!Fetch(chunk, &bytes)) return false;
    std::uint32_t written = 0;
    if (platform::Status put = out.Write(bytes, chunk, &written); !put) return FileError(put);
    if (written != chunk) {
      s_.messages.ShowMessage(IDS_DISK_FULL);
      return false;
    }
    input_.Consume(chunk);
    remaining -= chunk;
  }
  return true;
}

static platform::FileTimes TimesOf(const EntryRecord& record) {
  platform::FileTimes times;
  times.creation = record.creation;
  times.lastAccess = record.lastAccess;
  times.lastWrite = record.lastWrite;
  return times;
}

// A new file that cannot be written completely is removed again, so that no
// entry's name is left on a truncated file.
bool Extractor::WriteNewFile(const EntryRecord& record, const char* path, platform::File& out) {
  if (!CopyData(out, record.sizeLow)) {
    (void)out.Close();
    (void)s_.files.Remove(path);
    return false;
  }
  (void)out.SetTimes(TimesOf(record));
  if (platform::Status closed = out.Close(); !closed) {
    (void)s_.files.Remove(path);
    return FileError(closed);
  }
  return true;
}

// The new contents go to a temporary file beside the existing one, which is
// put in its place only when complete: a failure leaves the old file intact.
bool Extractor::ReplaceFile(const EntryRecord& record, const char* path) {
  // A read-only file is not replaced, even where renaming over it would work.
  std::uint32_t attributes = 0;
  if (s_.files.GetAttributes(path, &attributes) &&
      (attributes & (platform::attr::kReadOnly | platform::attr::kDirectory))) {
    s_.messages.ReportFileError(error::kAccessDenied);
    return false;
  }
  std::uint32_t folder = platform::path::FolderLength(path);
  platform::PathBuffer temp;
  platform::File out;
  for (std::uint32_t attempt = 0;; ++attempt) {
    temp.Assign(path);
    temp.Truncate(folder);
    char suffix[16];
    platform::TextFormat(suffix, sizeof suffix, "\\~kv%d.tmp", static_cast<int>(attempt));
    if (!temp.Append(suffix)) {
      s_.messages.ReportFileError(error::kFilenameTooLong);
      return false;
    }
    platform::Status created = out.Open(s_.files, temp.c_str(), OpenMode::kCreateNew);
    if (created) break;
    if (!IsExistsError(created.code()) || attempt + 1 == kTempAttempts) return FileError(created);
  }
  if (!CopyData(out, record.sizeLow)) {
    (void)out.Close();
    (void)s_.files.Remove(temp.c_str());
    return false;
  }
  (void)out.SetTimes(TimesOf(record));
  platform::Status closed = out.Close();
  platform::Status replaced = closed ? s_.files.Replace(temp.c_str(), path) : closed;
  if (!replaced) {
    (void)s_.files.Remove(temp.c_str());
    return FileError(replaced);
  }
  return true;
}

}  // namespace kivo
