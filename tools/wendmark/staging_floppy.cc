#include "tools/wendmark/staging_floppy.h"

#include "platform/types.h"
#include "platform/windows_path.h"
#include "tools/wendplan/floppy_fat.h"

namespace wendmark {
namespace {

using platform::Status;

Status DiskFull() { return Status::Failure(platform::error::kDiskFull); }

}  // namespace

std::string StagingFloppy::NameIn(const char* path) const {
  std::string p = path;
  if (p.size() <= folder_.size() + 1 || p.compare(0, folder_.size(), folder_) != 0 ||
      !platform::path::IsSeparator(p[folder_.size()]))
    return {};
  std::string name = p.substr(folder_.size() + 1);
  for (char c : name) {
    if (platform::path::IsSeparator(c)) return {};  // a floppy holds no folders here
  }
  return name;
}

std::string StagingFloppy::Key(const std::string& name) const {
  std::string key = name;
  for (char& c : key) c = page_.UpperCase(c);
  return key;
}

bool StagingFloppy::Resize(Entry& entry, std::uint64_t bytes) {
  std::uint64_t before = wendplan::ClustersOf(entry.bytes), after = wendplan::ClustersOf(bytes);
  if (after > before && usedClusters_ + (after - before) > wendplan::kFloppyClusters) return false;
  usedClusters_ = static_cast<std::uint32_t>(usedClusters_ - before + after);
  entry.bytes = bytes;
  return true;
}

bool StagingFloppy::Adopt(const std::string& name, std::uint64_t bytes) {
  std::string key = Key(name);
  std::uint32_t slots = wendplan::RootSlotsOf(name);
  if (entries_.count(key) != 0 || usedEntries_ + slots > wendplan::kUsableRootSlots) return false;
  Entry entry{name, 0, slots};
  if (!Resize(entry, bytes)) return false;
  usedEntries_ += slots;
  entries_.emplace(key, entry);
  return true;
}

Status StagingFloppy::Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) {
  std::string name = NameIn(path);
  bool creates = mode == platform::OpenMode::kCreateAlways || mode == platform::OpenMode::kCreateNew;
  if (name.empty() || !creates) {
    if (name.empty()) return target().Open(path, mode, file);
    auto found = entries_.find(Key(name));
    std::string actual = found == entries_.end() ? path : folder_ + "/" + found->second.name;
    return target().Open(actual.c_str(), mode, file);
  }
  std::string key = Key(name);
  auto found = entries_.find(key);
  if (found != entries_.end()) {
    // The floppy finds the file it has under any case, and keeps its name.
    Status opened = target().Open((folder_ + "/" + found->second.name).c_str(), mode, file);
    if (opened) {
      (void)Resize(found->second, 0);
      writers_[*file] = {key, 0};
    }
    return opened;
  }
  std::uint32_t slots = wendplan::RootSlotsOf(name);
  if (usedEntries_ + slots > wendplan::kUsableRootSlots) return DiskFull();
  Status opened = target().Open(path, mode, file);
  if (opened) {
    usedEntries_ += slots;
    entries_.emplace(key, Entry{name, 0, slots});
    writers_[*file] = {key, 0};
  }
  return opened;
}

Status StagingFloppy::Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
                            std::uint32_t* done) {
  auto writer = writers_.find(file);
  auto found = writer == writers_.end() ? entries_.end() : entries_.find(writer->second.key);
  if (found == entries_.end()) return target().Write(file, buffer, size, done);
  Entry& entry = found->second;
  std::uint64_t before = entry.bytes;
  std::uint64_t end = writer->second.position + size;
  if (end > before && !Resize(entry, end)) {
    *done = 0;
    return DiskFull();
  }
  Status written = target().Write(file, buffer, size, done);
  std::uint64_t reached = writer->second.position + (written ? *done : 0);
  writer->second.position = reached;
  (void)Resize(entry, before > reached ? before : reached);  // what was really stored
  return written;
}

Status StagingFloppy::Flush(platform::FileHandle file) {
  if (writers_.count(file) != 0) return Status::Ok();
  return target().Flush(file);
}

Status StagingFloppy::Seek(platform::FileHandle file, std::uint32_t offset) {
  Status moved = target().Seek(file, offset);
  auto writer = writers_.find(file);
  if (moved && writer != writers_.end()) writer->second.position = offset;
  return moved;
}

Status StagingFloppy::Skip(platform::FileHandle file, std::uint32_t count) {
  Status moved = target().Skip(file, count);
  auto writer = writers_.find(file);
  if (moved && writer != writers_.end()) writer->second.position += count;
  return moved;
}

Status StagingFloppy::Close(platform::FileHandle file) {
  writers_.erase(file);
  return target().Close(file);
}

Status StagingFloppy::Remove(const char* path) {
  std::string name = NameIn(path);
  if (name.empty()) return target().Remove(path);
  auto found = entries_.find(Key(name));
  if (found == entries_.end()) return target().Remove(path);
  Status removed = target().Remove((folder_ + "/" + found->second.name).c_str());
  if (removed) {
    (void)Resize(found->second, 0);
    usedEntries_ -= found->second.slots;
    entries_.erase(found);
  }
  return removed;
}

}  // namespace wendmark
