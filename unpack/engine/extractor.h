// The extraction engine: opens the archive file, finds and validates the
// archive, checks every entry name, makes every folder the entries need,
// writes every file (asking before one is replaced) with its three times,
// and last hands the archive's program to the launcher.
#pragma once

#include <cstdint>

#include "platform/bounded_string.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "unpack/archive/format.h"
#include "unpack/engine/archive_input.h"
#include "unpack/engine/messages.h"

namespace kivo {

struct ExtractOptions {
  platform::PathBuffer archivePath;      // by default the extractor's own file
  platform::PathBuffer targetDirectory;  // by default the current directory, absolute
};

// Starts the program the archive names, in the target directory, without
// waiting for it. The Windows frame records its path in the registry first.
class ProgramLauncher {
 public:
  virtual bool Start(const char* program, const char* directory) = 0;

 protected:
  ~ProgramLauncher() = default;
};

struct ExtractServices {
  platform::FileSystem& files;
  platform::Memory& memory;
  Messages& messages;
  OverwritePrompt& prompt;
  ProgramLauncher& launcher;
};

enum class ExtractStatus {
  kNotRun,
  kComplete,     // every entry written or skipped, the program (if any) started
  kCannotOpen,   // the archive file could not be opened
  kAborted,      // the user answered Abort
  kFailed,       // any other failure, already reported
};

// State kept for the life of the process.
struct EngineState {
  bool overwriteAll = false;  // set by Yes To All, never reset
  std::uint8_t* copyBuffer = nullptr;  // every byte after the header passes through it
};

class Extractor {
 public:
  explicit Extractor(const ExtractServices& services) : s_(services) {}
  ~Extractor();
  Extractor(const Extractor&) = delete;
  Extractor& operator=(const Extractor&) = delete;

  // True when every entry was written or skipped at the user's request and
  // the program, if the archive names one, was started. Every false result
  // has been reported to the user.
  bool ExtractArchive(const ExtractOptions& options);

  // Makes the folders of the entry name's remaining components below `path`
  // (the folder built so far, extended in place). True when they all exist.
  bool CreateEntryDirectories(const char* name, platform::PathBuffer* path);

  // Writes one entry's file from the archive's read position (or skips its
  // data when the user keeps the existing file), below the target folder of
  // the extraction in progress. `archive` is the file that extraction reads,
  // through the engine's buffer.
  bool ExtractEntry(const platform::File& archive, const EntryRecord& record);

  // The name of the entry whose file ExtractEntry is writing (or asking
  // about, or wrote last), as stored; null before the first. A front end
  // that has to say which file an interruption cut short reads it.
  const char* entryInProgress() const { return current_ != nullptr ? current_->name : nullptr; }

  bool overwriteAll() const { return state_.overwriteAll; }
  ExtractStatus status() const { return status_; }

 private:
  bool Run(const ExtractOptions& options, platform::File& archive, char* program);
  // Reads, decodes and checks every record; the sizes must fill `dataLeft`
  // bytes (what follows the table) exactly.
  bool ReadEntryTable(platform::File& archive, ArchiveCheck* check, std::uint32_t dataLeft);
  bool MakeEntryFolders(const char* name, platform::PathBuffer* path, const char* made);
  bool MakeFolder(const char* path);
  bool Fetch(std::uint32_t count, const std::uint8_t** bytes);
  bool CopyData(platform::File& out, std::uint32_t size);
  bool WriteNewFile(const EntryRecord& record, const char* path, platform::File& out);
  bool ReplaceFile(const EntryRecord& record, const char* path);
  bool JoinTarget(const char* name, platform::PathBuffer* path) const;
  // Reports a failed file operation by its own code.
  bool FileError(platform::Status failure);
  bool Corrupt();
  // String 10, and the reason for a front end that tells it.
  bool Invalid(const ArchiveCheck& check);

  ExtractServices s_;
  EngineState state_;
  ExtractStatus status_ = ExtractStatus::kNotRun;
  const ExtractOptions* options_ = nullptr;
  EntryRecord* records_ = nullptr;
  const EntryRecord* current_ = nullptr;
  ArchiveInput input_;
};

}  // namespace kivo
