// KivoUnpack.exe: the self-extracting installer stub. It runs without a C
// runtime: the entry point below stands in for the runtime's start-up code,
// and every service comes from the system's own libraries.
#include <windows.h>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/win32/file_system.h"
#include "platform/win32/runtime.h"
#include "platform/windows_path.h"
#include "platform/win32/message_boxes.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/win32/extractor_window.h"
#include "unpack/frame/win32/launch.h"
#include "unpack/frame/win32/overwrite_dialog.h"

// Exit code 1 only when the program never got as far as its window; after
// any extraction, complete or not, 0.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  platform::win32::SystemMessageBoxes boxes;  // no owner until the window exists
  platform::win32::ResourceStringTable strings(instance);
  kivo::Messages messages(boxes, strings);

  char path[MAX_PATH];
  if (platform::DefaultProcess().ProgramPath(path, sizeof path) == 0) {
    messages.ShowMessage(kivo::IDS_NO_OWN_NAME);
    return 1;
  }
  kivo::ExtractOptions options;
  options.archivePath.Assign(path);
  platform::DefaultProcess().CurrentDirectory(path, sizeof path);
  options.targetDirectory.Assign(path);
  kivo::ParseCommandLine(commandLine, &options);
  kivo::MakeTargetAbsolute(&options, path);

  kivo::win32::OverwriteDialog prompt(instance);
  kivo::win32::ShellLauncher launcher;
  kivo::Extractor extractor({platform::win32::PlainFileSystem(), platform::DefaultMemory(), messages,
                             prompt, launcher});
  kivo::win32::ExtractorRun run{instance, &options, &extractor};
  HWND window = kivo::win32::CreateExtractorWindow(&run);
  if (window == nullptr) return 1;
  boxes.SetOwner(window);
  prompt.SetOwner(window);
  launcher.SetOwner(window);
  // The update delivers the first paint, and the whole extraction runs in
  // it; the window is gone again when UpdateWindow returns.
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

extern "C" void KivoUnpackStart() {
  platform::win32::RunStaticConstructors();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  char* arguments = const_cast<char*>(platform::path::ArgumentsOf(GetCommandLineA()));
  platform::win32::ExitProgram(static_cast<unsigned>(WinMain(instance, nullptr, arguments, SW_SHOWNORMAL)));
}
