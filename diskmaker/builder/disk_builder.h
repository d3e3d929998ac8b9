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

// What a build does around each disk beyond what its window shows: the
// wizard's build needs nothing more (NoDiskHooks); the console writes each
// disk as a floppy image.
class DiskHooks {
 public:
  enum class Step { kCheck, kCopy };
  // `disk` is next, before its title is shown; false stops the build.
  virtual bool BeginDisk(const DiskEntry& disk) = 0;
  // The floppy for `disk` passed the checks: the file system its files are
  // copied through (`own`, the build's, unless the hooks hold another).
  // Null stops the build.
  virtual platform::FileSystem* CopyFiles(const DiskEntry& disk, platform::FileSystem& own) = 0;
  // `step` of `disk` failed, and the build stops.
  virtual void DiskFailed(const DiskEntry& disk, Step step) = 0;
  // Every file of `disk` is on its floppy; false stops the build.
  virtual bool EndDisk(const DiskEntry& disk) = 0;

 protected:
  ~DiskHooks() = default;
};

class NoDiskHooks final : public DiskHooks {
 public:
  bool BeginDisk(const DiskEntry&) override { return true; }
  platform::FileSystem* CopyFiles(const DiskEntry&, platform::FileSystem& own) override { return &own; }
  void DiskFailed(const DiskEntry&, Step) override {}
  bool EndDisk(const DiskEntry&) override { return true; }
};

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

  // The window the build runs in (not owned); on Windows BuildInDialog
  // sets it to its dialog.
  void AttachProgress(CopyProgress* progress) { progress_ = progress; }

  // The whole build, run once by the progress window. True when every
  // selected disk was written.
  bool Run() override;

  // The build with `hooks` around each disk: for every selected disk its
  // title ("Disk N - Product") on the window, the request for its floppy,
  // the checks and the copy of its files.
  bool Run(DiskHooks& hooks);

  // Makes sure the floppy in `drive` is present, blank and large enough,
  // prompting until it is or the user gives up (false).
  bool CheckDestination(const DriveRecord& drive);

  // Copies every file entry of one disk onto the floppy, each from
  // EntrySource; true when each was copied or skipped by the user.
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
  platform::TextBuffer Text(std::uint32_t id) const { return platform::LoadText(services_.strings, id); }
  // The message for a failed write, flush or close: a full disk or another fault.
  static std::uint32_t WriteFailure(platform::Status failure);

  PackageList* packages_;
  DriveList* drives_;
  BuilderServices services_;
  platform::FileSystem* files_ = &services_.files;  // what the copy goes through
  CopyProgress* progress_ = nullptr;
  CopyBufferStore* buffer_ = &ProcessCopyBuffer();
};

// The name a file entry gets on the floppy: the text after its last
// backslash, or the whole entry when it has none.
const char* FloppyName(const char* entry);

// Where a file entry is copied from: the disk images folder and the entry
// joined as written (a folder that ends in a backslash gives a doubled one,
// which the file system accepts). False when the path was cut to fit.
bool EntrySource(const char* folder, const char* entry, platform::PathBuffer* source);

}  // namespace wendmark
