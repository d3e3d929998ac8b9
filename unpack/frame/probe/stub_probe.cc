// A minimal Windows program around the archive and engine code, linked the
// way the installer stub is (own entry point, no C runtime), to watch what
// the engine costs in size and which system libraries it pulls in. It
// extracts for real: the overwrite question is a plain Yes/No/Cancel box
// here, standing in for the stub's own dialog.
#include <windows.h>
#include <shellapi.h>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/win32/message_boxes.h"
#include "unpack/engine/extractor.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/messages.h"

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

class ShellLauncher final : public kivo::ProgramLauncher {
 public:
  bool Start(const char* program, const char* directory) override {
    char self[MAX_PATH];
    if (platform::DefaultProcess().ProgramPath(self, sizeof self) != 0) {
      HKEY key;
      if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\VQLT", 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Info", 0, REG_SZ, reinterpret_cast<const BYTE*>(self),
                       static_cast<DWORD>(lstrlenA(self) + 1));
        RegCloseKey(key);
      }
    }
    HINSTANCE h = ShellExecuteA(nullptr, nullptr, program, nullptr, directory, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(h) > 32;
  }
};

// The command line after the program's own name.
const char* Arguments(const char* line) {
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

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
  kivo::ParseCommandLine(Arguments(GetCommandLineA()), &options);
  kivo::MakeTargetAbsolute(&options, path);
  BoxPrompt prompt(messages, strings);
  ShellLauncher launcher;
  kivo::Extractor extractor({platform::DefaultFileSystem(), platform::DefaultMemory(), messages,
                             prompt, launcher});
  extractor.ExtractArchive(options);
  return 0;
}

}  // namespace

extern "C" void ProbeEntry() { ExitProcess(static_cast<UINT>(Run())); }
