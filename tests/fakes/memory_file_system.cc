#include "tests/fakes/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "platform/types.h"
#include "tests/fakes/memory_paths.h"

namespace tests {
namespace {

using platform::FileHandle;
using platform::OpenMode;
namespace error = platform::error;
namespace attr = platform::attr;

}  // namespace

MemoryFileSystem::MemoryFileSystem() { AddDirectory("C:\\"); }

std::string MemoryFileSystem::Key(const std::string& path) const {
  return PathKey(ResolvePath(path, cwd_));
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::IsOpen(const std::string& key) const {
  for (const auto& [h, f] : open_) {
    if (f.key == key) return true;
  }
  return false;
}

MemoryFileSystem::Drive& MemoryFileSystem::DriveFor(const std::string& key) {
  return drives_[DriveOf(key)];
}

std::uint64_t MemoryFileSystem::UsedOn(char drive) const {
  std::uint64_t used = 0;
  for (const auto& [key, node] : nodes_) {
    if (!node.directory && DriveOf(key) == drive) used += node.data.size();
  }
  return used;
}

MemoryFileSystem::OpenFile* MemoryFileSystem::Handle(FileHandle file) {
  auto it = open_.find(file);
  return it == open_.end() ? nullptr : &it->second;
}

// --- building the world

void MemoryFileSystem::AddDirectory(const std::string& path, std::uint32_t attributes) {
  std::string full = ResolvePath(path, cwd_);
  if (!IsRootPath(full)) AddDirectory(ParentPath(full), attr::kDirectory);
  Node& n = nodes_[PathKey(full)];
  if (n.name.empty()) n.name = full;
  n.directory = true;
  n.attributes = attributes | attr::kDirectory;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& data,
                               const platform::FileTimes& times, std::uint32_t attributes) {
  std::string full = ResolvePath(path, cwd_);
  AddDirectory(ParentPath(full));
  Node& n = nodes_[PathKey(full)];
  n.directory = false;
  if (n.name.empty()) n.name = full;
  n.data = data;
  n.times = times;
  n.attributes = attributes;
}

void MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  auto it = nodes_.find(Key(path));
  if (it != nodes_.end()) {
    it->second.attributes = attributes | (it->second.directory ? std::uint32_t{attr::kDirectory} : 0u);
  }
}

void MemoryFileSystem::SetCurrentDirectory(const std::string& path) { cwd_ = ResolvePath(path, cwd_); }

void MemoryFileSystem::SetWriteProtected(char drive, bool on) {
  drives_[DriveOf(std::string(1, drive))].writeProtected = on;
}

void MemoryFileSystem::SetCapacity(char drive, std::uint64_t bytes) {
  drives_[DriveOf(std::string(1, drive))].capacity = bytes;
}

// --- looking at the world

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  const Node* n = Find(path);
  if (n == nullptr || n->directory) return std::nullopt;
  return n->data;
}

bool MemoryFileSystem::Exists(const std::string& path) const { return Find(path) != nullptr; }

bool MemoryFileSystem::IsDirectory(const std::string& path) const {
  const Node* n = Find(path);
  return n != nullptr && n->directory;
}

platform::FileTimes MemoryFileSystem::Times(const std::string& path) const {
  const Node* n = Find(path);
  return n == nullptr ? platform::FileTimes{} : n->times;
}

std::uint32_t MemoryFileSystem::Attributes(const std::string& path) const {
  const Node* n = Find(path);
  return n == nullptr ? 0 : n->attributes;
}

std::vector<std::string> MemoryFileSystem::Files() const {
  std::vector<std::string> out;
  for (const auto& [key, node] : nodes_) {
    if (!node.directory) out.push_back(node.name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> MemoryFileSystem::Directories() const {
  std::vector<std::string> out;
  for (const auto& [key, node] : nodes_) {
    if (node.directory) out.push_back(node.name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// --- the operations

platform::Status MemoryFileSystem::Open(const char* path, OpenMode mode, FileHandle* file) {
  std::string full = ResolvePath(path, cwd_);
  if (full.empty()) return Fail(error::kPathNotFound);
  std::string key = PathKey(full);
  if (IsRootPath(key)) return Fail(error::kAccessDenied);  // a drive root is no file
  auto parent = nodes_.find(ParentPath(key));
  if (parent == nodes_.end() || !parent->second.directory) return Fail(error::kPathNotFound);
  auto it = nodes_.find(key);
  bool reading = mode == OpenMode::kReadShared || mode == OpenMode::kReadExclusive;
  if (it != nodes_.end() && it->second.directory) return Fail(error::kAccessDenied);
  // Sharing: a handle without sharing excludes every other; a shared reader
  // admits only other shared readers.
  for (const auto& [h, f] : open_) {
    if (f.key != key) continue;
    if (!(f.shared && mode == OpenMode::kReadShared)) return Fail(error::kSharingViolation);
  }
  if (reading) {
    if (it == nodes_.end()) return Fail(error::kFileNotFound);
  } else {
    if (DriveFor(key).writeProtected) return Fail(error::kWriteProtect);
    if (it != nodes_.end()) {
      if (mode == OpenMode::kCreateNew) return Fail(error::kFileExists);
      if (it->second.attributes & attr::kReadOnly) return Fail(error::kAccessDenied);
      it->second.data.clear();
    } else {
      Node n;
      n.name = full;
      n.attributes = attr::kArchive;
      it = nodes_.emplace(key, std::move(n)).first;
    }
  }
  OpenFile f;
  f.key = key;
  f.node = &it->second;
  f.write = !reading;
  f.shared = mode == OpenMode::kReadShared;
  *file = nextHandle_++;
  open_.emplace(*file, std::move(f));
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  *done = 0;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (f->write) return Fail(error::kAccessDenied);
  const std::string& data = f->node->data;
  std::uint64_t available = f->position < data.size() ? data.size() - f->position : 0;
  std::uint64_t n = std::min<std::uint64_t>(size, available);
  if (n > 0) std::memcpy(buffer, data.data() + f->position, static_cast<std::size_t>(n));
  f->position += n;
  *done = static_cast<std::uint32_t>(n);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                             std::uint32_t* done) {
  *done = 0;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (!f->write) return Fail(error::kAccessDenied);
  std::uint32_t n = size;
  std::string& data = f->node->data;
  const Drive& drive = DriveFor(f->key);
  if (drive.capacity) {
    std::uint64_t used = UsedOn(DriveOf(f->key));
    std::uint64_t growth = f->position + n > data.size() ? f->position + n - data.size() : 0;
    if (used + growth > *drive.capacity) {
      std::uint64_t room = *drive.capacity > used ? *drive.capacity - used : 0;
      if (room == 0) return Fail(error::kDiskFull);
      n = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, room));
    }
  }
  if (data.size() < f->position + n) data.resize(static_cast<std::size_t>(f->position + n));
  if (n > 0) std::memcpy(data.data() + f->position, buffer, n);
  f->position += n;
  *done = n;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Flush(FileHandle file) {
  if (Handle(file) == nullptr) return Fail(error::kInvalidHandle);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Seek(FileHandle file, std::uint32_t offset) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  f->position = offset;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Skip(FileHandle file, std::uint32_t count) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  f->position += count;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *offset = static_cast<std::uint32_t>(f->position);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *size = f->node->data.size();
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *times = f->node->times;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (!f->write) return Fail(error::kAccessDenied);
  f->node->times = times;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Close(FileHandle file) {
  if (open_.erase(file) == 0) return Fail(error::kInvalidHandle);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Remove(const char* path) {
  std::string key = Key(path);
  if (key.empty()) return Fail(error::kPathNotFound);
  auto it = nodes_.find(key);
  if (it == nodes_.end()) {
    return Fail(nodes_.count(ParentPath(key)) ? error::kFileNotFound : error::kPathNotFound);
  }
  if (it->second.directory || (it->second.attributes & attr::kReadOnly))
    return Fail(error::kAccessDenied);
  if (IsOpen(key)) return Fail(error::kSharingViolation);
  if (DriveFor(key).writeProtected) return Fail(error::kWriteProtect);
  nodes_.erase(it);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::Replace(const char* source, const char* target) {
  std::string from = Key(source), to = Key(target);
  if (from.empty() || to.empty()) return Fail(error::kPathNotFound);
  auto src = nodes_.find(from);
  if (src == nodes_.end() || src->second.directory) return Fail(error::kFileNotFound);
  auto dst = nodes_.find(to);
  if (dst != nodes_.end() && (dst->second.directory || (dst->second.attributes & attr::kReadOnly)))
    return Fail(error::kAccessDenied);
  if (nodes_.count(ParentPath(to)) == 0) return Fail(error::kPathNotFound);
  if (IsOpen(from) || IsOpen(to)) return Fail(error::kSharingViolation);
  Node moved = std::move(src->second);
  moved.name = dst != nodes_.end() ? dst->second.name : ResolvePath(target, cwd_);
  nodes_.erase(src);
  nodes_[to] = std::move(moved);
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  std::string p(path);
  // FindFirstFile finds nothing for a name ending in a separator, nor for a root.
  if (!p.empty() && (p.back() == '\\' || p.back() == '/')) return Fail(error::kFileNotFound);
  std::string key = Key(p);
  if (key.empty()) return Fail(error::kPathNotFound);
  if (IsRootPath(key)) return Fail(error::kFileNotFound);
  auto it = nodes_.find(key);
  if (it == nodes_.end()) {
    auto parent = nodes_.find(ParentPath(key));
    return Fail(parent != nodes_.end() && parent->second.directory ? error::kFileNotFound
                                                                    : error::kPathNotFound);
  }
  *attributes = it->second.attributes;
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::ListDirectory(const char* path, platform::DirectoryVisitor& visitor) {
  std::string full = ResolvePath(path, cwd_);
  auto it = nodes_.find(PathKey(full));
  if (full.empty() || it == nodes_.end() || !it->second.directory) return Fail(error::kPathNotFound);
  for (const auto& [key, node] : nodes_) {
    if (key == it->first || ParentPath(key) != it->first) continue;
    std::string name = node.name.substr(node.name.find_last_of('\\') + 1);
    platform::EntryKind kind = node.directory ? platform::EntryKind::kDirectory : platform::EntryKind::kFile;
    visitor.Visit({name.c_str(), kind, kind});
  }
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::MakeDirectory(const char* path) {
  std::string full = ResolvePath(path, cwd_);
  if (full.empty()) return Fail(error::kPathNotFound);
  std::string key = PathKey(full);
  if (nodes_.count(key)) return Fail(error::kAlreadyExists);
  auto parent = nodes_.find(ParentPath(key));
  if (parent == nodes_.end() || !parent->second.directory) return Fail(error::kPathNotFound);
  if (DriveFor(key).writeProtected) return Fail(error::kWriteProtect);
  Node n;
  n.directory = true;
  n.name = full;
  n.attributes = attr::kDirectory;
  nodes_.emplace(key, std::move(n));
  return platform::Status::Ok();
}

platform::Status MemoryFileSystem::SetCurrentDir(const char* path) {
  std::string full = ResolvePath(path, cwd_);
  auto it = nodes_.find(PathKey(full));
  if (full.empty() || it == nodes_.end() || !it->second.directory) return Fail(error::kPathNotFound);
  cwd_ = full;
  return platform::Status::Ok();
}

}  // namespace tests
