// kivounpack: the self-extractor as a Linux console program. The archive is
// appended to this program's own file. Exit status 0 when everything was
// extracted (and the program started), 2 after a failure or an abort, 1 when
// the archive file cannot be opened at all (or the code page asked for is
// not one it knows).
//
// The archive's names are in a Windows ANSI code page (1252 unless
// "--codepage N" names another); they are written in the host's encoding.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "platform/process.h"
#include "unpack/engine/extractor.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/console/console_ui.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/strings.h"

namespace {

// The arguments as the one command line the options are read from; an
// argument with blanks keeps them by being quoted after its option letter.
std::string JoinArguments(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) {
    if (!line.empty()) line += ' ';
    if (arg.size() > 2 && arg[0] == '-' && arg[2] != '"' && arg.find(' ') != std::string::npos) {
      line += arg.substr(0, 2) + '"' + arg.substr(2) + '"';
    } else {
      line += arg;
    }
  }
  return line;
}

// Takes "--codepage N" out of the arguments; the rest are the extractor's
// own. False with `error` for a number that is not a code page we know.
bool TakeCodePage(std::vector<std::string>* args, platform::posix::CodePage* page, std::string* error) {
  unsigned number = platform::posix::CodePage::kDefault;
  for (std::size_t i = 0; i < args->size(); ++i) {
    if ((*args)[i] != "--codepage") continue;
    if (i + 1 >= args->size()) {
      *error = "--codepage needs a value";
      return false;
    }
    const std::string& value = (*args)[i + 1];
    char* end = nullptr;
    unsigned long n = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || value[0] < '0' || value[0] > '9' || *end != '\0' || n > 65535) {
      *error = "not a code page number: " + value;
      return false;
    }
    number = static_cast<unsigned>(n);
    args->erase(args->begin() + static_cast<std::ptrdiff_t>(i), args->begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return page->Load(number, error);
}

}  // namespace

int main(int argc, char** argv) {
  // The host's encoding of names is the locale's.
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  platform::posix::CodePage page;
  std::string error;
  if (!TakeCodePage(&args, &page, &error)) {
    std::fprintf(stderr, "kivounpack: %s\n", error.c_str());
    return 1;
  }
  kivo::console::HostText text(&page);
  kivo::console::ConsoleMessageBoxes boxes(stdin, stderr, &text);
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
  kivo::ParseCommandLine(JoinArguments(args).c_str(), &options);
  kivo::MakeTargetAbsolute(&options, current);
  // The folders named by the host stay as it spells them; the names the
  // archive adds below them are converted.
  text.KeepAsIs(options.archivePath.c_str());
  text.KeepAsIs(options.targetDirectory.c_str());

  kivo::console::HostPathFileSystem files(platform::DefaultFileSystem(), text);
  kivo::console::ConsolePrompt prompt(messages, stdin, stderr, &text);
  kivo::console::ConsoleLauncher launcher(&text);
  kivo::Extractor extractor({files, platform::DefaultMemory(), messages, prompt, launcher});
  bool ok = extractor.ExtractArchive(options);
  if (extractor.status() == kivo::ExtractStatus::kCannotOpen) return 1;
  return ok ? 0 : 2;
}
