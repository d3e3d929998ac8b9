// A minimal Windows program around the archive and engine code, linked the
// way the installer stub is (own entry point, no C runtime), to watch what
// the engine costs in size and which system libraries it pulls in. It
// extracts for real, without the stub's window: the overwrite question is a
// plain Yes/No/Cancel box here, standing in for the stub's own dialog.
#include <windows.h>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/runtime.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "platform/windows_path.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/win32/launch.h"

namespace {

class BoxPrompt final : public kivo::OverwritePrompt {
 public:
  BoxPrompt(const kivo::Messages& messages, platform::win32::ResourceStringTable& strings)
      : messages_(messages), strings_(strings) {}
  int Ask(const char* name) override {
    platform::BoundedString<512> question;
    messages_.FormatOverwriteQuestion(name, &question);
    char caption[128];
    strings_.Load(3, caption, sizeof caption);
    switch (MessageBoxA(nullptr, question.c_str(), caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDYES: return kivo::kAnswerYes;
      case IDNO: return kivo::kAnswerNo;
      case IDCANCEL: return kivo::kAnswerAbort;
      default: return 0;
    }
  }

 private:
  const kivo::Messages& messages_;
  platform::win32::ResourceStringTable& strings_;
};

int Run() {
  platform::win32::SystemMessageBoxes boxes;
  platform::win32::ResourceStringTable strings(GetModuleHandleA(nullptr));
  kivo::Messages messages(boxes, strings);
  kivo::ExtractOptions options;
  char path[MAX_PATH];
  if (platform::DefaultProcess().ProgramPath(path, sizeof path) == 0) {
    messages.ShowMessage(4);
    return 1;
  }
  options.archivePath.Assign(path);
  platform::DefaultProcess().CurrentDirectory(path, sizeof path);
  options.targetDirectory.Assign(path);
  kivo::ParseCommandLine(platform::path::ArgumentsOf(GetCommandLineA()), &options);
  kivo::MakeTargetAbsolute(&options, path);
  BoxPrompt prompt(messages, strings);
  kivo::win32::ShellLauncher launcher;
  kivo::Extractor extractor({platform::DefaultFileSystem(), platform::DefaultMemory(), messages,
                             prompt, launcher});
  extractor.ExtractArchive(options);
  return 0;
}

}  // namespace

// Started as the stub is: constructors first, the exit list last.
extern "C" void ProbeEntry() {
  platform::win32::RunStaticConstructors();
  platform::win32::ExitProgram(static_cast<unsigned>(Run()));
}
