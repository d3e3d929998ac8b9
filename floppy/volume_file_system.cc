#include "floppy/volume_file_system.h"

#include "platform/windows_name.h"
#include "platform/windows_path.h"

namespace floppy {
namespace {

using platform::Status;
namespace code = platform::error;

Status Fail(std::uint32_t c) { return Status::Failure(c); }

}  // namespace

VolumeFileSystem::VolumeFileSystem(Volume& volume, const NameCodec& codec, platform::FileTime now, char drive)
    : volume_(volume), codec_(codec), now_(now), drive_(platform::name::AsciiUpper(drive)) {
  // Lowest byte first, so a character two bytes stand for maps to the first.
  for (int b = 255; b >= 0; --b) bytes_[codec.Wide(static_cast<char>(b))] = static_cast<char>(b);
}

Status VolumeFileSystem::NameOf(const char* path, std::string* name) const {
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    if (platform::name::AsciiUpper(rest[0]) != drive_) return Fail(code::kPathNotFound);
    rest.erase(0, 2);
  }
  std::size_t start = 0;
  while (start < rest.size() && platform::path::IsSeparator(rest[start])) ++start;
  rest.erase(0, start);
  for (char c : rest)
    if (platform::path::IsSeparator(c)) return Fail(code::kPathNotFound);  // the floppy has no folders
  // Windows drops trailing dots and blanks from the last component.
  while (!rest.empty() && (rest.back() == '.' || rest.back() == ' ')) rest.pop_back();
  if (!rest.empty() && !WhyNotStorable(rest).empty()) return Fail(error::kInvalidName);
  *name = rest;
  return Status::Ok();
}

bool VolumeFileSystem::LongNameBytes(const DirEntry& entry, std::string* name) const {
  name->clear();
  for (char16_t u : entry.longName) {
    auto it = bytes_.find(u);
    if (it == bytes_.end()) return false;
    *name += it->second;
  }
  return !entry.longName.empty();
}

bool VolumeFileSystem::Find(const std::string& name, std::uint32_t* slot) const {
  const std::string key = FoldKey(name, codec_);
  for (const DirEntry& e : volume_.List()) {
    if (e.attributes & (attr::kLabel | attr::kDirectory)) continue;
    std::string longName;
    // A long name with a character the code page lacks matches no name of ours.
    bool match = FoldKey(e.shortName, codec_) == key ||
                 (LongNameBytes(e, &longName) && FoldKey(longName, codec_) == key);
    if (match) {
      *slot = e.slot;
      return true;
    }
  }
  return false;
}

bool VolumeFileSystem::InUse(std::uint32_t slot) const {
  for (const auto& [id, h] : handles_)
    if (h.slot == slot) return true;
  return false;
}

VolumeFileSystem::Handle* VolumeFileSystem::HandleOf(platform::FileHandle file) {
  auto it = handles_.find(file);
  return it == handles_.end() ? nullptr : &it->second;
}

Status VolumeFileSystem::Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) {
  *file = platform::kNoFile;
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  if (name.empty()) return Fail(code::kAccessDenied);  // the root is no file
  std::uint32_t slot = 0;
  const bool found = Find(name, &slot);
  Handle handle;
  handle.name = name;
  if (mode == platform::OpenMode::kReadShared || mode == platform::OpenMode::kReadExclusive) {
    if (!found) return Fail(code::kFileNotFound);
    for (const auto& [id, h] : handles_) {
      if (h.slot == slot && (h.write || h.exclusive || mode == platform::OpenMode::kReadExclusive)) {
        return Fail(code::kSharingViolation);
      }
    }
    handle.exclusive = mode == platform::OpenMode::kReadExclusive;
  } else {
    if (writeProtected_) return Fail(code::kWriteProtect);
    const DosTime now = ToDosTime(now_);
    if (found) {
      if (mode == platform::OpenMode::kCreateNew) return Fail(code::kFileExists);
      if (InUse(slot)) return Fail(code::kSharingViolation);
      if (volume_.EntryAt(slot).attributes & (attr::kReadOnly | attr::kHidden | attr::kSystem)) {
        return Fail(code::kAccessDenied);
      }
      volume_.Truncate(slot);
      volume_.SetAttributes(slot, attr::kArchive);
      volume_.SetAllTimes(slot, now);
    } else if (!volume_.AddEntry(name, codec_, now, &slot)) {
      return Fail(error::kCannotMake);
    }
    handle.write = true;
    handle.exclusive = true;
  }
  handle.slot = slot;
  *file = nextHandle_++;
  handles_.emplace(*file, handle);
  return Status::Ok();
}

Status VolumeFileSystem::Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  *done = 0;
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  if (h->write) return Fail(code::kAccessDenied);
  *done = volume_.ReadAt(h->slot, h->position, buffer, size);
  h->position += *done;
  return Status::Ok();
}

Status VolumeFileSystem::Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
                               std::uint32_t* done) {
  *done = 0;
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  if (!h->write) return Fail(code::kAccessDenied);
  if (writeProtected_) return Fail(code::kWriteProtect);
  *done = volume_.WriteAt(h->slot, h->position, buffer, size);
  h->position += *done;
  // What fits is stored; nothing at all fitting is the full disk itself.
  if (*done == 0 && size > 0) return Fail(code::kDiskFull);
  return Status::Ok();
}

Status VolumeFileSystem::Flush(platform::FileHandle file) {
  return HandleOf(file) != nullptr ? Status::Ok() : Fail(code::kInvalidHandle);
}

Status VolumeFileSystem::Seek(platform::FileHandle file, std::uint32_t offset) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  h->position = offset;
  return Status::Ok();
}

Status VolumeFileSystem::Skip(platform::FileHandle file, std::uint32_t count) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  if (count > UINT32_MAX - h->position) return Fail(code::kInvalidParameter);
  h->position += count;
  return Status::Ok();
}

Status VolumeFileSystem::Tell(platform::FileHandle file, std::uint32_t* offset) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  *offset = h->position;
  return Status::Ok();
}

Status VolumeFileSystem::GetSize(platform::FileHandle file, std::uint64_t* size) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  *size = volume_.EntryAt(h->slot).size;
  return Status::Ok();
}

Status VolumeFileSystem::GetTimes(platform::FileHandle file, platform::FileTimes* times) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  DirEntry e = volume_.EntryAt(h->slot);
  times->creation = FromDosTime(e.created);
  times->lastAccess = FromDosTime({e.accessDate, 0});
  times->lastWrite = FromDosTime(e.written);
  return Status::Ok();
}

Status VolumeFileSystem::SetTimes(platform::FileHandle file, const platform::FileTimes& times) {
  Handle* h = HandleOf(file);
  if (h == nullptr) return Fail(code::kInvalidHandle);
  if (!h->write) return Fail(code::kAccessDenied);
  if (writeProtected_) return Fail(code::kWriteProtect);
  if (times.lastWrite == 0) return Status::Ok();
  bool moved = false;
  DosTime stored = ToDosTime(times.lastWrite, &moved);
  volume_.SetAllTimes(h->slot, stored);
  if (moved) moved_.push_back({h->name, times.lastWrite, FromDosTime(stored)});
  return Status::Ok();
}

Status VolumeFileSystem::Close(platform::FileHandle file) {
  return handles_.erase(file) == 1 ? Status::Ok() : Fail(code::kInvalidHandle);
}

Status VolumeFileSystem::Remove(const char* path) {
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  if (name.empty()) return Fail(code::kAccessDenied);
  std::uint32_t slot = 0;
  if (!Find(name, &slot)) return Fail(code::kFileNotFound);
  if (writeProtected_) return Fail(code::kWriteProtect);
  if (InUse(slot)) return Fail(code::kSharingViolation);
  if (volume_.EntryAt(slot).attributes & attr::kReadOnly) return Fail(code::kAccessDenied);
  volume_.RemoveEntry(slot);
  return Status::Ok();
}

Status VolumeFileSystem::Replace(const char* source, const char* target) {
  std::string from, to;
  if (Status s = NameOf(source, &from); !s) return s;
  if (Status s = NameOf(target, &to); !s) return s;
  std::uint32_t fromSlot = 0, toSlot = 0;
  if (from.empty() || to.empty()) return Fail(code::kAccessDenied);
  if (!Find(from, &fromSlot)) return Fail(code::kFileNotFound);
  if (writeProtected_) return Fail(code::kWriteProtect);
  const bool targetThere = Find(to, &toSlot);
  if (targetThere && fromSlot == toSlot) return Status::Ok();
  if (InUse(fromSlot) || (targetThere && InUse(toSlot))) return Fail(code::kSharingViolation);
  if (targetThere && (volume_.EntryAt(toSlot).attributes & attr::kReadOnly)) return Fail(code::kAccessDenied);
  // Like a rename when there is nothing to replace.
  if (!targetThere && !volume_.AddEntry(to, codec_, ToDosTime(now_), &toSlot)) return Fail(error::kCannotMake);
  DirEntry replacement = volume_.EntryAt(fromSlot);
  volume_.MoveData(fromSlot, toSlot);
  volume_.SetAttributes(toSlot, replacement.attributes);
  volume_.SetAllTimes(toSlot, replacement.written);
  return Status::Ok();
}

Status VolumeFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  if (name.empty()) {
    *attributes = platform::attr::kDirectory;
    return Status::Ok();
  }
  std::uint32_t slot = 0;
  if (!Find(name, &slot)) return Fail(code::kFileNotFound);
  std::uint32_t a = volume_.EntryAt(slot).attributes & 0x27;
  *attributes = a == 0 ? platform::attr::kNormal : a;
  return Status::Ok();
}

Status VolumeFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  std::uint32_t slot = 0;
  if (name.empty() || !Find(name, &slot)) return Fail(code::kFileNotFound);
  if (writeProtected_) return Fail(code::kWriteProtect);
  volume_.SetAttributes(slot, static_cast<std::uint8_t>(attributes & 0x27));
  return Status::Ok();
}

Status VolumeFileSystem::MakeDirectory(const char*) { return Fail(code::kAccessDenied); }

Status VolumeFileSystem::ListDirectory(const char* path, platform::DirectoryVisitor& visitor) {
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  if (!name.empty()) return Fail(code::kPathNotFound);  // the floppy has no folders
  for (const DirEntry& e : volume_.List()) {
    if (e.attributes & (attr::kLabel | attr::kDirectory)) continue;
    // As FindFirstFileA names it: by the short name where the long one
    // does not fit the code page.
    std::string shown;
    if (!LongNameBytes(e, &shown)) shown = e.shortName;
    visitor.Visit({shown.c_str(), platform::EntryKind::kFile, platform::EntryKind::kFile});
  }
  return Status::Ok();
}

Status VolumeFileSystem::SetCurrentDir(const char* path) {
  std::string name;
  if (Status s = NameOf(path, &name); !s) return s;
  return name.empty() ? Status::Ok() : Fail(code::kPathNotFound);
}

}  // namespace floppy
