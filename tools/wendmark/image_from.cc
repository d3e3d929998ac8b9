#include "tools/wendmark/image_from.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/resources/strings.h"
#include "platform/file_system.h"
#include "platform/memory.h"
#include "tools/wendmark/floppy_image.h"
#include "tools/wendmark/host_reasons.h"
#include "tools/wendmark/run_program.h"

namespace wendmark {
namespace {

std::uint32_t Little(const unsigned char* p, int bytes) {
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

// Whether a floppy image holds any file or folder (a volume label aside).
// mtools reads it; a failure to read counts as holding something.
bool HoldsAnything(const std::string& image, std::string* reason) {
  tools::ProgramResult listed = tools::RunProgram({"mdir", "-b", "-i", image, "::"}, images::ToolEnvironment());
  if (!listed.ok()) {
    *reason = tools::DescribeFailure("mdir", listed);
    return true;
  }
  return listed.output.find_first_not_of(" \r\n") != std::string::npos;
}

// The image judged as the floppy in the drive, as --images judges it, with
// the same messages; true when it may be replaced. Since the image is made
// from FOLDER alone, a file an accepted floppy would keep would be lost
// here: such an image is not blank.
bool MayReplace(const std::string& image, RunServices& services, std::string* why) {
  HostReasons reasons;
  ImageDrive drive(services.readImage != nullptr ? services.readImage : images::ReadImageSpace);
  drive.ReportTo(&reasons);
  drive.InsertImage(image);
  DriveList drives(drive);
  DriveRecord record;
  if (!drives.Enumerate() || !drives.GetChosen(&record)) return false;
  kivo::console::HostText plain;
  volatile std::sig_atomic_t noStop = 0;
  console::ConsoleProgress window(services.boxes, nullptr, false, plain, CompiledStrings(),
                                  services.stopRequested != nullptr ? services.stopRequested : &noStop, &reasons);
  DiskBuilder builder(nullptr, &drives, {platform::DefaultFileSystem(), drive, CompiledStrings(), platform::DefaultMemory()});
  builder.AttachProgress(&window);
  if (!builder.CheckDestination(record)) {
    *why = drive.lastError();
    return false;
  }
  struct stat st;
  if (::stat(image.c_str(), &st) != 0) return true;  // gone meanwhile: a blank floppy again
  if (!HoldsAnything(image, why)) return true;
  std::string text = Load(why->empty() ? IDS_DISK_NOT_BLANK : IDS_DRIVE_ERROR) + "\n\n" + Load(IDS_INSERT_BLANK);
  window.Show(text.c_str(), Load(IDS_CHECK_CAPTION).c_str(), platform::ui::kOkCancel | platform::ui::kIconExclamation);
  return false;
}

}  // namespace

bool IsOwnBootSector(const unsigned char* sector, std::size_t length, std::uint64_t imageBytes) {
  if (imageBytes != images::kImageBytes || length < 512) return false;
  if (sector[510] != 0x55 || sector[511] != 0xAA) return false;
  if (Little(sector + 0x0B, 2) != 512 || Little(sector + 0x13, 2) != 2880 || sector[0x26] != 0x29) return false;
  if (std::memcmp(sector + 0x36, "FAT12   ", 8) != 0) return false;
  std::string label(reinterpret_cast<const char*>(sector + 0x2B), 11);
  label.erase(label.find_last_not_of(' ') + 1);
  if (label.size() < 5 || label.compare(0, 4, "DISK") != 0 || label[4] == '0') return false;
  int number = 0;
  for (std::size_t i = 4; i < label.size(); ++i) {
    if (label[i] < '0' || label[i] > '9') return false;
    number = number * 10 + (label[i] - '0');
  }
  char serial[16];
  std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(Little(sector + 0x27, 4)));
  return images::VolumeSerial(number) == serial;
}

bool IsOwnImage(const std::string& image) {
  int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  unsigned char sector[512];
  bool own = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::pread(fd, sector, sizeof sector, 0) == sizeof sector &&
             IsOwnBootSector(sector, sizeof sector, static_cast<std::uint64_t>(st.st_size));
  ::close(fd);
  return own;
}

int WriteImageFrom(const std::string& folder, const std::string& image, int number, RunServices& services) {
  struct stat st;
  std::string why;
  if (::lstat(image.c_str(), &st) == 0 && !IsOwnImage(image) && !MayReplace(image, services, &why)) {
    std::fprintf(services.errors, "wendmark: disk %d not written (%s)%s%s\n", number, image.c_str(),
                 why.empty() ? "" : ": ", why.c_str());
    return kExitNotWritten;
  }
  std::string error;
  if (!images::MakeFloppyImage(folder, image, number, &error)) {
    std::fprintf(services.errors, "wendmark: %s\n", error.c_str());
    return kExitNotWritten;
  }
  std::fprintf(services.report, "wrote %s\n", image.c_str());
  return kExitWritten;
}

}  // namespace wendmark
