// The one rule that turns a flat folder into a 1.44 MB FAT12 floppy image,
// and the look at an image that already exists, both done by mtools and
// dosfstools. The same folder always gives the same bytes: the serial number
// is fixed per disk, the files go on in byte-wise order of their names with
// their last-write times kept in UTC, and the one time mformat would take
// from the clock (the volume label's) is the newest file's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "tools/wendmark/run_program.h"

namespace wendmark::images {

// 1980-01-01 00:00:00 UTC, where FAT's calendar begins.
constexpr long long kFatEpoch = 315532800;
// The size of every image made here.
constexpr std::uint64_t kImageBytes = 1474560;

// What mtools and fsck.fat run with: times in UTC, no configuration file and
// no geometry check of their own, SOURCE_DATE_EPOCH when given (>= 0), and
// names read as UTF-8 where the host's encoding is UTF-8 or the C locale's
// (which counts as UTF-8, as Debian names files; mtools would otherwise
// take every byte of such a name for a character of its own).
tools::Environment ToolEnvironment(long long sourceDateEpoch = -1);

// "7A4D" and the disk number in four hex digits.
std::string VolumeSerial(int number);

// The names at a folder's top level in byte-wise order, and the newest
// last-write time among them (never before kFatEpoch). False with a
// one-line `error` when the folder cannot be read, holds anything but plain
// files, or holds two names that FAT would not tell apart.
struct FlatFolder {
  std::vector<std::string> names;
  long long newest = kFatEpoch;
};
bool ListFlatFolder(const std::string& folder, FlatFolder* listing, std::string* error);

// Writes `folder` as the image of disk `number` (label DISK<number>) into
// IMAGE.partial, checks it with fsck.fat -n, and only then renames it to
// `image`. On failure nothing is left under either name and `error` says why
// in one line.
bool MakeFloppyImage(const std::string& folder, const std::string& image, int number, std::string* error);

// The free-space answer of the floppy an existing image would be: its
// cluster size, total and free clusters as mtools reads them. False when
// mtools cannot read it as a FAT disk; `error` then holds its reason.
bool ReadImageSpace(const std::string& image, platform::FreeSpace* space, std::string* error);

// Copies what an existing image holds into `folder`, with the files' times,
// as a floppy keeps what was on it. True also when it holds nothing.
bool CopyImageContents(const std::string& image, const std::string& folder, std::string* error);

}  // namespace wendmark::images
