#include "unpack/frame/console/console_ui.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/posix/paths.h"

extern char** environ;

namespace kivo::console {
namespace {

using platform::console::ToHost;

// By the name's ending, or by the "MZ" that every DOS and Windows program
// file begins with (a kit may name one without an extension).
bool IsWindowsProgram(const std::string& path) {
  std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && path.find('/', dot) == std::string::npos) {
    std::string ending = path.substr(dot + 1);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == "exe" || ending == "com" || ending == "bat" || ending == "cmd") return true;
  }
  char magic[2] = {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool mz = std::fread(magic, 1, 2, file) == 2 && magic[0] == 'M' && magic[1] == 'Z';
  std::fclose(file);
  return mz;
}

}  // namespace

platform::console::TerminalBoxes::Options MessageBoxStyle(const platform::console::HostText* text) {
  return {.reply = platform::console::TerminalBoxes::Reply::kAcknowledge,
          .host = text,
          .slashes = true,
          .reasonPrefix = "kivounpack: "};
}

int ConsolePrompt::Ask(const char* name) {
  if (policy_ == Overwrite::kReplace) return kAnswerYesToAll;
  if (policy_ == Overwrite::kKeep) return Keep(name);
  // Without a terminal the answers come from a file or a pipe; once it has
  // ended, a question would only clutter the output.
  const bool terminal = isatty(fileno(in_));
  if (!terminal) {
    int c = std::fgetc(in_);
    if (c == EOF) return Unanswered(name);
    std::ungetc(c, in_);
  }
  platform::BoundedString<512> question;
  messages_.FormatOverwriteQuestion(name, &question);
  for (;;) {
    std::fprintf(out_, "%s [Y]es / [N]o / Y[e]s To All / [A]bort: ", ToHost(text_, question.c_str()).c_str());
    std::fflush(out_);
    std::string line;
    int c;
    while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) {
      std::fputc('\n', out_);
      return terminal ? kAnswerNo : Unanswered(name);
    }
    std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return kAnswerYes;
    switch (std::tolower(static_cast<unsigned char>(line[first]))) {
      case 'y': return kAnswerYes;
      case 'n': return kAnswerNo;
      case 'e': return kAnswerYesToAll;
      case 'a': return kAnswerAbort;
      default: break;
    }
  }
}

int ConsolePrompt::Keep(const char* name) {
  std::fprintf(out_, "kivounpack: kept the existing file %s\n", ToHost(text_, name).c_str());
  std::fflush(out_);
  return kAnswerNo;
}

int ConsolePrompt::Unanswered(const char* name) {
  ++unanswered_;
  return Keep(name);
}

bool ConsoleLauncher::Start(const char* program, const char* directory) {
  std::string folder = platform::posix::TranslatePath(ToHost(text_, directory).c_str());
  std::string path = platform::posix::TranslatePath(ToHost(text_, program).c_str());
  if (folder.empty() || path.empty()) return false;
  std::string full = path[0] == '/' ? path : folder + "/" + path;
  struct stat st;
  if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  char* realFolder = ::realpath(folder.c_str(), nullptr);
  char* realProgram = ::realpath(full.c_str(), nullptr);
  std::string inside = realFolder != nullptr ? std::string(realFolder) + "/" : std::string();
  bool within = realFolder != nullptr && realProgram != nullptr && std::string(realProgram).rfind(inside, 0) == 0;
  std::free(realFolder);
  std::free(realProgram);
  if (!within) {
    std::fprintf(stderr, "kivounpack: the kit's program %s lies outside %s; it is not started\n", full.c_str(),
                 folder.c_str());
    return false;
  }
  if (hold_ && hold_()) {
    std::fprintf(out_, "The kit's program %s is not started: existing files were kept that nobody was asked about.\n",
                 full.c_str());
    std::fflush(out_);
    return true;
  }
  if (IsWindowsProgram(full)) {
    std::fprintf(out_, "The kit's program is %s, a Windows program; it is not started on Linux.\n", full.c_str());
    std::fflush(out_);
    return true;
  }
  mode_t exec = (st.st_mode & 0444) >> 2;  // executable wherever readable
  if ((st.st_mode & exec) != exec) ::chmod(full.c_str(), st.st_mode | exec);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  char* argv[] = {full.data(), nullptr};
  pid_t pid = 0;
  int rc = posix_spawn(&pid, full.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}

}  // namespace kivo::console
