#include "tools/wendmark/host_reasons.h"

#include "platform/posix/host_error.h"
#include "platform/posix/paths.h"

namespace wendmark {

std::string HostReason(const char* path, std::uint32_t code) {
  // Entries are joined with backslashes, and "..\setup\\X" doubles one.
  std::string host = platform::posix::TranslatePath(path), tidy;
  for (char c : host) {
    if (c != '/' || tidy.empty() || tidy.back() != '/') tidy += c;
  }
  return (tidy.empty() ? std::string(path) : tidy) + ": " + platform::posix::HostErrorText(code);
}

platform::Status ReasonRecorder::Around(platform::Call& call, const Next& next) {
  using platform::Op;
  platform::Status status = next(call);
  auto known = files_.find(call.file);
  switch (call.op) {
    case Op::kOpen:
      if (status) {
        bool writes = call.mode == platform::OpenMode::kCreateAlways || call.mode == platform::OpenMode::kCreateNew;
        files_[*call.opened] = {call.path, writes};
        reasons_.Clear();
      } else {
        reasons_.Note(HostReason(call.path, status.code()));
      }
      break;
    case Op::kRead:
    case Op::kWrite:
    case Op::kFlush:
    case Op::kGetSize:
      if (!status && known != files_.end()) reasons_.Note(HostReason(known->second.path.c_str(), status.code()));
      break;
    case Op::kClose:
      if (known != files_.end()) {
        if (!status && known->second.writes) reasons_.Note(HostReason(known->second.path.c_str(), status.code()));
        files_.erase(known);
      }
      break;
    default:
      break;
  }
  return status;
}

}  // namespace wendmark
