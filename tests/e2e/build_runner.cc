// Runs one disk build the way the get-disks page starts it, for the
// end-to-end tests: the package description named on the command line
// (its folder stands in for the program's folder), the removable drives of
// the system, the real files, and the real "Copying Files" dialog.
//
//   build_runner.exe PACKLIST [PAUSE]
//
// PAUSE (milliseconds, default 0) is added to every flush of a written
// chunk, the way a real floppy takes its time, so that a test driver can
// read the dialog while a file is being copied. The exit code is the
// dialog's end code (1 written, 2 cancelled, 3 failed), or 10 and up when
// the build could not even start.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "diskmaker/builder/copy_progress_dlg.h"
#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "platform/text.h"
#include "platform/win32/message_boxes.h"
#include "tests/fakes/forwarding_file_system.h"

namespace {

// The program's path as the package description's folder makes it.
class ProgramBesidePackage final : public platform::Process {
 public:
  explicit ProgramBesidePackage(std::string path) : path_(std::move(path)) {}
  std::uint32_t ProgramPath(char* buffer, std::uint32_t capacity) const override {
    return platform::TextCopy(buffer, capacity, path_.c_str());
  }
  std::uint32_t CurrentDirectory(char* buffer, std::uint32_t capacity) const override {
    return platform::DefaultProcess().CurrentDirectory(buffer, capacity);
  }

 private:
  std::string path_;
};

// The real file system with a pause after every flush.
class SlowFloppy final : public tests::ForwardingFileSystem {
 public:
  SlowFloppy(platform::FileSystem& real, DWORD pause) : ForwardingFileSystem(real), pause_(pause) {}
  platform::Status Flush(platform::FileHandle f) override {
    platform::Status flushed = ForwardingFileSystem::Flush(f);
    if (pause_ != 0) Sleep(pause_);
    return flushed;
  }

 private:
  DWORD pause_;
};

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS);
  if (argc < 2) return 10;
  std::string packlist = argv[1];
  DWORD pause = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 0;
  std::string::size_type cut = packlist.find_last_of('\\');
  if (cut == std::string::npos) return 10;
  ProgramBesidePackage program(packlist.substr(0, cut) + "\\Wendmark.exe");

  wendmark::PackageList packages(platform::DefaultProfile(), program);
  if (!packages.Load(packlist.c_str())) return 11;
  wendmark::DriveList drives(platform::DefaultDrives());
  if (!drives.Enumerate()) return 12;

  SlowFloppy files(platform::DefaultFileSystem(), pause);
  platform::win32::ResourceStringTable strings(GetModuleHandleA(nullptr));
  wendmark::DiskBuilder builder(&packages, &drives,
                                {files, platform::DefaultDrives(), strings, platform::DefaultMemory()});
  int code = 0;
  wendmark::BuildInDialog(builder, nullptr, strings, &code);
  return code;
}
