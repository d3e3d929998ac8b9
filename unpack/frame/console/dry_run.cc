#include "unpack/frame/console/dry_run.h"

#include "platform/types.h"
#include "platform/windows_path.h"

namespace kivo::console {

using platform::FileHandle;
using platform::Op;
using platform::Status;

DryRunEntry* DryRunFileSystem::Written(FileHandle file) {
  auto it = open_.find(file);
  return it == open_.end() ? nullptr : &entries_[it->second];
}

Status DryRunFileSystem::Record(platform::Call& call) {
  // The engine names a file by joining its name to the target folder.
  std::string name = call.path;
  std::uint32_t folder = platform::path::LengthWithoutTrailingSeparators(target_.c_str());
  if (name.compare(0, folder, target_, 0, folder) == 0) {
    std::size_t start = folder;
    while (start < name.size() && (name[start] == '\\' || name[start] == '/')) ++start;
    name.erase(0, start);
  }
  entries_.push_back({name, 0});
  *call.opened = next_--;
  open_[*call.opened] = entries_.size() - 1;
  return Status::Ok();
}

Status DryRunFileSystem::Around(platform::Call& call, const Next& next) {
  DryRunEntry* entry = Written(call.file);
  switch (call.op) {
    case Op::kOpen:
      if (call.mode == platform::OpenMode::kReadShared || call.mode == platform::OpenMode::kReadExclusive) {
        return next(call);
      }
      return Record(call);
    case Op::kRead:
      return entry != nullptr ? Status::Failure(platform::error::kAccessDenied) : next(call);
    case Op::kWrite:
      if (entry == nullptr) return next(call);
      entry->size += call.size;
      *call.done = call.size;
      return Status::Ok();
    case Op::kGetSize:
      if (entry == nullptr) return next(call);
      *call.length = entry->size;
      return Status::Ok();
    case Op::kFlush:
    case Op::kSetTimes:
      return entry != nullptr ? Status::Ok() : next(call);
    case Op::kClose:
      return open_.erase(call.file) != 0 ? Status::Ok() : next(call);
    case Op::kSeek:
    case Op::kSkip:
    case Op::kTell:
    case Op::kGetTimes:
      return next(call);  // only ever the archive's
    case Op::kListDirectory:
      return next(call);  // reads, and the engine never asks
    // Nothing below the target is made, replaced or removed; as nothing was
    // written, nothing is found there either.
    case Op::kRemove:
    case Op::kReplace:
    case Op::kMakeDirectory:
    case Op::kSetCurrentDir:
      return Status::Ok();
    case Op::kGetAttributes:
      return Status::Failure(platform::error::kFileNotFound);
  }
  return next(call);
}

}  // namespace kivo::console
