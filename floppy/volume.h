// A FAT12 floppy held in memory, byte for byte as its image file: the boot
// sector, two identical FATs, the root directory and the data clusters. It
// formats a 1.44 MB floppy the way Windows lays one out, reads any FAT12
// floppy image, and keeps the files of one flat root directory.
//
// Everything it writes depends only on what it is given, so the same files
// with the same names, times and order give the same image.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "floppy/fat_time.h"
#include "floppy/names.h"
#include "platform/types.h"

namespace floppy {

// The layout a boot sector's parameter block describes. The defaults are a
// 1.44 MB 3.5" floppy as Windows formats it.
struct Geometry {
  std::uint32_t bytesPerSector = 512;
  std::uint32_t sectorsPerCluster = 1;
  std::uint32_t reservedSectors = 1;
  std::uint32_t fatCount = 2;
  std::uint32_t rootEntries = 224;
  std::uint32_t totalSectors = 2880;
  std::uint8_t media = 0xF0;
  std::uint32_t sectorsPerFat = 9;
  std::uint32_t sectorsPerTrack = 18;
  std::uint32_t heads = 2;

  std::uint32_t clusterBytes() const { return bytesPerSector * sectorsPerCluster; }
  std::uint32_t firstRootSector() const { return reservedSectors + fatCount * sectorsPerFat; }
  std::uint32_t rootSectors() const { return (rootEntries * 32 + bytesPerSector - 1) / bytesPerSector; }
  std::uint32_t firstDataSector() const { return firstRootSector() + rootSectors(); }
  std::uint32_t clusterCount() const { return (totalSectors - firstDataSector()) / sectorsPerCluster; }
  std::uint64_t imageBytes() const { return std::uint64_t{totalSectors} * bytesPerSector; }
  bool operator==(const Geometry&) const = default;
};

// The limits of a 1.44 MB floppy that a planner must know in advance. A
// disk of the set is full when either its data clusters or its root
// directory's slots run out: every file lands in the root.
constexpr std::uint64_t kImageBytes = 1474560;  // a 1.44 MB floppy
constexpr std::uint32_t kClusterBytes = 512;     // one sector a cluster
constexpr std::uint32_t kFloppyClusters = 2847;  // its data clusters
constexpr std::uint32_t kRootSlots = 224;
// One slot goes to the volume label every disk of the set carries.
constexpr std::uint32_t kUsableRootSlots = kRootSlots - 1;

// What the root of a floppy holds, one entry per file (or the label).
struct DirEntry {
  std::string shortName;     // "NAME.EXT", or the label's 11 characters trimmed
  std::u16string longName;   // empty when the entry has none
  std::uint8_t attributes = 0;
  std::uint32_t size = 0;
  std::uint32_t firstCluster = 0;
  DosTime written;
  DosTime created;
  std::uint16_t accessDate = 0;
  std::uint32_t slot = 0;    // index of the short entry in the root
  std::uint32_t slots = 1;   // slots taken, long-name entries included
};

namespace attr {
constexpr std::uint8_t kReadOnly = 0x01, kHidden = 0x02, kSystem = 0x04, kLabel = 0x08, kDirectory = 0x10,
                       kArchive = 0x20, kLongName = 0x0F;
}

// The serial number a disk of the set gets: 7A4D and the disk number.
constexpr std::uint32_t VolumeSerial(int number) {
  return 0x7A4D0000u | (static_cast<std::uint32_t>(number) & 0xFFFFu);
}

// "DISK<n>", the label of disk n.
std::string DiskLabel(int number);

// The OEM name in the boot sector: "MSWIN4.1", the value every FAT driver
// takes at its word (some read the parameter block of other names warily).
constexpr const char* kOemName = "MSWIN4.1";

class Volume {
 public:
  // A blank, formatted 1.44 MB floppy for disk `number`: label DISK<n> in
  // the boot sector and as the root's label entry (dated `labelTime`), the
  // serial number of the disk, a boot sector that tells a machine starting
  // from it that it is no system disk.
  static Volume Format(int number, platform::FileTime labelTime);

  // An existing image, any FAT12 geometry. False with a one-line `why` when
  // the bytes are not a FAT12 volume.
  static bool Load(std::vector<std::uint8_t> bytes, Volume* volume, std::string* why);

  Volume() = default;

  const std::vector<std::uint8_t>& bytes() const { return image_; }
  const Geometry& geometry() const { return geometry_; }
  std::uint32_t TotalClusters() const { return geometry_.clusterCount(); }
  std::uint32_t FreeClusters() const;
  // True when no cluster is taken and the root holds no file: what a
  // freshly formatted floppy is (a label does not count).
  bool IsBlank() const;

  // The root's files and label, in the order of their slots.
  std::vector<DirEntry> List() const;
  // A file's bytes, along its cluster chain. False when the chain is broken
  // or shorter than the size says.
  bool ReadFile(const DirEntry& entry, std::string* data) const;

  // --- the operations the file system is made of

  // Adds an entry for `name` (already checked with WhyNotStorable) with its
  // long-name entries where it needs them and a short name unique in the
  // root. False when the root has no run of free slots long enough.
  bool AddEntry(std::string_view name, const NameCodec& codec, DosTime time, std::uint32_t* slot);
  // Frees the entry's clusters and marks its slots deleted.
  void RemoveEntry(std::uint32_t slot);
  // Frees the entry's clusters and leaves it empty.
  void Truncate(std::uint32_t slot);
  // Gives entry `target` the data (clusters, size) of entry `source` and
  // drops `source`'s slots; `target`'s own data is freed.
  void MoveData(std::uint32_t source, std::uint32_t target);

  // Writes at `offset`, taking clusters as it needs them. Returns the bytes
  // stored: fewer than `size` when the clusters ran out.
  std::uint32_t WriteAt(std::uint32_t slot, std::uint32_t offset, const void* data, std::uint32_t size);
  // Reads up to `size` bytes at `offset`; fewer at the end of the file.
  std::uint32_t ReadAt(std::uint32_t slot, std::uint32_t offset, void* data, std::uint32_t size) const;

  DirEntry EntryAt(std::uint32_t slot) const;
  void SetWritten(std::uint32_t slot, DosTime written);
  // Creation and last-access dates follow the last write, so that an image
  // depends on nothing but the files' last-write times.
  void SetAllTimes(std::uint32_t slot, DosTime time);
  void SetAttributes(std::uint32_t slot, std::uint8_t attributes);

  std::uint32_t FatEntry(std::uint32_t cluster) const;

 private:
  explicit Volume(const Geometry& geometry) : geometry_(geometry), image_(geometry.imageBytes()) {}
  std::uint8_t* Slot(std::uint32_t index) { return image_.data() + RootOffset() + index * 32; }
  const std::uint8_t* Slot(std::uint32_t index) const { return image_.data() + RootOffset() + index * 32; }
  std::size_t RootOffset() const { return std::size_t{geometry_.firstRootSector()} * geometry_.bytesPerSector; }
  std::size_t ClusterOffset(std::uint32_t cluster) const;
  void SetFatEntry(std::uint32_t cluster, std::uint32_t value);
  void FreeChain(std::uint32_t first);
  // Cuts the entry's chain to the clusters its size needs.
  void TrimChain(std::uint32_t slot);
  // A free cluster, `after + 1` when that one is free, else the lowest; 0 when none.
  std::uint32_t TakeCluster(std::uint32_t after);
  bool ShortNameTaken(const ShortName& name) const;

  Geometry geometry_;
  std::vector<std::uint8_t> image_;
};

// How an image found on disk looks as the floppy to write on.
enum class ImageKind {
  kBlank,       // a blank, formatted 1.44 MB floppy
  kNotBlank,    // a 1.44 MB floppy with files (or clusters) on it
  kOtherFloppy, // a FAT12 volume of another size or layout (720 KB, ...)
  kNotFat,      // no FAT12 volume at all
};
struct Judgement {
  ImageKind kind = ImageKind::kNotFat;
  Geometry geometry;
  std::uint32_t totalClusters = 0;
  std::uint32_t freeClusters = 0;
  std::string why;  // for kNotFat and kOtherFloppy, one line
};
Judgement JudgeImage(std::span<const std::uint8_t> bytes);

}  // namespace floppy
