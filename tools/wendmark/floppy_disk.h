// The floppy of one disk while it is being made: a FAT12 volume in memory
// that the copy engine sees as drive A:, next to the host's files it copies
// from. What goes on it and how it is laid out is the floppy module's rule
// alone, so the images made from a package description and those made from
// a folder the Windows wizard wrote are the same bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "floppy/code_page_codec.h"
#include "floppy/volume.h"
#include "floppy/volume_file_system.h"
#include "platform/file_system.h"
#include "platform/intercepting_file_system.h"
#include "platform/posix/code_page.h"

namespace wendmark {

// Paths on drive A: ("A:\NAME") go to the floppy, every other path to the
// host's files.
class DriveAFiles final : public platform::InterceptingFileSystem {
 public:
  DriveAFiles(platform::FileSystem& host, platform::FileSystem& floppy)
      : InterceptingFileSystem(host), floppy_(floppy) {}

 private:
  platform::Status Around(platform::Call& call, const Next& next) override;

  platform::FileSystem& floppy_;
  // Our handles, to the side that opened each and its own handle there.
  std::map<platform::FileHandle, std::pair<platform::FileSystem*, platform::FileHandle>> open_;
  platform::FileHandle next_ = 1;
};

// The time a file without one gets, and the label's when the disk holds no
// file: SOURCE_DATE_EPOCH when it is set, else where FAT's calendar begins.
// Never the clock, so the same files always give the same image.
platform::FileTime FallbackTime();

// One disk's floppy, blank as formatted (or an existing image that passed
// the checks), with drive A: over it.
class FloppyDisk {
 public:
  FloppyDisk(floppy::Volume volume, const platform::posix::CodePage& page, platform::FileSystem& host);
  FloppyDisk(const FloppyDisk&) = delete;
  FloppyDisk& operator=(const FloppyDisk&) = delete;

  platform::FileSystem& files() { return router_; }
  floppy::VolumeFileSystem& drive() { return volume_files_; }
  const floppy::Volume& volume() const { return volume_; }

  // Lays the files the engine wrote out again on a fresh floppy of disk
  // `number`, in byte-wise order of their names in the code page, with
  // their times and attributes, the label dated with the newest file's
  // time. So an image depends only on its files: not on the order the
  // engine copied them in, nor on the floppy they were copied onto (a
  // blank one of another maker keeps neither its label nor its serial).
  // False with a one-line `error` when they do not fit.
  bool Relay(int number, std::string* error);

  // One line naming each file whose time the floppy could not hold, in the
  // host's encoding; "" when there is none.
  std::string MovedTimesLine(int number) const;

  // Writes the image as IMAGE.partial and renames it; false with a one-line
  // `error` in the host's words, and nothing left under either name.
  bool Save(const std::string& image, std::string* error) const;

 private:
  const platform::posix::CodePage& page_;
  floppy::Volume volume_;
  floppy::CodePageCodec codec_;
  floppy::VolumeFileSystem volume_files_;
  DriveAFiles router_;
};

// "1999-12-31 23:59:58", a time in UTC.
std::string UtcText(platform::FileTime time);

// The bytes of an existing image file; false with the Win32 code of the
// host's failure.
bool ReadImageFile(const std::string& image, std::vector<std::uint8_t>* bytes, std::uint32_t* code);

}  // namespace wendmark
