#include "diskmaker/builder/disk_builder.h"

#include "diskmaker/builder/copy_progress.h"
#include "diskmaker/resources/strings.h"
#include "platform/bounded_string.h"
#include "platform/types.h"
#include "platform/ui.h"
#include "platform/windows_path.h"

namespace wendmark {
namespace {

namespace ui = platform::ui;
namespace error = platform::error;

// sectors per cluster x bytes per sector x free clusters, without the
// wrap-around of 32-bit arithmetic; saturates instead of overflowing.
std::uint64_t FreeBytes(const platform::FreeSpace& space) {
  std::uint64_t clusterBytes =
      static_cast<std::uint64_t>(space.sectorsPerCluster) * space.bytesPerSector;
  if (space.freeClusters != 0 && clusterBytes > UINT64_MAX / space.freeClusters) return UINT64_MAX;
  return clusterBytes * space.freeClusters;
}

}  // namespace

const char* FloppyName(const char* entry) { return platform::path::LastComponent(entry); }

bool EntrySource(const char* folder, const char* entry, platform::PathBuffer* source) {
  source->Assign(folder);
  return platform::path::Append(source, entry);
}

void* CopyBufferStore::Get(platform::Memory& memory) {
  if (block_ == nullptr) block_ = memory.Allocate(kCopyChunk);
  return block_;
}

void CopyBufferStore::Release(platform::Memory& memory) {
  if (block_ != nullptr) memory.Release(block_);
  block_ = nullptr;
}

CopyBufferStore& ProcessCopyBuffer() {
  // Never freed: the buffer lives as long as the program.
  static CopyBufferStore store;
  return store;
}

bool DiskBuilder::Run() {
  NoDiskHooks none;
  return Run(none);
}

bool DiskBuilder::Run(DiskHooks& hooks) {
  if (progress_ == nullptr) return false;
  DriveRecord drive;
  if (!drives_->GetChosen(&drive)) return false;
  // No look at the cancel flag between disks or files: a cancel is
  // noticed inside the chunk loop, where it can clean up after itself.
  auto disks = packages_->Disks();
  while (const DiskEntry* disk = disks.Next()) {
    if (!disk->selected) continue;
    if (!hooks.BeginDisk(*disk)) return false;
    platform::TextBuffer title =
        platform::FormatText(services_.strings, IDS_DISK_TITLE, disk->number + 1, packages_->GetName().c_str());
    progress_->SetDiskTitle(title.c_str());
    progress_->PromptForDisk(title.c_str(), drive);
    if (!CheckDestination(drive)) {
      hooks.DiskFailed(*disk, DiskHooks::Step::kCheck);
      return false;
    }
    platform::FileSystem* files = hooks.CopyFiles(*disk, services_.files);
    if (files == nullptr) return false;
    files_ = files;
    bool copied = CopyDisk(drive, *disk);
    files_ = &services_.files;
    if (!copied) {
      hooks.DiskFailed(*disk, DiskHooks::Step::kCopy);
      return false;
    }
    if (!hooks.EndDisk(*disk)) return false;
  }
  return true;
}

bool DiskBuilder::CheckDestination(const DriveRecord& drive) {
  if (progress_ == nullptr) return false;
  // The first "not ready" of a check is what a user sees who has not yet
  // put the disk in: the plain request, without a complaint.
  bool firstNotReady = true;
  for (;;) {
    std::uint32_t reason = 0;
    platform::FreeSpace space;
    std::uint32_t code = 0;
    if (services_.drives.QueryFreeSpace(drive.rootPath.c_str(), &space, &code)) {
      // The blank test comes first, so a used small disk is called used.
      // One cluster may be in use (a volume label, say).
      if (static_cast<std::uint64_t>(space.freeClusters) + 1 < space.totalClusters) {
        reason = IDS_DISK_NOT_BLANK;
      } else if (FreeBytes(space) >= kMinimumFreeBytes) {
        return true;
      } else {
        reason = IDS_DISK_TOO_SMALL;
      }
    } else if (code == error::kNotReady) {
      if (firstNotReady) {
        firstNotReady = false;
      } else {
        reason = IDS_NO_DISK;
      }
    } else {
      reason = IDS_DRIVE_ERROR;
    }
    platform::TextBuffer text;
    if (reason != 0) {
      text = Text(reason);
      text.Append("\n\n");
    }
    text.Append(Text(IDS_INSERT_BLANK).c_str());
    int answer = progress_->Messages().Show(text.c_str(), Text(IDS_CHECK_CAPTION).c_str(),
                                            ui::kOkCancel | ui::kIconExclamation);
    // Anything but OK (Cancel, or a box that could not be shown) gives up.
    if (answer != ui::kIdOk) return false;
  }
}

bool DiskBuilder::CopyDisk(const DriveRecord& drive, const DiskEntry& disk) {
  // Read once per disk, so that an edit of the settings between two disks
  // takes effect for the later one.
  platform::PathBuffer folder = packages_->GetDiskImagesFolder();
  auto files = disk.Files();
  while (const platform::PathBuffer* entry = files.Next()) {
    platform::PathBuffer source;
    bool whole = EntrySource(folder.c_str(), entry->c_str(), &source);
    char destination[platform::kMaxPath];
    services_.drives.DestinationPath(drive.rootPath.c_str(), FloppyName(entry->c_str()), destination,
                                     sizeof destination);
    if (!CopyOneFile(entry->c_str(), source.c_str(), destination, whole)) return false;
  }
  return true;
}

bool DiskBuilder::CopyOneFile(const char* entry, const char* source, const char* destination,
                              bool sourceWhole) {
  if (source == nullptr || source[0] == '\0' || destination == nullptr || destination[0] == '\0')
    return false;
  if (progress_ == nullptr) return false;
  platform::FileSystem& fs = *files_;
  for (;;) {
    std::uint32_t message = 0;
    bool choice = false;
    bool copied = false;
    platform::File in, out;
    platform::Status opened, created;
    if (!sourceWhole) {
      // A cut path would name another file: it cannot be opened, as on a
      // system whose paths it does not fit.
      message = IDS_SOURCE_UNREADABLE;
      choice = true;
    } else if (!(opened = in.Open(fs, source, platform::OpenMode::kReadExclusive))) {
      message = opened.code() == error::kFileNotFound ? IDS_SOURCE_MISSING : IDS_SOURCE_UNREADABLE;
      choice = true;
    } else if (!(created = out.Open(fs, destination, platform::OpenMode::kCreateAlways))) {
      if (created.code() == error::kWriteProtect) {
        message = IDS_WRITE_PROTECTED;
        choice = true;
      } else {
        // Nothing sensible can be written to this disk: stop the build.
        message = IDS_CANNOT_CREATE;
      }
      (void)in.Close();
    } else {
      copied = CopyContents(entry, in, out, &message);
      if (message != 0) choice = true;
      if (copied) {
        // The times go on before the close, so the close cannot stamp its own.
        platform::FileTimes times;
        if (in.GetTimes(&times)) (void)out.SetTimes(times);
      }
      // A close that fails may have lost the last data the system still held:
      // the file is no better than one whose write failed.
      platform::Status closed = out.Close();
      if (!closed && copied) {
        copied = false;
        message = WriteFailure(closed);
        choice = true;
      }
      // Never leave a partial file under its final name.
      if (!copied) (void)fs.Remove(destination);
      (void)in.Close();
    }
    if (message == 0) return copied;

    platform::TextBuffer text = Text(message);
    platform::TextBuffer caption = Text(IDS_COPY_CAPTION);
    if (!choice) {
      progress_->Messages().Show(text.c_str(), caption.c_str(), ui::kOk | ui::kIconExclamation);
      return false;
    }
    text.Append(Text(IDS_CHOICE).c_str());
    int answer = progress_->Messages().Show(text.c_str(), caption.c_str(),
                                            ui::kAbortRetryIgnore | ui::kIconExclamation);
    if (answer == ui::kIdRetry) continue;  // both files opened anew, copy from the start
    return answer == ui::kIdIgnore;       // Ignore skips the file; Abort (or no box) stops
  }
}

std::uint32_t DiskBuilder::WriteFailure(platform::Status failure) {
  std::uint32_t code = failure.code();
  return (code == error::kDiskFull || code == error::kHandleDiskFull) ? IDS_DISK_FULL
                                                                      : IDS_WRITE_ERROR;
}

bool DiskBuilder::CopyContents(const char* entry, platform::File& source, platform::File& destination,
                               std::uint32_t* message) {
  *message = 0;
  void* buffer = buffer_->Get(services_.memory);
  std::uint64_t total = 0;
  if (buffer == nullptr || !source.GetSize(&total)) {
    *message = IDS_READ_ERROR;
    return false;
  }
  std::uint64_t copied = 0;
  // Shows the file with the bar at 0; a cancel is noticed after the first chunk.
  progress_->PumpMessages(entry, 0);
  while (copied < total) {
    std::uint64_t left = total - copied;
    std::uint32_t want = left < kCopyChunk ? static_cast<std::uint32_t>(left) : kCopyChunk;
    std::uint32_t got = 0;
    // A source that ends before its measured length would never finish:
    // that is a failed read too.
    if (!source.Read(buffer, want, &got) || got == 0) {
      *message = IDS_READ_ERROR;
      return false;
    }
    std::uint32_t put = 0;
    if (platform::Status written = destination.Write(buffer, got, &put); !written) {
      *message = WriteFailure(written);
      return false;
    }
    if (put < got) {  // the disk took only part of it: it is full
      *message = IDS_DISK_FULL;
      return false;
    }
    // Flushing every chunk makes the bar show what is on the disk, and
    // meets a full or faulty disk at the chunk that finds it.
    if (platform::Status flushed = destination.Flush(); !flushed) {
      *message = WriteFailure(flushed);
      return false;
    }
    copied += got;
    int percent = static_cast<int>(copied * 100 / total);
    if (!progress_->PumpMessages(entry, percent)) return false;
  }
  return true;
}

}  // namespace wendmark
