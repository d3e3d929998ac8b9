#include "tools/wendmark/image_from.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <vector>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/resources/strings.h"
#include "floppy/code_page_codec.h"
#include "floppy/volume.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "platform/posix/host_error.h"
#include "tools/wendmark/floppy_disk.h"
#include "tools/wendmark/host_reasons.h"
#include "unpack/frame/console/host_text.h"

namespace wendmark {
namespace {

std::uint32_t Little(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

std::string Load(std::uint32_t id) {
  platform::TextBuffer text;
  CompiledStrings().Load(id, text.data(), text.capacity());
  text.Sync();
  return text.c_str();
}

// The image judged as the floppy in the drive, as --images judges it, with
// the same messages; true when it may be replaced. Since the image is made
// from FOLDER alone, a file an accepted floppy would keep would be lost
// here: such an image is not blank.
bool MayReplace(platform::FileSystem& files, const std::string& image, RunServices& services, std::string* why) {
  HostReasons reasons;
  ImageDrive drive;
  drive.ReportTo(&reasons);
  drive.InsertImage(image);
  DriveList drives(drive);
  DriveRecord record;
  if (!drives.Enumerate() || !drives.GetChosen(&record)) return false;
  kivo::console::HostText plain;
  volatile std::sig_atomic_t noStop = 0;
  console::ConsoleProgress window(services.boxes, nullptr, false, plain, CompiledStrings(),
                                  services.stopRequested != nullptr ? services.stopRequested : &noStop, &reasons);
  DiskBuilder builder(nullptr, &drives, {files, drive, CompiledStrings(), platform::DefaultMemory()});
  builder.AttachProgress(&window);
  if (!builder.CheckDestination(record)) {
    *why = drive.lastError();
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint32_t code = 0;
  floppy::Volume volume;
  if (!ReadImageFile(image, &bytes, &code)) return code == platform::error::kFileNotFound;  // gone: blank again
  bool holds = true;
  if (floppy::Volume::Load(std::move(bytes), &volume, why)) {
    const auto entries = volume.List();
    holds = std::any_of(entries.begin(), entries.end(),
                        [](const floppy::DirEntry& e) { return !(e.attributes & floppy::attr::kLabel); });
    if (!holds) return true;
  }
  std::string text = Load(why->empty() ? IDS_DISK_NOT_BLANK : IDS_DRIVE_ERROR) + "\n\n" + Load(IDS_INSERT_BLANK);
  window.Show(text.c_str(), Load(IDS_CHECK_CAPTION).c_str(), platform::ui::kOkCancel | platform::ui::kIconExclamation);
  return false;
}

// A folder's entries as its listing names them: each name, and what it
// is, a link followed.
class FolderEntries final : public platform::DirectoryVisitor {
 public:
  void Visit(const platform::DirectoryEntry& entry) override { found.emplace_back(entry.name, entry.target); }

  std::vector<std::pair<std::string, platform::EntryKind>> found;
};

// The names at FOLDER's top level in byte-wise order, in the code page.
// False with a one-line `error` when the folder cannot be read, holds
// anything but plain files, a name FAT cannot hold or the code page cannot
// spell, or two names FAT would take for one.
bool ListFolder(platform::FileSystem& files, const std::string& folder, const platform::posix::CodePage& page,
                std::vector<std::string>* names, std::string* error) {
  FolderEntries entries;
  if (platform::Status listed = files.ListDirectory(folder.c_str(), entries); !listed) {
    *error = "cannot read the folder " + folder + ": " + platform::posix::HostErrorText(listed.code());
    return false;
  }
  std::sort(entries.found.begin(), entries.found.end());  // byte-wise, as LC_ALL=C sort
  floppy::CodePageCodec codec(page);
  std::map<std::string, std::string> seen;  // by the key FAT finds a name under
  for (const auto& [name, kind] : entries.found) {
    const std::string path = folder + "/" + name;
    if (kind != platform::EntryKind::kFile) {
      *error = "a floppy is flat, " + path + " is not a plain file";
      return false;
    }
    std::string text;
    if (!page.FromHost(name, &text) || !floppy::WhyNotStorable(text).empty()) {
      *error = "the name " + path + " cannot stand on a FAT floppy";
      return false;
    }
    auto [it, fresh] = seen.emplace(floppy::FoldKey(text, codec), name);
    if (!fresh) {
      *error = "names FAT would not tell apart in " + folder + ": " + it->second + ", " + name;
      return false;
    }
    names->push_back(text);
  }
  return true;
}

}  // namespace

bool IsOwnImage(std::span<const std::uint8_t> image) {
  floppy::Judgement judged = floppy::JudgeImage(image);
  if (judged.kind != floppy::ImageKind::kBlank && judged.kind != floppy::ImageKind::kNotBlank) return false;
  if (image.size() != floppy::kImageBytes || judged.geometry != floppy::Geometry{}) return false;
  const std::uint8_t* sector = image.data();
  if (sector[0x26] != 0x29) return false;  // no label or serial number in the boot sector
  std::string label(reinterpret_cast<const char*>(sector + 0x2B), 11);
  label.erase(label.find_last_not_of(' ') + 1);
  if (label.size() < 5 || label.size() > 8 || label.compare(0, 4, "DISK") != 0 || label[4] == '0') return false;
  int number = 0;
  for (std::size_t i = 4; i < label.size(); ++i) {
    if (label[i] < '0' || label[i] > '9') return false;
    number = number * 10 + (label[i] - '0');
  }
  return label == floppy::DiskLabel(number) && Little(sector + 0x27, 4) == floppy::VolumeSerial(number);
}

int WriteImageFrom(platform::FileSystem& files, const std::string& folder, const std::string& image, int number,
                   unsigned codePage, RunServices& services) {
  auto notWritten = [&](const std::string& why) {
    std::fprintf(services.errors, "wendmark: disk %d not written (%s)%s%s\n", number, image.c_str(),
                 why.empty() ? "" : ": ", why.c_str());
    return kExitNotWritten;
  };
  platform::posix::CodePage page;
  std::string error;
  if (!page.Load(codePage == 0 ? platform::posix::CodePage::kDefault : codePage, &error)) {
    std::fprintf(services.errors, "wendmark: %s\n", error.c_str());
    return kExitUsage;
  }
  struct stat st;
  if (::lstat(image.c_str(), &st) == 0) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t code = 0;
    std::string why;
    bool own = ReadImageFile(image, &bytes, &code) && IsOwnImage(bytes);
    if (!own && !MayReplace(files, image, services, &why)) return notWritten(why);
  }
  std::vector<std::string> names;
  if (!ListFolder(files, folder, page, &names, &error)) {
    std::fprintf(services.errors, "wendmark: %s\n", error.c_str());
    return kExitNotWritten;
  }

  // The files go through the engine's own copy onto drive A:, as --images
  // copies a disk, so both ways give the same image.
  kivo::console::HostText text(&page);
  text.KeepAsIs(folder.c_str());
  HostReasons reasons;
  ReasonRecorder recorder(files, reasons);
  kivo::console::HostPathFileSystem hostFiles(recorder, text);
  FloppyDisk floppy(floppy::Volume::Format(number, FallbackTime()), page, hostFiles);
  ImageDrive drive;
  drive.InsertImage(image);
  DriveList drives(drive);
  volatile std::sig_atomic_t noStop = 0;
  console::ConsoleProgress window(services.boxes, nullptr, false, text, CompiledStrings(),
                                  services.stopRequested != nullptr ? services.stopRequested : &noStop, &reasons);
  DiskBuilder builder(nullptr, &drives, {floppy.files(), drive, CompiledStrings(), platform::DefaultMemory()});
  builder.AttachProgress(&window);
  for (const std::string& name : names) {
    const std::string source = folder + "/" + name;
    const std::string destination = std::string(ImageDrive::kRoot) + name;
    if (!builder.CopyOneFile(name.c_str(), source.c_str(), destination.c_str())) return notWritten("");
  }
  if (!floppy.Relay(number, &error) || !floppy.Save(image, &error)) return notWritten(error);
  std::string moved = floppy.MovedTimesLine(number);
  if (!moved.empty()) std::fprintf(services.report, "%s\n", moved.c_str());
  std::fprintf(services.report, "wrote %s\n", image.c_str());
  return kExitWritten;
}

}  // namespace wendmark
