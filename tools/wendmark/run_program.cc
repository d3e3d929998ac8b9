#include "tools/wendmark/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace wendmark::tools {
namespace {

// This process's environment with the given variables put in place.
std::vector<std::string> MergeEnvironment(const Environment& changes) {
  std::vector<std::string> merged;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string item = *e;
    std::string name = item.substr(0, item.find('='));
    bool replaced = false;
    for (const auto& change : changes) replaced = replaced || change.first == name;
    if (!replaced) merged.push_back(std::move(item));
  }
  for (const auto& change : changes) merged.push_back(change.first + "=" + change.second);
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv, const Environment& environment) {
  ProgramResult result;
  if (argv.empty()) return result;
  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergeEnvironment(environment);
  std::vector<char*> argp = Pointers(args), envp = Pointers(env);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  pid_t pid = 0;
  int rc = ::posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (rc != 0) {
    ::close(pipeFds[0]);
    return result;
  }
  result.started = true;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kToolTimeLimit);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      ::kill(pid, SIGKILL);
      result.timedOut = true;
      break;
    }
    pollfd ready{pipeFds[0], POLLIN, 0};
    int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
    if (polled < 0) break;
    ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) {
      result.output.append(buffer, static_cast<std::size_t>(n));
      // A tool that repeats itself: its last words are the ones that count.
      if (result.output.size() > 65536) result.output.erase(0, result.output.size() - 32768);
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string DescribeFailure(const std::string& tool, const ProgramResult& result) {
  if (!result.started) return tool + " is missing (scripts/setup-deps.sh installs it)";
  std::string text = result.output;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  std::size_t start = text.find_last_of('\n');
  std::string last = start == std::string::npos ? text : text.substr(start + 1);
  std::string why = result.timedOut    ? "did not finish within " + std::to_string(kToolTimeLimit) + " s"
                    : result.status < 0 ? "was stopped"
                                        : "failed (status " + std::to_string(result.status) + ")";
  return last.empty() ? tool + " " + why : tool + " " + why + ": " + last;
}

}  // namespace wendmark::tools
