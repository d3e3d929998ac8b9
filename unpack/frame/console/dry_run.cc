#include "unpack/frame/console/dry_run.h"

#include "platform/types.h"
#include "platform/windows_path.h"

namespace kivo::console {

using platform::FileHandle;
using platform::Status;

DryRunEntry* DryRunFileSystem::Written(FileHandle file) {
  auto it = open_.find(file);
  return it == open_.end() ? nullptr : &entries_[it->second];
}

Status DryRunFileSystem::Open(const char* path, platform::OpenMode mode, FileHandle* file) {
  if (mode == platform::OpenMode::kReadShared || mode == platform::OpenMode::kReadExclusive) {
    return files_.Open(path, mode, file);
  }
  // The engine names a file by joining its name to the target folder.
  std::string name = path;
  std::uint32_t folder = platform::path::LengthWithoutTrailingSeparators(target_.c_str());
  if (name.compare(0, folder, target_, 0, folder) == 0) {
    std::size_t start = folder;
    while (start < name.size() && (name[start] == '\\' || name[start] == '/')) ++start;
    name.erase(0, start);
  }
  entries_.push_back({name, 0});
  *file = next_--;
  open_[*file] = entries_.size() - 1;
  return Status::Ok();
}

Status DryRunFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  if (Written(file) != nullptr) return Status::Failure(platform::error::kAccessDenied);
  return files_.Read(file, buffer, size, done);
}

Status DryRunFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size, std::uint32_t* done) {
  DryRunEntry* entry = Written(file);
  if (entry == nullptr) return files_.Write(file, buffer, size, done);
  entry->size += size;
  *done = size;
  return Status::Ok();
}

Status DryRunFileSystem::Flush(FileHandle file) {
  return Written(file) != nullptr ? Status::Ok() : files_.Flush(file);
}

Status DryRunFileSystem::Seek(FileHandle file, std::uint32_t offset) { return files_.Seek(file, offset); }
Status DryRunFileSystem::Skip(FileHandle file, std::uint32_t count) { return files_.Skip(file, count); }
Status DryRunFileSystem::Tell(FileHandle file, std::uint32_t* offset) { return files_.Tell(file, offset); }

Status DryRunFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  if (DryRunEntry* entry = Written(file)) {
    *size = entry->size;
    return Status::Ok();
  }
  return files_.GetSize(file, size);
}

Status DryRunFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  return files_.GetTimes(file, times);
}

Status DryRunFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  return Written(file) != nullptr ? Status::Ok() : files_.SetTimes(file, times);
}

Status DryRunFileSystem::Close(FileHandle file) {
  if (open_.erase(file) != 0) return Status::Ok();
  return files_.Close(file);
}

// Nothing below the target is made, replaced or removed; as nothing was
// written, nothing is found there either.
Status DryRunFileSystem::Remove(const char*) { return Status::Ok(); }
Status DryRunFileSystem::Replace(const char*, const char*) { return Status::Ok(); }
Status DryRunFileSystem::GetAttributes(const char*, std::uint32_t*) {
  return Status::Failure(platform::error::kFileNotFound);
}
Status DryRunFileSystem::MakeDirectory(const char*) { return Status::Ok(); }
Status DryRunFileSystem::SetCurrentDir(const char*) { return Status::Ok(); }

}  // namespace kivo::console
