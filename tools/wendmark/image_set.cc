#include "tools/wendmark/image_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "diskmaker/resources/strings.h"
#include "floppy/volume.h"
#include "platform/console/host_text.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "platform/posix/host_error.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "tools/wendmark/console.h"
#include "tools/wendmark/floppy_disk.h"
#include "tools/wendmark/host_reasons.h"
#include "tools/wendmark/list_disks.h"

namespace wendmark {
namespace {

namespace fs = std::filesystem;

// The console's part of each disk of the build: the bar's plan, the image
// as the floppy in the drive, the volume the copy writes to, and the image
// saved once every file is on it.
class ImageHooks final : public DiskHooks {
 public:
  ImageHooks(const Options& options, RunServices& services, const PackageList& packages, ImageDrive& drive,
             console::ConsoleProgress& progress, platform::FileSystem& hostFiles, platform::FileSystem& measured,
             const platform::posix::CodePage& page)
      : options_(options), services_(services), packages_(packages), drive_(drive), progress_(progress),
        hostFiles_(hostFiles), measured_(measured), page_(page) {}

  bool BeginDisk(const DiskEntry& disk) override {
    number_ = disk.number + 1;
    image_ = options_.images + "/disk" + std::to_string(number_) + ".img";
    floppy_.reset();
    progress_.PlanDisk(MeasureDisk(disk));
    if (services_.stopRequested != nullptr && *services_.stopRequested != 0) return NotWritten("stopped");
    drive_.InsertImage(image_);
    return true;
  }

  // A floppy that passed the checks is written on as it is, keeping what
  // it already holds (a label, one small file); none there is a fresh one.
  platform::FileSystem* CopyFiles(const DiskEntry&, platform::FileSystem&) override {
    floppy::Volume volume = floppy::Volume::Format(number_, FallbackTime());
    std::vector<std::uint8_t> bytes;
    std::uint32_t code = 0;
    if (access(image_.c_str(), F_OK) == 0) {
      std::string why;
      if (!ReadImageFile(image_, &bytes, &code)) {
        NotWritten(platform::posix::HostErrorText(code));
        return nullptr;
      }
      if (!floppy::Volume::Load(std::move(bytes), &volume, &why)) {
        NotWritten(why);
        return nullptr;
      }
    }
    floppy_.emplace(std::move(volume), page_, hostFiles_);
    return &floppy_->files();
  }

  // A host error behind a refusal was said after its message; why an image
  // is no floppy at all ends this line instead.
  void DiskFailed(const DiskEntry&, Step step) override {
    if (step == Step::kCheck) {
      NotWritten(drive_.lastError());
    } else {
      NotWritten(progress_.stopped() ? "stopped" : "");
    }
  }

  bool EndDisk(const DiskEntry&) override {
    std::string error;
    if (!floppy_->Relay(number_, &error) || !floppy_->Save(image_, &error)) return NotWritten(error);
    progress_.EndDisk();
    std::string moved = floppy_->MovedTimesLine(number_);
    if (!moved.empty()) std::fprintf(services_.report, "%s\n", moved.c_str());
    std::fprintf(services_.report, "wrote %s\n", image_.c_str());
    std::fflush(services_.report);
    return true;
  }

 private:
  bool NotWritten(const std::string& why) {
    progress_.EndDisk();
    std::fprintf(services_.errors, "wendmark: disk %d not written (%s)%s%s\n", number_, image_.c_str(),
                 why.empty() ? "" : ": ", why.c_str());
    return false;
  }

  // The sizes of a disk's entries in order, for the bar; an entry that
  // cannot be opened counts nothing (the copy will say why).
  console::ConsoleProgress::Plan MeasureDisk(const DiskEntry& disk) {
    console::ConsoleProgress::Plan sizes;
    platform::PathBuffer folder = packages_.GetDiskImagesFolder();
    auto entries = disk.Files();
    while (const platform::PathBuffer* entry = entries.Next()) {
      platform::PathBuffer source;
      EntrySource(folder.c_str(), entry->c_str(), &source);
      platform::File file;
      std::uint64_t size = 0;
      if (!file.Open(measured_, source.c_str(), platform::OpenMode::kReadShared) || !file.GetSize(&size)) size = 0;
      sizes.emplace_back(entry->c_str(), size);
    }
    return sizes;
  }

  const Options& options_;
  RunServices& services_;
  const PackageList& packages_;
  ImageDrive& drive_;
  console::ConsoleProgress& progress_;
  platform::FileSystem& hostFiles_;
  platform::FileSystem& measured_;
  const platform::posix::CodePage& page_;
  int number_ = 0;
  std::string image_;
  std::optional<FloppyDisk> floppy_;
};

class Run {
 public:
  Run(const Options& options, RunServices& services) : options_(options), services_(services) {}

  int Go() {
    std::string error;
    if (!page_.Load(options_.codePage == 0 ? platform::posix::CodePage::kDefault : options_.codePage, &error))
      return Refuse(error);
    Description description(options_.description);
    if (!description.Load(&error)) return Refuse(error);
    PackageList& packages = description.packages();
    const std::string& folder = description.folder();
    if (!SelectDisks(&packages)) return kExitUsage;

    std::error_code ec;
    fs::create_directories(options_.images, ec);
    if (ec) return Fail("cannot make the folder " + options_.images + ": " + ec.message());

    // Host texts stay as they are spelt; the description's text (entries,
    // Wendmark.ini's folder, the product name) crosses from its code page.
    text_.KeepAsIs(folder.c_str());
    // The engine's files pass the recorder, which keeps the host's words for
    // the failure a message reports; measuring them for the bar does not.
    HostReasons reasons;
    ReasonRecorder recorder(platform::DefaultFileSystem(), reasons);
    platform::console::HostPathFileSystem hostFiles(recorder, text_);
    platform::console::HostPathFileSystem measured(platform::DefaultFileSystem(), text_);
    ImageDrive drive;
    drive.ReportTo(&reasons);
    DriveList drives(drive);
    DriveRecord record;
    if (!drives.Enumerate() || !drives.GetChosen(&record)) return Fail("no drive to write to");
    console::ConsoleProgress progress(services_.boxes, services_.bar, services_.confirmStop, text_, CompiledStrings(),
                                      services_.stopRequested != nullptr ? services_.stopRequested : &noStop_,
                                      &reasons);
    ImageHooks hooks(options_, services_, packages, drive, progress, hostFiles, measured, page_);
    DiskBuilder builder(&packages, &drives, {hostFiles, drive, CompiledStrings(), platform::DefaultMemory()});
    builder.AttachProgress(&progress);
    return builder.Run(hooks) ? kExitWritten : kExitNotWritten;
  }

 private:
  int Refuse(const std::string& why) {
    std::fprintf(services_.errors, "wendmark: %s\n", why.c_str());
    return kExitUsage;
  }
  int Fail(const std::string& why) {
    std::fprintf(services_.errors, "wendmark: %s\n", why.c_str());
    return kExitNotWritten;
  }

  bool SelectDisks(PackageList* packages) {
    if (options_.disks.empty()) return true;
    int count = static_cast<int>(packages->disks.size());
    for (int wanted : options_.disks) {
      if (wanted > count) {
        Refuse("--disks names disk " + std::to_string(wanted) + ", but " + options_.description +
               (count == 1 ? " describes disk 1 only" : " describes disks 1 to " + std::to_string(count)));
        return false;
      }
    }
    for (DiskEntry& disk : packages->disks) {
      disk.selected = false;
      for (int wanted : options_.disks) disk.selected = disk.selected || wanted == disk.number + 1;
    }
    return true;
  }

  const Options& options_;
  RunServices& services_;
  platform::posix::CodePage page_;
  platform::console::HostText text_{&page_};
  volatile std::sig_atomic_t noStop_ = 0;
};

}  // namespace

int WriteImageSet(const Options& options, RunServices& services) { return Run(options, services).Go(); }

}  // namespace wendmark
