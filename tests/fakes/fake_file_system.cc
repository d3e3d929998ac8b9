#include "tests/fakes/fake_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/types.h"

namespace fakes {
namespace {

using platform::FileHandle;
using platform::OpenMode;
namespace error = platform::error;
namespace attr = platform::attr;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const char* ModeName(OpenMode mode) {
  switch (mode) {
    case OpenMode::kReadShared: return "ReadShared";
    case OpenMode::kReadExclusive: return "ReadExclusive";
    case OpenMode::kCreateNew: return "CreateNew";
    case OpenMode::kCreateAlways: return "CreateAlways";
  }
  return "?";
}

}  // namespace

FakeFileSystem::FakeFileSystem() { AddDirectory("C:\\"); }

std::string FakeFileSystem::Display(const std::string& path) const {
  // Resolve the path the way Windows does, keeping the case of its parts.
  std::string full;
  std::string rest;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    full = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
    rest = path.substr(2);
    if (rest.empty() || (rest[0] != '\\' && rest[0] != '/')) {
      // Drive-relative: the current directory when it is on that drive, else the root.
      if (Lower(cwd_.substr(0, 2)) == Lower(full)) rest = cwd_.substr(2) + "\\" + rest;
    }
  } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
    if (path.size() > 1 && (path[1] == '\\' || path[1] == '/')) return {};  // UNC: no such share here
    full = cwd_.substr(0, 2);
    rest = path;
  } else {
    full = cwd_.substr(0, 2);
    rest = cwd_.substr(2) + "\\" + path;
  }
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&]() -> bool {
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (parts.empty()) return false;
      parts.pop_back();
    } else {
      parts.push_back(part);
    }
    part.clear();
    return true;
  };
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      if (!flush()) return {};
    } else {
      part += c;
    }
  }
  if (!flush()) return {};
  full += "\\";
  for (std::size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return full;
}

std::string FakeFileSystem::Key(const std::string& path) const { return Lower(Display(path)); }

std::string FakeFileSystem::Parent(const std::string& key) const {
  std::size_t slash = key.find_last_of('\\');
  if (slash == std::string::npos || slash <= 2) return key.substr(0, 3);
  return key.substr(0, slash);
}

// --- building the world

void FakeFileSystem::AddDirectory(const std::string& path, std::uint32_t attributes) {
  std::string display = Display(path);
  std::string key = Lower(display);
  if (key.size() > 3) AddDirectory(Parent(display), attr::kDirectory);
  Node& n = nodes_[key];
  if (n.name.empty()) n.name = display;
  n.directory = true;
  n.attributes = attributes | attr::kDirectory;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& data,
                             const platform::FileTimes& times, std::uint32_t attributes) {
  std::string display = Display(path);
  AddDirectory(Parent(display));
  Node& n = nodes_[Lower(display)];
  n.directory = false;
  if (n.name.empty()) n.name = display;
  n.data = data;
  n.times = times;
  n.attributes = attributes;
}

void FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  auto it = nodes_.find(Key(path));
  if (it != nodes_.end()) {
    it->second.attributes = attributes | (it->second.directory ? attr::kDirectory : 0);
  }
}

void FakeFileSystem::SetCurrentDirectory(const std::string& path) { cwd_ = Display(path); }

void FakeFileSystem::SetWriteProtected(char drive, bool on) {
  writeProtected_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))] = on;
}

void FakeFileSystem::SetCapacity(char drive, std::uint64_t bytes) {
  capacity_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))] = bytes;
}

std::uint64_t FakeFileSystem::UsedOn(char drive) const {
  std::uint64_t used = 0;
  char d = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
  for (const auto& [key, node] : nodes_) {
    if (!node.directory && key[0] == d) used += node.data.size();
  }
  return used;
}

// --- looking at the world

std::optional<std::string> FakeFileSystem::Contents(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end() || it->second.directory) return std::nullopt;
  return it->second.data;
}

bool FakeFileSystem::Exists(const std::string& path) const { return nodes_.count(Key(path)) != 0; }

bool FakeFileSystem::IsDirectory(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  return it != nodes_.end() && it->second.directory;
}

platform::FileTimes FakeFileSystem::Times(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? platform::FileTimes{} : it->second.times;
}

std::uint32_t FakeFileSystem::Attributes(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? 0 : it->second.attributes;
}

std::vector<std::string> FakeFileSystem::Files() const {
  std::vector<std::string> out;
  for (const auto& [key, node] : nodes_) {
    if (!node.directory) out.push_back(node.name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> FakeFileSystem::Directories() const {
  std::vector<std::string> out;
  for (const auto& [key, node] : nodes_) {
    if (node.directory) out.push_back(node.name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

int FakeFileSystem::OpenHandleCount() const { return static_cast<int>(open_.size()); }

// --- the operations

bool FakeFileSystem::Begin(Op op, const std::string& what) {
  ++operations_;
  shortWriteNow_ = false;
  if (logging_) pending_ = what;
  if ((fault_.kinds & static_cast<std::uint32_t>(op)) == 0 || fault_.at == 0) return true;
  ++counted_;
  bool strike = counted_ == fault_.at || (fault_.persistent && counted_ > fault_.at);
  if (!strike) return true;
  faultHit_ = true;
  if (op == Op::kWrite && fault_.shortWrite) {
    shortWriteNow_ = true;
    return true;
  }
  if (logging_) log_.push_back(what + " -> injected " + std::to_string(fault_.code));
  lastError_ = fault_.code;
  return false;
}

bool FakeFileSystem::Fail(std::uint32_t code) {
  if (logging_) log_.push_back(pending_ + " -> error " + std::to_string(code));
  lastError_ = code;
  return false;
}

bool FakeFileSystem::Ok() {
  if (logging_) log_.push_back(pending_ + " -> ok");
  return true;
}

FakeFileSystem::OpenFile* FakeFileSystem::Handle(FileHandle file) {
  auto it = open_.find(file);
  return it == open_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::Open(const char* path, OpenMode mode, FileHandle* file) {
  if (!Begin(Op::kOpen, std::string("Open ") + path + " " + ModeName(mode))) {
    // An injected failure of a create must not leave a file behind.
    return false;
  }
  std::string display = Display(path);
  if (display.empty()) return Fail(error::kPathNotFound);
  std::string key = Lower(display);
  if (key.size() <= 3) return Fail(error::kAccessDenied);  // a drive root is no file
  auto parent = nodes_.find(Parent(key));
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
    char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    if (writeProtected_[drive]) return Fail(error::kWriteProtect);
    if (it != nodes_.end()) {
      if (mode == OpenMode::kCreateNew) return Fail(error::kFileExists);
      if (it->second.attributes & attr::kReadOnly) return Fail(error::kAccessDenied);
      it->second.data.clear();
    } else {
      Node n;
      n.name = display;
      n.attributes = attr::kArchive;
      it = nodes_.emplace(key, n).first;
    }
  }
  OpenFile f;
  f.key = key;
  f.write = !reading;
  f.shared = mode == OpenMode::kReadShared;
  *file = nextHandle_++;
  open_[*file] = f;
  return Ok();
}

bool FakeFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  *done = 0;
  if (!Begin(Op::kRead, "Read " + std::to_string(size))) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (f->write) return Fail(error::kAccessDenied);
  const std::string& data = nodes_[f->key].data;
  std::uint64_t available = f->position < data.size() ? data.size() - f->position : 0;
  std::uint64_t n = std::min<std::uint64_t>(size, available);
  if (readLimit_ != 0) n = std::min<std::uint64_t>(n, readLimit_);
  if (n > 0) std::memcpy(buffer, data.data() + f->position, static_cast<std::size_t>(n));
  f->position += n;
  *done = static_cast<std::uint32_t>(n);
  return Ok();
}

bool FakeFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                           std::uint32_t* done) {
  *done = 0;
  if (!Begin(Op::kWrite, "Write " + std::to_string(size))) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (!f->write) return Fail(error::kAccessDenied);
  std::uint32_t n = shortWriteNow_ ? size / 2 : size;
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(f->key[0])));
  Node& node = nodes_[f->key];
  auto cap = capacity_.find(drive);
  if (cap != capacity_.end()) {
    std::uint64_t used = UsedOn(drive);
    std::uint64_t growth = f->position + n > node.data.size() ? f->position + n - node.data.size() : 0;
    if (used + growth > cap->second) {
      std::uint64_t room = cap->second > used ? cap->second - used : 0;
      if (room == 0) return Fail(error::kDiskFull);
      n = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, room));
    }
  }
  if (node.data.size() < f->position + n) node.data.resize(static_cast<std::size_t>(f->position + n));
  std::memcpy(node.data.data() + f->position, buffer, n);
  f->position += n;
  *done = n;
  return Ok();
}

bool FakeFileSystem::Flush(FileHandle file) {
  if (!Begin(Op::kFlush, "Flush")) return false;
  if (Handle(file) == nullptr) return Fail(error::kInvalidHandle);
  return Ok();
}

bool FakeFileSystem::Seek(FileHandle file, std::uint32_t offset) {
  if (!Begin(Op::kSeek, "Seek " + std::to_string(offset))) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  f->position = offset;
  return Ok();
}

bool FakeFileSystem::Skip(FileHandle file, std::uint32_t count) {
  if (!Begin(Op::kSkip, "Skip " + std::to_string(count))) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  f->position += count;
  return Ok();
}

bool FakeFileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  if (!Begin(Op::kTell, "Tell")) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *offset = static_cast<std::uint32_t>(f->position);
  return Ok();
}

bool FakeFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  if (!Begin(Op::kGetSize, "GetSize")) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *size = nodes_[f->key].data.size();
  return Ok();
}

bool FakeFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  if (!Begin(Op::kGetTimes, "GetTimes")) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  *times = nodes_[f->key].times;
  return Ok();
}

bool FakeFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  if (!Begin(Op::kSetTimes, "SetTimes")) return false;
  OpenFile* f = Handle(file);
  if (f == nullptr) return Fail(error::kInvalidHandle);
  if (!f->write) return Fail(error::kAccessDenied);
  nodes_[f->key].times = times;
  return Ok();
}

bool FakeFileSystem::Close(FileHandle file) {
  // Even a close that reports a failure gives the handle up, as CloseHandle does.
  bool ok = Begin(Op::kClose, "Close");
  if (open_.erase(file) == 0) return Fail(error::kInvalidHandle);
  return ok ? Ok() : false;
}

bool FakeFileSystem::Remove(const char* path) {
  if (!Begin(Op::kRemove, std::string("Remove ") + path)) return false;
  std::string key = Key(path);
  auto it = nodes_.find(key);
  if (key.empty()) return Fail(error::kPathNotFound);
  if (it == nodes_.end()) {
    return Fail(nodes_.count(Parent(key)) ? error::kFileNotFound : error::kPathNotFound);
  }
  if (it->second.directory || (it->second.attributes & attr::kReadOnly))
    return Fail(error::kAccessDenied);
  for (const auto& [h, f] : open_) {
    if (f.key == key) return Fail(error::kSharingViolation);
  }
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  if (writeProtected_[drive]) return Fail(error::kWriteProtect);
  nodes_.erase(it);
  return Ok();
}

bool FakeFileSystem::Replace(const char* source, const char* target) {
  if (!Begin(Op::kReplace, std::string("Replace ") + source + " " + target)) return false;
  std::string from = Key(source), to = Key(target);
  auto src = nodes_.find(from);
  if (from.empty() || to.empty()) return Fail(error::kPathNotFound);
  if (src == nodes_.end() || src->second.directory) return Fail(error::kFileNotFound);
  auto dst = nodes_.find(to);
  if (dst != nodes_.end() && (dst->second.directory || (dst->second.attributes & attr::kReadOnly)))
    return Fail(error::kAccessDenied);
  if (nodes_.count(Parent(to)) == 0) return Fail(error::kPathNotFound);
  for (const auto& [h, f] : open_) {
    if (f.key == from || f.key == to) return Fail(error::kSharingViolation);
  }
  Node moved = src->second;
  moved.name = dst != nodes_.end() ? dst->second.name : Display(target);
  nodes_.erase(src);
  nodes_[to] = moved;
  return Ok();
}

bool FakeFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  if (!Begin(Op::kGetAttributes, std::string("GetAttributes ") + path)) return false;
  std::string p(path);
  // FindFirstFile finds nothing for a name ending in a separator, nor for a root.
  if (!p.empty() && (p.back() == '\\' || p.back() == '/')) return Fail(error::kFileNotFound);
  std::string key = Key(p);
  if (key.empty()) return Fail(error::kPathNotFound);
  if (key.size() <= 3) return Fail(error::kFileNotFound);
  auto it = nodes_.find(key);
  if (it == nodes_.end()) {
    auto parent = nodes_.find(Parent(key));
    return Fail(parent != nodes_.end() && parent->second.directory ? error::kFileNotFound
                                                                    : error::kPathNotFound);
  }
  *attributes = it->second.attributes;
  return Ok();
}

bool FakeFileSystem::MakeDirectory(const char* path) {
  if (!Begin(Op::kMakeDirectory, std::string("MakeDirectory ") + path)) return false;
  std::string display = Display(path);
  if (display.empty()) return Fail(error::kPathNotFound);
  std::string key = Lower(display);
  if (nodes_.count(key)) return Fail(error::kAlreadyExists);
  auto parent = nodes_.find(Parent(key));
  if (parent == nodes_.end() || !parent->second.directory) return Fail(error::kPathNotFound);
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  if (writeProtected_[drive]) return Fail(error::kWriteProtect);
  Node n;
  n.directory = true;
  n.name = display;
  n.attributes = attr::kDirectory;
  nodes_[key] = n;
  return Ok();
}

bool FakeFileSystem::SetCurrentDir(const char* path) {
  if (!Begin(Op::kSetCurrentDir, std::string("SetCurrentDir ") + path)) return false;
  std::string display = Display(path);
  auto it = nodes_.find(Lower(display));
  if (display.empty() || it == nodes_.end() || !it->second.directory)
    return Fail(error::kPathNotFound);
  cwd_ = display;
  return Ok();
}

}  // namespace fakes
