#include "tests/fakes/logging_file_system.h"

namespace tests {
namespace {

using platform::OpenMode;

const char* ModeName(OpenMode mode) {
  switch (mode) {
    case OpenMode::kReadShared: return "ReadShared";
    case OpenMode::kReadExclusive: return "ReadExclusive";
    case OpenMode::kCreateNew: return "CreateNew";
    case OpenMode::kCreateAlways: return "CreateAlways";
  }
  return "?";
}

// The call as the log spells it: its name and what it was asked.
std::string Describe(const Call& call) {
  auto with_path = [&](const char* name) { return std::string(name) + " " + call.path; };
  switch (call.op) {
    case Op::kOpen: return with_path("Open") + " " + ModeName(call.mode);
    case Op::kRead: return "Read " + std::to_string(call.size);
    case Op::kWrite: return "Write " + std::to_string(call.size);
    case Op::kFlush: return "Flush";
    case Op::kSeek: return "Seek " + std::to_string(call.size);
    case Op::kSkip: return "Skip " + std::to_string(call.size);
    case Op::kTell: return "Tell";
    case Op::kGetSize: return "GetSize";
    case Op::kGetTimes: return "GetTimes";
    case Op::kSetTimes: return "SetTimes";
    case Op::kClose: return "Close";
    case Op::kRemove: return with_path("Remove");
    case Op::kReplace: return with_path("Replace") + " " + call.target;
    case Op::kGetAttributes: return with_path("GetAttributes");
    case Op::kListDirectory: return with_path("ListDirectory");
    case Op::kMakeDirectory: return with_path("MakeDirectory");
    case Op::kSetCurrentDir: return with_path("SetCurrentDir");
  }
  return "?";
}

}  // namespace

platform::Status LoggingFileSystem::Around(Call& call, const Next& next) {
  std::string line = Describe(call);
  platform::Status result = next(call);
  log_.push_back(line + (result ? " -> ok" : " -> error " + std::to_string(result.code())));
  return result;
}

}  // namespace tests
