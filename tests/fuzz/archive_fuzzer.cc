// libFuzzer target over the archive reader and the extraction engine, on the
// in-memory file system. The first input byte picks the answers to the
// overwrite question and whether the size and checksum fields are made to
// match (so that mutations get past validation); the rest is the archive
// file. Whatever the bytes, nothing may be written outside the target folder,
// no handle may stay open, no temporary file may be left, and no file outside
// may change.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/memory.h"
#include "platform/ui.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "unpack/archive/checksum.h"
#include "unpack/archive/format.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/strings.h"

namespace {

class Boxes final : public platform::ui::MessageBoxes {
 public:
  int Show(const char*, const char*, std::uint32_t) override { return platform::ui::kIdOk; }
};

class Prompt final : public kivo::OverwritePrompt {
 public:
  explicit Prompt(std::uint8_t pattern) : pattern_(pattern) {}
  int Ask(const char*) override {
    static const int answers[] = {kivo::kAnswerYes, kivo::kAnswerNo, kivo::kAnswerYesToAll,
                                  kivo::kAnswerAbort, 0};
    return answers[(pattern_ >> (2 * (asked_++ % 3))) % 5];
  }

 private:
  std::uint8_t pattern_;
  unsigned asked_ = 0;
};

class Launcher final : public kivo::ProgramLauncher {
 public:
  bool Start(const char*, const char*) override { return true; }
};

// Makes the size and checksum of the first archive in `file` right.
void Reseal(std::string& file) {
  for (std::size_t at = 0; at + kivo::kHeaderSize <= file.size(); ++at) {
    auto* p = reinterpret_cast<std::uint8_t*>(file.data() + at);
    if (kivo::LoadLe32(p) != kivo::kSignatureLow || kivo::LoadLe32(p + 4) != kivo::kSignatureHigh)
      continue;
    kivo::ArchiveChecksum sum;
    sum.Update(p + kivo::kHeaderSize, static_cast<std::uint32_t>(file.size() - at - kivo::kHeaderSize));
    kivo::StoreLe32(p + 280, static_cast<std::uint32_t>(file.size()));
    kivo::StoreLe32(p + 284, sum.value());
    return;
  }
}

// A temporary file of the engine ("~kv0.tmp" beside the file it replaces)
// left behind. An entry may have such a name itself: then the archive holds
// the name, with its terminator, and the file is one it asked for.
bool IsLeftoverTemporary(const std::string& relative, const std::string& archive) {
  std::size_t slash = relative.find_last_of('\\');
  std::string name = slash == std::string::npos ? relative : relative.substr(slash + 1);
  if (name.rfind("~kv", 0) != 0) return false;
  return archive.find(relative + '\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  std::uint8_t control = data[0];
  std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  if (control & 0x80) Reseal(file);

  tests::MemoryFileSystem fs;
  fs.AddFile("C:\\in\\setup.exe", file);
  fs.AddFile("C:\\outside.txt", "outside");
  fs.AddFile("C:\\out\\t\\a.txt", "existing");
  fs.AddDirectory("C:\\out\\t\\sub");
  tests::FaultyFileSystem files(fs);
  if (control & 0x40) files.SetReadLimit(7);

  Boxes boxes;
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  Prompt prompt(control & 0x3F);
  Launcher launcher;
  {
    kivo::Extractor extractor({files, platform::DefaultMemory(), messages, prompt, launcher});
    kivo::ExtractOptions options;
    options.archivePath.Assign("C:\\in\\setup.exe");
    options.targetDirectory.Assign("C:\\out\\t");
    extractor.ExtractArchive(options);
  }

  if (fs.OpenHandleCount() != 0) __builtin_trap();
  if (fs.Contents("C:\\outside.txt") != std::optional<std::string>("outside")) __builtin_trap();
  if (fs.Contents("C:\\in\\setup.exe") != std::optional<std::string>(file)) __builtin_trap();
  for (const std::string& f : fs.Files()) {
    if (f == "C:\\in\\setup.exe" || f == "C:\\outside.txt") continue;
    if (fs.Key(f).rfind("c:\\out\\t\\", 0) != 0) __builtin_trap();
    if (IsLeftoverTemporary(f.substr(std::strlen("C:\\out\\t\\")), file)) __builtin_trap();
  }
  for (const std::string& d : fs.Directories()) {
    std::string key = fs.Key(d);
    if (key != "c:\\" && key != "c:\\in" && key != "c:\\out" && key.rfind("c:\\out\\t", 0) != 0)
      __builtin_trap();
  }
  return 0;
}
