// The places an engine test runs in: the in-memory file system, or the real
// file layer of the platform (POSIX natively, Win32 under Wine) in a
// temporary folder. Each gives a target folder and an archive path in the
// system's own form, and looks at what the engine left behind without going
// through the engine. A session runs the engine on the world's files through
// a fault-injecting and a logging layer, whichever world it is.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "tests/fakes/fake_message_boxes.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/logging_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/support/temp_dir.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/strings.h"

namespace tests {

// N bytes of a pattern that differs with SEED and repeats nowhere near a
// buffer's size, so that a misplaced or doubled block shows.
inline std::string Bytes(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + seed * 17 + (i >> 7)) & 0xFF);
  return s;
}

// The texts users see, written out here rather than taken from the table,
// so that a changed table text fails the tests.
constexpr const char* kCorrupt =
    "Unable to read from the extraction file.  Self-extracting file is corrupt.  Please acquire a "
    "new version of the file and try again.";
constexpr const char* kCannotWrite =
    "Unable to write to a file.  Either the file already exists and is in use by another program, "
    "or the file exists and is read only,  or the destination directory is read only.  Try running "
    "this program in a different directory.";
constexpr const char* kExtractionDiskFull =
    "Unable to continue extraction of files due to destination directory being out of disk space.  "
    "Please free some disk space and run this program again.";


class EngineWorld {
 public:
  virtual ~EngineWorld() = default;
  virtual platform::FileSystem& fs() = 0;
  virtual std::string Root() const = 0;  // holds the target and the archive
  std::string Target() const { return Root() + "\\target"; }
  std::string ArchivePath() const { return Root() + "\\setup.exe"; }
  virtual void Put(const std::string& path, const std::string& data) = 0;
  virtual std::optional<std::string> Get(const std::string& path) = 0;
  virtual bool IsDir(const std::string& path) = 0;
  virtual void MakeDir(const std::string& path) = 0;
  virtual void MakeReadOnly(const std::string& path) = 0;
  // Whether the file layer reports the path as read-only (Wine keeps no
  // read-only attribute on folders).
  bool ReportsReadOnly(const std::string& path) {
    std::uint32_t a = 0;
    return fs().GetAttributes(path.c_str(), &a) && (a & platform::attr::kReadOnly);
  }
  // Every file below Root(), relative to it, backslash-separated, sorted.
  virtual std::vector<std::string> Files() = 0;
  // Whether the platform keeps a creation time the engine sets.
  virtual bool KeepsCreationTime() const = 0;
  platform::FileTimes Times(const std::string& path) {
    platform::FileTimes t;
    platform::FileHandle h = 0;
    if (fs().Open(path.c_str(), platform::OpenMode::kReadShared, &h)) {
      (void)fs().GetTimes(h, &t);
      (void)fs().Close(h);
    }
    return t;
  }
};

class MemoryEngineWorld final : public EngineWorld {
 public:
  MemoryEngineWorld() { fake.AddDirectory("C:\\root\\target"); }
  platform::FileSystem& fs() override { return fake; }
  std::string Root() const override { return "C:\\root"; }
  void Put(const std::string& path, const std::string& data) override { fake.AddFile(path, data); }
  std::optional<std::string> Get(const std::string& path) override { return fake.Contents(path); }
  bool IsDir(const std::string& path) override { return fake.IsDirectory(path); }
  void MakeDir(const std::string& path) override { fake.AddDirectory(path); }
  void MakeReadOnly(const std::string& path) override {
    fake.SetAttributes(path, fake.Attributes(path) | platform::attr::kReadOnly);
  }
  std::vector<std::string> Files() override {
    std::vector<std::string> out;
    for (const std::string& f : fake.Files()) out.push_back(f.substr(Root().size() + 1));
    return out;
  }
  bool KeepsCreationTime() const override { return true; }

  tests::MemoryFileSystem fake;
};

class RealEngineWorld final : public EngineWorld {
 public:
  RealEngineWorld() { tests::MakeDirs(Target()); }
  platform::FileSystem& fs() override { return platform::DefaultFileSystem(); }
  std::string Root() const override { return dir_.path(); }
  void Put(const std::string& path, const std::string& data) override;
  std::optional<std::string> Get(const std::string& path) override;
  bool IsDir(const std::string& path) override;
  void MakeDir(const std::string& path) override { tests::MakeDirs(path); }
  void MakeReadOnly(const std::string& path) override { tests::SetReadOnly(path, true); }
  std::vector<std::string> Files() override;
  bool KeepsCreationTime() const override { return false; }

 private:
  tests::TempDir dir_{tests::TempDir::Where::kMemoryIfAny};  // the fault sweep makes hundreds
};

// "Fake": in memory; "Real": the platform's file layer.
std::unique_ptr<EngineWorld> MakeWorld(const std::string& kind);

// Answers the overwrite question from a queue (then `fallback`) and
// records every name asked about.
class ScriptedPrompt final : public kivo::OverwritePrompt {
 public:
  int Ask(const char* name) override {
    asked.push_back(name);
    if (answers.empty()) return fallback;
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<int> answers;
  int fallback = kivo::kAnswerNo;
  std::vector<std::string> asked;
};

class RecordingLauncher final : public kivo::ProgramLauncher {
 public:
  bool Start(const char* program, const char* directory) override {
    started.push_back({program, directory});
    return result;
  }
  bool result = true;
  std::vector<std::pair<std::string, std::string>> started;
};

class FailingMemory final : public platform::Memory {
 public:
  void* Allocate(std::uint32_t size) override {
    if (size == failSize) return nullptr;
    return platform::DefaultMemory().Allocate(size);
  }
  void Release(void* block) override { platform::DefaultMemory().Release(block); }
  std::uint32_t failSize = 0;
};

// One extraction's services around a world.
struct Session {
  explicit Session(EngineWorld& w) : world(w), faults(w.fs()), log(faults) {
    options.archivePath.Assign(w.ArchivePath().c_str());
    options.targetDirectory.Assign(w.Target().c_str());
  }
  bool Extract() {
    kivo::Extractor extractor({fs(), memory, messages, prompt, launcher});
    bool ok = extractor.ExtractArchive(options);
    status = extractor.status();
    return ok;
  }
  // The file layer the engine sees: the world's own, through the layers.
  platform::FileSystem& fs() { return log; }
  EngineWorld& world;
  tests::FaultyFileSystem faults;
  tests::LoggingFileSystem log;
  tests::FakeMessageBoxes boxes;
  kivo::Messages messages{boxes, kivo::CompiledStrings()};
  ScriptedPrompt prompt;
  RecordingLauncher launcher;
  FailingMemory memory;
  kivo::ExtractOptions options;
  kivo::ExtractStatus status = kivo::ExtractStatus::kNotRun;
};

// The one message box shown, or "" with a failure when there was none or more.
std::string OnlyMessage(const Session& run);

}  // namespace tests
