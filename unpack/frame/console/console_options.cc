#include "unpack/frame/console/console_options.h"

#include "platform/console/code_page_option.h"
#include "platform/posix/code_page.h"
#include "platform/windows_path.h"

namespace kivo::console {
namespace {

const char kSeeHelp[] = " (kivounpack --help lists the options)";

// The value of -d or -f: attached ("-dDIR") or the next argument ("-d DIR").
// A path longer than the engine holds is refused rather than cut, since a
// cut path names another folder or file.
bool TakePath(const std::vector<std::string>& args, std::size_t* i, const char* what, std::string* value,
              std::string* error) {
  const std::string& arg = args[*i];
  std::string option = arg.substr(0, 2);
  if (arg.size() > 2) {
    *value = arg.substr(2);
  } else if (*i + 1 < args.size()) {
    *value = args[++*i];
  } else {
    value->clear();
  }
  if (value->empty()) {
    *error = option + " needs " + what;
    return false;
  }
  if (value->size() > platform::path::kMaxLength) {
    *error = "the " + std::string(what + 2) + " after " + option + " is longer than " +
             std::to_string(platform::path::kMaxLength) + " characters";
    return false;
  }
  return true;
}

bool TakeCodePage(const std::vector<std::string>& args, std::size_t* i, unsigned* number, std::string* error) {
  if (*i + 1 >= args.size()) {
    *error = "--codepage needs a value";
    return false;
  }
  const std::string& value = args[++*i];
  if (!platform::console::ParseCodePageNumber(value.c_str(), number)) {
    *error = "not a code page number: " + value;
    return false;
  }
  return true;
}

bool SetOverwrite(Overwrite wanted, ConsoleOptions* options, std::string* error) {
  if (options->overwrite != Overwrite::kAsk && options->overwrite != wanted) {
    *error = "--yes and --no-overwrite exclude each other";
    return false;
  }
  options->overwrite = wanted;
  return true;
}

}  // namespace

bool ParseConsoleArguments(const std::vector<std::string>& args, ConsoleOptions* options, std::string* error) {
  options->codePage = platform::posix::CodePage::kDefault;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options->action = ConsoleOptions::Action::kHelp;
      return true;
    }
    if (arg == "--version") {
      options->action = ConsoleOptions::Action::kVersion;
      return true;
    }
    bool ok = true;
    if (arg == "--list") {
      options->action = ConsoleOptions::Action::kList;  // a listing checks the kit as well
    } else if (arg == "--check") {
      if (options->action != ConsoleOptions::Action::kList) options->action = ConsoleOptions::Action::kCheck;
    } else if (arg == "--yes") {
      ok = SetOverwrite(Overwrite::kReplace, options, error);
    } else if (arg == "--no-overwrite") {
      ok = SetOverwrite(Overwrite::kKeep, options, error);
    } else if (arg == "--codepage") {
      ok = TakeCodePage(args, &i, &options->codePage, error);
    } else if (arg.compare(0, 2, "-d") == 0) {
      ok = TakePath(args, &i, "a folder", &options->target, error);
    } else if (arg.compare(0, 2, "-f") == 0) {
      ok = TakePath(args, &i, "a file", &options->archive, error);
    } else if (!arg.empty() && arg[0] == '-') {
      *error = "unknown option " + arg + kSeeHelp;
      ok = false;
    } else {
      *error = "unexpected argument " + arg + " (the folder comes after -d, the kit's file after -f)";
      ok = false;
    }
    if (!ok) return false;
  }
  return true;
}

std::string ConsoleUsage() {
  return std::string(
             "usage: kivounpack [-d DIR] [-f FILE] [--yes | --no-overwrite] [--codepage N]\n"
             "       kivounpack --list | --check [-d DIR] [-f FILE] [--codepage N]\n"
             "       kivounpack --help | --version\n"
             "\n"
             "Extracts the kit appended to this program (or to FILE) into the current\n"
             "folder (or DIR).\n"
             "\n"
             "  -d DIR          extract into DIR; a missing DIR is made, with its parents,\n"
             "                  once the kit has been checked (also -dDIR)\n"
             "  -f FILE         read the kit from FILE instead of this program (also -fFILE)\n"
             "  --list          check the kit, then show the program it names and every\n"
             "                  entry with its size; writes nothing\n"
             "  --check         find and validate the kit (size, checksum, names); writes\n"
             "                  nothing\n"
             "  --yes           replace existing files without asking\n"
             "  --no-overwrite  keep existing files without asking; each is named on stderr\n"
             "  --codepage N    the Windows ANSI code page of the kit's names (default 1252),\n"
             "                  one of ") +
         platform::posix::CodePage::SupportedList() +
         "\n"
         "  --help          show this text\n"
         "  --version       show the version\n"
         "\n"
         "An existing file is asked about on stderr (yes, no, yes to all, abort) and the\n"
         "answer is read from stdin, one per line. When stdin ends before an answer\n"
         "(no terminal, as in a script) the file is kept and named on stderr, and the\n"
         "exit status is 3: nothing is replaced that nobody agreed to replace.\n"
         "\n"
         "A Windows program the kit names is not started: its path is shown. Any other\n"
         "program it names is started in the target folder.\n"
         "\n"
         "Exit status:\n"
         "  0  extracted; with --list or --check, the kit is sound\n"
         "  1  a wrong command line, or the kit's file cannot be opened\n"
         "  2  extraction failed or was aborted, or the kit is damaged or missing (a\n"
         "     damaged kit's message is followed by a line that says what is wrong)\n"
         "  3  extracted, but existing files were kept that nobody was asked about\n"
         "  128+N  ended by signal N (SIGHUP 129, SIGINT 130, SIGTERM 143); the file\n"
         "         being written is removed, a file being replaced is kept as it was\n";
}

}  // namespace kivo::console
