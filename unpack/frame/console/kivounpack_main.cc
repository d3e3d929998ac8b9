// kivounpack: the self-extractor as a Linux console program. The archive is
// appended to this program's own file (or -f names another). The command
// line and the exit statuses are in console_options.h and --help.
//
// The archive's names are in a Windows ANSI code page (1252 unless
// "--codepage N" names another); they are written in the host's encoding.
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/posix/code_page.h"
#include "platform/posix/paths.h"
#include "platform/process.h"
#include "tandrel_version.h"
#include "unpack/engine/extractor.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/command_line.h"
#include "unpack/frame/console/console_options.h"
#include "unpack/frame/console/console_ui.h"
#include "unpack/frame/console/dry_run.h"
#include "unpack/frame/console/interrupt.h"
#include "unpack/frame/console/reasons.h"
#include "unpack/frame/strings.h"

namespace {

using kivo::console::ConsoleOptions;
namespace console = kivo::console;

int Refuse(const std::string& why) {
  std::fprintf(stderr, "kivounpack: %s\n", why.c_str());
  return console::kExitRefused;
}

int ExitStatusOf(const kivo::Extractor& engine, bool ok) {
  if (engine.status() == kivo::ExtractStatus::kCannotOpen) return console::kExitRefused;
  return ok ? console::kExitDone : console::kExitFailed;
}

// A folder named with -d that is not there yet. Anything else there (a file,
// a folder that cannot be used) is the engine's to report.
bool IsMissing(const std::string& folder) {
  struct stat st;
  return !folder.empty() && ::stat(folder.c_str(), &st) != 0 && errno == ENOENT;
}

void PrintListing(const console::DryRunFileSystem& dry, const console::ProgramNote& note,
                  const platform::console::HostText& text) {
  std::printf("program: %s\n", note.program().empty() ? "(none)" : text.ToHost(note.program().c_str()).c_str());
  for (const console::DryRunEntry& entry : dry.entries()) {
    std::printf("%12llu  %s\n", static_cast<unsigned long long>(entry.size), text.ToHost(entry.name.c_str()).c_str());
  }
}

void PrintCheck(const char* archive, const console::DryRunFileSystem& dry, const console::ProgramNote& note,
                const platform::console::HostText& text) {
  unsigned long long bytes = 0;
  for (const console::DryRunEntry& entry : dry.entries()) bytes += entry.size;
  std::size_t count = dry.entries().size();
  std::printf("%s: sound, %zu %s, %llu %s of data, program %s\n", text.ToHost(archive).c_str(), count,
              count == 1 ? "entry" : "entries", bytes, bytes == 1 ? "byte" : "bytes",
              note.program().empty() ? "(none)" : text.ToHost(note.program().c_str()).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // The host's encoding of names is the locale's.
  std::setlocale(LC_CTYPE, "");
  ConsoleOptions given;
  std::string error;
  if (!console::ParseConsoleArguments(std::vector<std::string>(argv + 1, argv + argc), &given, &error)) {
    return Refuse(error);
  }
  if (given.action == ConsoleOptions::Action::kHelp) {
    std::fputs(console::ConsoleUsage().c_str(), stdout);
    return console::kExitDone;
  }
  if (given.action == ConsoleOptions::Action::kVersion) {
    std::printf("kivounpack %s\n", TANDREL_VERSION);
    return console::kExitDone;
  }
  platform::posix::CodePage page;
  if (!page.Load(given.codePage, &error)) return Refuse(error);
  platform::console::HostText text(&page);
  platform::console::TerminalBoxes boxes(stdin, stderr, console::MessageBoxStyle(&text));
  kivo::Messages messages(boxes, kivo::CompiledStrings());
  boxes.Explain([&messages] { return console::DescribeCause(messages.TakeCause()); });
  boxes.QuietWhile([] { return console::InterruptGuard::Caught() != 0; });

  kivo::ExtractOptions options;
  if (given.archive.empty()) {
    char own[platform::kMaxPath];
    if (platform::DefaultProcess().ProgramPath(own, sizeof own) == 0) {
      messages.ShowMessage(kivo::IDS_NO_OWN_NAME);
      return console::kExitRefused;
    }
    options.archivePath.Assign(own);
  } else {
    options.archivePath.Assign(given.archive.c_str());
  }
  char current[platform::kMaxPath];
  platform::DefaultProcess().CurrentDirectory(current, sizeof current);
  options.targetDirectory.Assign(given.target.empty() ? current : given.target.c_str());
  kivo::MakeTargetAbsolute(&options, current);
  // The folders named by the host stay as it spells them; the names the
  // archive adds below them are converted.
  text.KeepAsIs(options.archivePath.c_str());
  text.KeepAsIs(options.targetDirectory.c_str());

  platform::console::HostPathFileSystem host(platform::DefaultFileSystem(), text);
  console::InterruptGuard files(host);
  console::ConsolePrompt prompt(messages, stdin, stderr, &text, given.overwrite);
  const std::string folder = platform::posix::TranslatePath(text.ToHost(options.targetDirectory.c_str()).c_str());

  // --check and --list are an extraction that writes nothing. So is the
  // first pass into a folder that is not there yet: it is made only for a
  // kit that is sound, so a damaged one leaves no empty folder behind.
  if (given.action != ConsoleOptions::Action::kExtract || IsMissing(folder)) {
    console::DryRunFileSystem dry(files, options.targetDirectory.c_str());
    console::ProgramNote note;
    kivo::Extractor checker({dry, platform::DefaultMemory(), messages, prompt, note});
    bool sound = checker.ExtractArchive(options);
    if (!sound) return ExitStatusOf(checker, sound);
    if (given.action == ConsoleOptions::Action::kList) {
      PrintListing(dry, note, text);
      return console::kExitDone;
    }
    if (given.action == ConsoleOptions::Action::kCheck) {
      PrintCheck(options.archivePath.c_str(), dry, note, text);
      return console::kExitDone;
    }
    // A folder that cannot be made is reported by the engine, which cannot
    // use it either.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
  }

  console::ConsoleLauncher launcher(&text, stdout, [&prompt] { return prompt.unanswered() > 0; });
  kivo::Extractor extractor({files, platform::DefaultMemory(), messages, prompt, launcher});
  files.Follow([&extractor] { return extractor.entryInProgress(); }, options.targetDirectory.c_str(), &text);
  bool ok = extractor.ExtractArchive(options);
  if (int sig = console::InterruptGuard::Caught(); sig != 0) {
    std::fprintf(stderr, "%s\n", files.Report(ok).c_str());
    return 128 + sig;
  }
  int status = ExitStatusOf(extractor, ok);
  if (status == console::kExitDone && prompt.unanswered() > 0) {
    std::fprintf(stderr,
                 "kivounpack: kept %u existing file%s that nobody was asked about (input ended); "
                 "--yes replaces such files, --no-overwrite keeps them\n",
                 prompt.unanswered(), prompt.unanswered() == 1 ? "" : "s");
    return console::kExitKept;
  }
  return status;
}
