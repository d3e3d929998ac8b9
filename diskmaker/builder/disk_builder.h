// One build of the disk set: for every selected disk, ask for a floppy,
// check that it is blank and large enough, and copy the disk's files onto
// its top level with their file times, chunk by chunk, offering Abort,
// Retry or Ignore when a file cannot be copied.
#pragma once

#include <cstdint>

#include "diskmaker/builder/copy_progress.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "platform/bounded_string.h"
#include "platform/drives.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/string_table.h"
#include "platform/ui.h"

namespace wendmark {

// The size of each read and write, and of the one buffer the process keeps for it.
constexpr std::uint32_t kCopyChunk = 32768;
// A blank disk must offer at least this much room to be an installation disk.
constexpr std::uint64_t kMinimumFreeBytes = 1430000;

// The one copy buffer: allocated on first use and kept, since there is only
// ever one copy at a time. A failed allocation is tried again on the next copy.
class CopyBufferStore {
 public:
  CopyBufferStore() = default;
  CopyBufferStore(const CopyBufferStore&) = delete;
  CopyBufferStore& operator=(const CopyBufferStore&) = delete;
  // A block of kCopyChunk bytes, or null when memory is short.
  void* Get(platform::Memory& memory);
  // Gives the block back (the program's own store never does).
  void Release(platform::Memory& memory);

 private:
  void* block_ = nullptr;
};

// The store the program's builds share for the life of the process.
CopyBufferStore& ProcessCopyBuffer();

// The services a build uses, all owned elsewhere.
struct BuilderServices {
  platform::FileSystem& files;
  const platform::Drives& drives;
  const platform::StringTable& strings;
  platform::Memory& memory;
};

class DiskBuilder final : public CopyJob {
 public:
  DiskBuilder(PackageList* packages, DriveList* drives, const BuilderServices& services)
      : packages_(packages), drives_(drives), services_(services) {}
  DiskBuilder(const DiskBuilder&) = delete;
  DiskBuilder& operator=(const DiskBuilder&) = delete;

  // Where the copy buffer comes from; the process's own store unless a test
  // hands in a store of its own.
  void UseCopyBuffer(CopyBufferStore* store) { buffer_ = store; }

  // The window the build runs in (not owned); Build sets it to its dialog.
  void AttachProgress(CopyProgress* progress) { progress_ = progress; }
  CopyProgress* progress() const { return progress_; }

#ifdef _WIN32
  // Runs the build inside the modal "Copying Files" dialog owned by
  // `parent` (an HWND). True exactly when every selected disk was written;
  // *endCode (when given) receives the dialog's end code: 1 written,
  // 2 cancelled, 3 failed.
  bool Build(void* parent, int* endCode = nullptr);
#endif

  // The whole build, run once by the progress window. True when every
  // selected disk was written.
  bool Run() override;

  // Makes sure the floppy in `drive` is present, blank and large enough,
  // prompting until it is or the user gives up (false).
  bool CheckDestination(const DriveRecord& drive);

  // Copies every file entry of one disk onto the floppy; true when each was
  // copied or skipped by the user.
  bool CopyDisk(const DriveRecord& drive, const DiskEntry& disk);

  // Copies one file with its times; true when it was copied or the user
  // chose to skip it. Handles and reports every failure itself.
  // `sourceWhole` false: the source path was cut to fit, and is not opened.
  bool CopyOneFile(const char* entry, const char* source, const char* destination,
                   bool sourceWhole = true);

  // The chunk loop between two open files. True when the whole source was
  // copied; on failure *message holds the text to show (0 when the user
  // stopped the build, which needs no message).
  bool CopyContents(const char* entry, platform::File& source, platform::File& destination,
                    std::uint32_t* message);

 private:
  platform::TextBuffer Text(std::uint32_t id) const;
  platform::TextBuffer Format(std::uint32_t id, ...) const;
  // The message for a failed write, flush or close: a full disk or another fault.
  static std::uint32_t WriteFailure(platform::Status failure);

  PackageList* packages_;
  DriveList* drives_;
  BuilderServices services_;
  CopyProgress* progress_ = nullptr;
  CopyBufferStore* buffer_ = &ProcessCopyBuffer();
};

// The name a file entry gets on the floppy: the text after its last
// backslash, or the whole entry when it has none.
const char* FloppyName(const char* entry);


}  // namespace wendmark
