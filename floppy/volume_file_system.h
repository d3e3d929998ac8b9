// A floppy volume seen through the platform's file interface, as drive A:
// with the floppy in it, so the copy engine writes an image exactly as it
// writes a floppy: the same calls, the same Win32 codes for a full disk, a
// full root directory, a name the disk cannot hold or a file in use.
//
// The floppy is flat: paths name a file at its top level ("A:NAME",
// "A:\NAME", "\NAME" or "NAME"); a folder is refused. Names are in the
// kit's code page and found without regard to case by the code page's rules,
// under their long or their short name.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "floppy/volume.h"
#include "platform/file_system.h"

namespace floppy {

// Win32 codes this volume reports beyond the platform's own list.
namespace error {
constexpr std::uint32_t kCannotMake = 82;    // ERROR_CANNOT_MAKE: the root directory is full
constexpr std::uint32_t kInvalidName = 123;  // ERROR_INVALID_NAME
}  // namespace error

class VolumeFileSystem final : public platform::FileSystem {
 public:
  // Works on `volume`, which must outlive it. Files made without a time of
  // their own get `now` (the run's SOURCE_DATE_EPOCH, say), never the clock.
  VolumeFileSystem(Volume& volume, const NameCodec& codec, platform::FileTime now, char drive = 'A');

  // A last-write time the disk could not hold and stored at the nearer end
  // of its calendar instead.
  struct MovedTime {
    std::string name;  // as the caller named the file, in the code page
    platform::FileTime asked = 0;
    platform::FileTime stored = 0;
  };
  const std::vector<MovedTime>& movedTimes() const { return moved_; }
  void ClearMovedTimes() { moved_.clear(); }

  // A floppy with its write protection on: every change fails with 19.
  void SetWriteProtected(bool on) { writeProtected_ = on; }
  // Attributes as SetFileAttributes sets them (read-only, hidden, archive, ...).
  platform::Status SetAttributes(const char* path, std::uint32_t attributes);

  platform::Status Open(const char* path, platform::OpenMode mode, platform::FileHandle* file) override;
  platform::Status Read(platform::FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
  platform::Status Write(platform::FileHandle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* done) override;
  platform::Status Flush(platform::FileHandle file) override;
  platform::Status Seek(platform::FileHandle file, std::uint32_t offset) override;
  platform::Status Skip(platform::FileHandle file, std::uint32_t count) override;
  platform::Status Tell(platform::FileHandle file, std::uint32_t* offset) override;
  platform::Status GetSize(platform::FileHandle file, std::uint64_t* size) override;
  platform::Status GetTimes(platform::FileHandle file, platform::FileTimes* times) override;
  // Stores the last-write time (to two seconds, see ToDosTime); creation
  // and last-access dates follow it. A time of 0 leaves the file's as it is.
  platform::Status SetTimes(platform::FileHandle file, const platform::FileTimes& times) override;
  platform::Status Close(platform::FileHandle file) override;
  platform::Status Remove(const char* path) override;
  // Puts `source`'s data under `target`'s name (a rename when `target` is not there).
  platform::Status Replace(const char* source, const char* target) override;
  platform::Status GetAttributes(const char* path, std::uint32_t* attributes) override;
  // The files at the top level; any other folder fails with 3.
  platform::Status ListDirectory(const char* path, platform::DirectoryVisitor& visitor) override;
  // Refused with 5: our floppies are flat, every file at the top level.
  platform::Status MakeDirectory(const char* path) override;
  // Only the root ("A:\") can be the current folder.
  platform::Status SetCurrentDir(const char* path) override;

  // Handles not closed yet.
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Handle {
    std::uint32_t slot = 0;
    std::uint32_t position = 0;
    bool write = false;
    bool exclusive = false;
    std::string name;
  };
  // The name a path gives a file at the floppy's top level; an empty name
  // for the root itself. Fails with 3 for another drive or a folder, 123
  // for a name the disk cannot hold.
  platform::Status NameOf(const char* path, std::string* name) const;
  // The entry's long name in the code page; false when it has none or
  // the code page lacks one of its characters.
  bool LongNameBytes(const DirEntry& entry, std::string* name) const;
  // The slot of the file named `name`, or false.
  bool Find(const std::string& name, std::uint32_t* slot) const;
  bool InUse(std::uint32_t slot) const;
  Handle* HandleOf(platform::FileHandle file);

  Volume& volume_;
  const NameCodec& codec_;
  platform::FileTime now_;
  char drive_;
  bool writeProtected_ = false;
  std::unordered_map<char16_t, char> bytes_;  // the code page byte of each character it holds
  std::map<platform::FileHandle, Handle> handles_;
  platform::FileHandle nextHandle_ = 1;
  std::vector<MovedTime> moved_;
};

}  // namespace floppy
