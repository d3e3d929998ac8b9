// A small world for builder tests: an in-memory file system with the disk
// images on C: and a floppy drive A:, seen by the builder through a
// fault-injecting and a logging layer; scripted drives and message boxes, a
// package, and a stand-in for the progress dialog that records what it
// would have shown.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "diskmaker/builder/disk_builder.h"
#include "diskmaker/builder/progress_dialog_logic.h"
#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "diskmaker/resources/strings.h"
#include "platform/text.h"
#include "tests/fakes/fake_drives.h"
#include "tests/fakes/fake_message_boxes.h"
#include "tests/fakes/fake_process.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/logging_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/support/texts.h"
#include "tests/unit/builder/builder_texts.h"

namespace tests {

// Answers only [Paths] DiskImages, with whatever the test sets.
class SettingsProfile final : public platform::Profile {
 public:
  std::uint32_t GetString(const char* section, const char* key, const char* fallback, char* buffer,
                          std::uint32_t capacity, const char*) const override {
    const char* value = fallback;
    if (std::string(section) == "Paths" && std::string(key) == "DiskImages") value = diskImages.c_str();
    return platform::TextCopy(buffer, capacity, value);
  }
  std::int32_t GetInt(const char*, const char*, std::int32_t fallback, const char*) const override {
    return fallback;
  }
  std::string diskImages = "C:\\images";
};

// The progress dialog's behaviour over a recorded window.
class FakeDialog final : public wendmark::ProgressDialogLogic {
 public:
  explicit FakeDialog(wendmark::CopyJob* job)
      : ProgressDialogLogic(job, wendmark::CompiledStrings()) {}

  platform::ui::MessageBoxes& Messages() override { return boxes; }

  struct Pump {
    std::string fileLine;
    int bar;
  };

  tests::FakeMessageBoxes boxes;
  std::string diskLine = "<template>";  // the template's own (empty) text until set
  std::string fileLine = "<template>";
  int barLow = -1, barHigh = -1, bar = -1;
  std::vector<Pump> pumps;  // the lines and bar each time waiting messages ran
  // The user acting while messages run (pressing Cancel, say).
  std::function<void(FakeDialog&)> onDispatch;
  bool refuseTimer = false;
  std::vector<std::string> timerCalls;
  std::vector<int> endCodes;

  // Lets a test press Cancel or run the timer as the window would.
  using ProgressDialogLogic::OnCancel;

 protected:
  void SetDiskLine(const char* text) override { diskLine = text; }
  void SetFileLine(const char* text) override { fileLine = text; }
  void SetBarRange(int low, int high) override {
    barLow = low;
    barHigh = high;
  }
  void SetBarPosition(int position) override { bar = position; }
  void DispatchWaitingMessages() override {
    pumps.push_back({fileLine, bar});
    if (onDispatch) onDispatch(*this);
  }
  bool StartTimer(std::uintptr_t id, std::uint32_t ms) override {
    timerCalls.push_back("start " + std::to_string(id) + " " + std::to_string(ms));
    return !refuseTimer;
  }
  void StopTimer(std::uintptr_t id) override { timerCalls.push_back("stop " + std::to_string(id)); }
  void EndWith(int code) override { endCodes.push_back(code); }
};

// Counts how often the build asks for memory.
class CountingMemory final : public platform::Memory {
 public:
  void* Allocate(std::uint32_t size) override {
    ++allocations;
    lastSize = size;
    if (refusals > 0) {
      --refusals;
      return nullptr;
    }
    return platform::DefaultMemory().Allocate(size);
  }
  void Release(void* block) override { platform::DefaultMemory().Release(block); }
  int allocations = 0;
  std::uint32_t lastSize = 0;
  int refusals = 0;  // how many of the next requests find no memory
};

// Everything a build needs, wired together: a three-disk package of the
// product "Sample Suite" whose images lie in C:\images, floppy drive A:.
struct BuilderWorld {
  BuilderWorld() : BuilderWorld(nullptr) {}
  // The files on `below` (the platform's real file layer, say) instead of in memory.
  explicit BuilderWorld(platform::FileSystem* below)
      : faults(below != nullptr ? *below : fs), packages(profile, program), driveList(drives),
        builder(&packages, &driveList, Services()), dialog(&builder) {
    drives.drives.push_back({"A:\\", platform::drive_type::kRemovable, "3.5 Floppy (A:)"});
    driveList.Enumerate();
    fs.AddDirectory("A:\\");
    fs.AddDirectory("C:\\images");
    packages.name.Assign("Sample Suite");
    builder.AttachProgress(&dialog);
    builder.UseCopyBuffer(&buffer);
  }
  ~BuilderWorld() { buffer.Release(memory); }
  wendmark::BuilderServices Services() {
    return {log, drives, wendmark::CompiledStrings(), memory};
  }

  // Adds disk `number` (0-based) with the given entries.
  // The model's array does not grow: it is laid out anew from every disk so far.
  wendmark::DiskEntry& AddDisk(std::vector<std::string> files, bool selected = true) {
    disksSoFar.push_back({std::move(files), selected});
    EXPECT_TRUE(packages.disks.Reset(static_cast<std::uint32_t>(disksSoFar.size())));
    for (std::uint32_t d = 0; d < disksSoFar.size(); ++d) {
      wendmark::DiskEntry& disk = packages.disks[d];
      disk.number = static_cast<std::int32_t>(d);
      disk.selected = disksSoFar[d].second;
      EXPECT_TRUE(tests::Fill(disk.files, disksSoFar[d].first));
    }
    return packages.disks[packages.disks.size() - 1];
  }
  std::vector<std::pair<std::vector<std::string>, bool>> disksSoFar;

  // Runs the build the way the dialog does: first paint, then the timer.
  int RunDialog() {
    dialog.OnInitDialog();
    dialog.OnPaint();
    dialog.OnTimer(wendmark::kStartTimerId);
    return dialog.endCodes.empty() ? 0 : dialog.endCodes.back();
  }

  const std::vector<tests::ShownMessage>& shown() const { return dialog.boxes.shown; }

  // The bytes each Write was asked to store, in order.
  std::vector<std::uint32_t> Writes() const {
    std::vector<std::uint32_t> sizes;
    for (const std::string& line : log.Log()) {
      if (line.rfind("Write ", 0) == 0) sizes.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(6))));
    }
    return sizes;
  }

  std::vector<std::string> FloppyFiles() const {
    std::vector<std::string> out;
    for (const std::string& f : fs.Files()) {
      if (f.rfind("A:\\", 0) == 0) out.push_back(f);
    }
    return out;
  }

  tests::MemoryFileSystem fs;       // what is stored
  tests::FaultyFileSystem faults{fs};
  tests::LoggingFileSystem log{faults};  // what the builder works on
  tests::FakeDrives drives;
  CountingMemory memory;
  wendmark::CopyBufferStore buffer;
  SettingsProfile profile;
  tests::ProgramAt program{"C:\\tools\\Wendmark.exe", "C:\\tools"};  // its folder is all that matters
  wendmark::PackageList packages;
  wendmark::DriveList driveList;
  wendmark::DiskBuilder builder;
  FakeDialog dialog;
};

// A recognisable byte pattern of the given length.
inline std::string Bytes(std::size_t n, char seed = 'a') {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + (i * 7 + i / 251) % 26);
  return s;
}

}  // namespace tests
