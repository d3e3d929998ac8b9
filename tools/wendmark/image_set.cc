#include "tools/wendmark/image_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "diskmaker/resources/strings.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "tools/wendmark/console.h"
#include "floppy/volume.h"
#include "platform/posix/host_error.h"
#include "tools/wendmark/floppy_disk.h"
#include "tools/wendmark/host_reasons.h"
#include "tools/wendmark/list_disks.h"
#include "unpack/frame/console/host_text.h"

namespace wendmark {
namespace {

namespace fs = std::filesystem;

std::string Format(std::uint32_t id, int number, const char* name) {
  platform::TextBuffer format, text;
  CompiledStrings().Load(id, format.data(), format.capacity());
  format.Sync();
  platform::TextFormat(text.data(), text.capacity(), format.c_str(), number, name);
  text.Sync();
  return text.c_str();
}

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
    kivo::console::HostPathFileSystem hostFiles(recorder, text_);
    kivo::console::HostPathFileSystem measured(platform::DefaultFileSystem(), text_);
    ImageDrive drive;
    drive.ReportTo(&reasons);
    DriveList drives(drive);
    DriveRecord record;
    if (!drives.Enumerate() || !drives.GetChosen(&record)) return Fail("no drive to write to");
    console::ConsoleProgress progress(services_.boxes, services_.bar, services_.confirmStop, text_, CompiledStrings(),
                                      services_.stopRequested != nullptr ? services_.stopRequested : &noStop_,
                                      &reasons);

    auto disks = packages.Disks();
    while (const DiskEntry* disk = disks.Next()) {
      if (!disk->selected) continue;
      progress.PlanDisk(MeasureDisk(packages, *disk, measured));
      if (!WriteDisk(packages, drives, record, drive, hostFiles, progress, *disk)) return kExitNotWritten;
    }
    return kExitWritten;
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

  // The sizes of a disk's entries in order, for the bar; an entry that
  // cannot be opened counts nothing (the copy will say why).
  console::ConsoleProgress::Plan MeasureDisk(const PackageList& packages, const DiskEntry& disk,
                                             platform::FileSystem& files) {
    console::ConsoleProgress::Plan sizes;
    platform::PathBuffer folder = packages.GetDiskImagesFolder();
    auto entries = disk.Files();
    while (const platform::PathBuffer* entry = entries.Next()) {
      platform::PathBuffer source(folder.c_str());
      platform::path::Append(&source, entry->c_str());
      platform::File file;
      std::uint64_t size = 0;
      if (!file.Open(files, source.c_str(), platform::OpenMode::kReadShared) || !file.GetSize(&size)) size = 0;
      sizes.emplace_back(entry->c_str(), size);
    }
    return sizes;
  }

  bool WriteDisk(PackageList& packages, DriveList& drives, const DriveRecord& record, ImageDrive& drive,
                 platform::FileSystem& hostFiles, console::ConsoleProgress& progress, const DiskEntry& disk) {
    const int number = disk.number + 1;
    const std::string image = options_.images + "/disk" + std::to_string(number) + ".img";
    auto notWritten = [&](const std::string& why) {
      progress.EndDisk();
      std::fprintf(services_.errors, "wendmark: disk %d not written (%s)%s%s\n", number, image.c_str(),
                   why.empty() ? "" : ": ", why.c_str());
      return false;
    };
    if (services_.stopRequested != nullptr && *services_.stopRequested != 0) return notWritten("stopped");

    std::string title = Format(IDS_DISK_TITLE, number, packages.GetName().c_str());
    progress.SetDiskTitle(title.c_str());
    progress.PromptForDisk(title.c_str(), record);
    drive.InsertImage(image);
    {
      DiskBuilder checker(&packages, &drives, {hostFiles, drive, CompiledStrings(), platform::DefaultMemory()});
      checker.AttachProgress(&progress);
      // A host error behind a refusal was said after its message; why an
      // image is no floppy at all ends this line instead.
      if (!checker.CheckDestination(record)) return notWritten(drive.lastError());
    }
    // A floppy that passed the checks is written on as it is, keeping what
    // it already holds (a label, one small file); none there is a fresh one.
    floppy::Volume volume = floppy::Volume::Format(number, FallbackTime());
    std::vector<std::uint8_t> bytes;
    std::uint32_t code = 0;
    if (access(image.c_str(), F_OK) == 0) {
      std::string why;
      if (!ReadImageFile(image, &bytes, &code)) return notWritten(platform::posix::HostErrorText(code));
      if (!floppy::Volume::Load(std::move(bytes), &volume, &why)) return notWritten(why);
    }
    FloppyDisk floppy(std::move(volume), page_, hostFiles);
    DiskBuilder builder(&packages, &drives, {floppy.files(), drive, CompiledStrings(), platform::DefaultMemory()});
    builder.AttachProgress(&progress);
    if (!builder.CopyDisk(record, disk)) return notWritten(progress.stopped() ? "stopped" : "");
    std::string error;
    if (!floppy.Relay(number, &error) || !floppy.Save(image, &error)) return notWritten(error);
    progress.EndDisk();
    std::string moved = floppy.MovedTimesLine(number);
    if (!moved.empty()) std::fprintf(services_.report, "%s\n", moved.c_str());
    std::fprintf(services_.report, "wrote %s\n", image.c_str());
    std::fflush(services_.report);
    return true;
  }

  const Options& options_;
  RunServices& services_;
  platform::posix::CodePage page_;
  kivo::console::HostText text_{&page_};
  volatile std::sig_atomic_t noStop_ = 0;
};

}  // namespace

int WriteImageSet(const Options& options, RunServices& services) { return Run(options, services).Go(); }

}  // namespace wendmark
