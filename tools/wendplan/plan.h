// Splitting a setup folder's files over as few 1.44 MB floppies as we can.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/kit_names.h"

namespace wendplan {

// Names are in the kit's code page, as Wendmark and the floppy see them.
struct PlanFile {
  std::string relative;  // below the setup folder, backslash-separated
  std::string floppyName;  // the last component: its name on the floppy
  std::uint64_t bytes = 0;
  std::uint64_t clusters = 0;
  std::uint32_t rootSlots = 0;
};

// One file's weight in the packing: clusters and root slots.
struct Item {
  std::size_t file = 0;  // index into the file list
  std::uint64_t clusters = 0;
  std::uint32_t slots = 0;
};

struct Disk {
  std::vector<std::size_t> files;  // indexes into the file list, in the order they go on the floppy
  std::uint64_t bytes = 0;
  std::uint64_t clusters = 0;
  std::uint32_t slots = 0;
};

// Fewer disks than this cannot hold the files, whatever the plan.
struct LowerBound {
  enum Kind {
    kClusters,     // ceil(clusters / 2,847), at least 1
    kRootEntries,  // ceil(root slots / 223)
    kLargeFiles,   // files of more than half a floppy: no two share one
  };
  std::uint64_t disks = 1;
  Kind kind = kClusters;
};

// The best of the three; on a tie the earlier kind.
LowerBound BestLowerBound(const std::vector<PlanFile>& files);

struct Plan {
  std::vector<PlanFile> files;
  std::vector<Disk> disks;
  std::uint64_t totalBytes = 0;
  std::uint64_t totalClusters = 0;
  std::uint64_t totalSlots = 0;
  LowerBound lowerBound;
};

// Name, size, clusters and root slots of one file found below the setup folder.
PlanFile DescribeFile(const std::string& relative, std::uint64_t bytes);

// Places `items` in the given order, each on the first disk with room for it.
// `disks` may hold disks already begun (the first disk's --first files).
void FirstFit(const std::vector<Item>& items, std::vector<Disk>* disks);

// How SpreadFit weighs the room a disk has left: its free clusters times
// `clusters` plus its free root entries times `entries`.
struct RoomWeights {
  std::uint64_t clusters = 0;
  std::uint64_t entries = 0;
};

// Fills at most `count` disks, those in `disks` already begun among them:
// each item, in the order given, goes to the disk with the most room left
// that holds it, the earliest such disk on a tie, so that the same files
// always give the same plan. False when an item finds no room; disks left
// empty are dropped.
bool SpreadFit(const std::vector<Item>& items, std::size_t count, const RoomWeights& weights,
               std::vector<Disk>* disks);

// The first-fit decreasing order: clusters, then slots, largest first.
void SortDecreasing(std::vector<Item>* items, const std::vector<PlanFile>& files);

// Plans `files` (at least one). `first` names the files for disk 1, as
// relative paths or floppy names in any case and with either separator;
// SETUP.EXE, when there is one, is on disk 1 as well, after them unless
// they name it. False with a one-line `error` naming the files (as the host
// spells them) when no plan exists, or none with SETUP.EXE on disk 1.
// `names` is the kit's code page: it folds case and shows names.
bool MakePlan(std::vector<PlanFile> files, const std::vector<std::string>& first, bool firstGiven,
              Plan* plan, std::string* error,
              const kivopack::KitNames& names = kivopack::KitNames::AsciiOnly());

}  // namespace wendplan
