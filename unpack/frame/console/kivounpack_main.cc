// kivounpack: the self-extractor as a Linux console program. The archive is
// appended to this program's own file. Exit status 0 when everything was
// extracted (and the program started), 2 after a failure or an abort, 1 when
// the archive file cannot be opened at all.
#include <cstdio>
#include <string>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "unpack/engine/extractor.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/console/console_ui.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/strings.h"

namespace {

// The arguments as the one command line the options are read from; an
// argument with blanks keeps them by being quoted after its option letter.
std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (!line.empty()) line += ' ';
    if (arg.size() > 2 && arg[0] == '-' && arg[2] != '"' && arg.find(' ') != std::string::npos) {
      line += arg.substr(0, 2) + '"' + arg.substr(2) + '"';
    } else {
      line += arg;
    }
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  kivo::console::ConsoleMessageBoxes boxes(stdin, stderr);
  kivo::Messages messages(boxes, kivo::CompiledStrings());

  kivo::ExtractOptions options;
  char own[platform::kMaxPath];
  if (platform::DefaultProcess().ProgramPath(own, sizeof own) == 0) {
    messages.ShowMessage(kivo::IDS_NO_OWN_NAME);
    return 1;
  }
  char current[platform::kMaxPath];
  platform::DefaultProcess().CurrentDirectory(current, sizeof current);
  options.archivePath.Assign(own);
  options.targetDirectory.Assign(current);
  kivo::ParseCommandLine(JoinArguments(argc, argv).c_str(), &options);
  kivo::MakeTargetAbsolute(&options, current);

  kivo::console::ConsolePrompt prompt(messages, stdin, stderr);
  kivo::console::ConsoleLauncher launcher;
  kivo::Extractor extractor({platform::DefaultFileSystem(), platform::DefaultMemory(), messages,
                             prompt, launcher});
  bool ok = extractor.ExtractArchive(options);
  if (extractor.status() == kivo::ExtractStatus::kCannotOpen) return 1;
  return ok ? 0 : 2;
}
