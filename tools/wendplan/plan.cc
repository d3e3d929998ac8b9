#include "tools/wendplan/plan.h"

#include <algorithm>
#include <map>
#include <random>

#include "tools/wendplan/floppy_fat.h"
#include "tools/wendplan/output.h"
#include "platform/windows_path.h"

namespace wendplan {
namespace {

bool Fits(const Disk& disk, const Item& item) {
  return disk.clusters + item.clusters <= kFloppyClusters && disk.slots + item.slots <= kUsableRootSlots;
}

void Put(Disk* disk, const Item& item) {
  disk->files.push_back(item.file);
  disk->clusters += item.clusters;
  disk->slots += item.slots;
}

Item ItemOf(const std::vector<PlanFile>& files, std::size_t i) {
  return Item{i, files[i].clusters, files[i].rootSlots};
}

// Each item on the disk it fills most tightly (by clusters).
void BestFit(const std::vector<Item>& items, std::vector<Disk>* disks) {
  for (const Item& item : items) {
    Disk* best = nullptr;
    for (Disk& d : *disks)
      if (Fits(d, item) && (best == nullptr || d.clusters > best->clusters)) best = &d;
    if (best == nullptr) best = &disks->emplace_back();
    Put(best, item);
  }
}

// How much room a disk has left, as SpreadFit weighs it: by clusters, by
// root entries, or by both, each in proportion to how full the whole set
// makes the disks in that respect. Integer arithmetic, so that every build
// of the planner weighs alike.
enum class Room { kClusters, kEntries, kBoth };

// `load`: the clusters and root slots of all files.
RoomWeights WeightsOf(Room room, const RoomWeights& load) {
  constexpr std::uint64_t c = kFloppyClusters, s = kUsableRootSlots;
  switch (room) {
    case Room::kClusters:
      return {1, 0};
    case Room::kEntries:
      return {0, 1};
    case Room::kBoth:
      break;
  }
  // free clusters / C weighted by clusters / C, free slots / S by slots / S,
  // all multiplied by C^2 S^2.
  return {load.clusters * s * s, load.entries * c * c};
}

std::uint64_t RoomLeft(const Disk& disk, const RoomWeights& w) {
  return (kFloppyClusters - disk.clusters) * w.clusters + (kUsableRootSlots - disk.slots) * w.entries;
}

}  // namespace

// Spreading the large files this way leaves every disk room for its share
// of the small ones, which first fit piles onto the last disks until their
// root directories are full.
bool SpreadFit(const std::vector<Item>& items, std::size_t count, const RoomWeights& weights,
               std::vector<Disk>* disks) {
  if (disks->size() < count) disks->resize(count);
  for (const Item& item : items) {
    Disk* roomiest = nullptr;
    std::uint64_t most = 0;
    for (Disk& d : *disks) {
      if (!Fits(d, item)) continue;
      std::uint64_t room = RoomLeft(d, weights);
      if (roomiest == nullptr || room > most) roomiest = &d, most = room;
    }
    if (roomiest == nullptr) return false;
    Put(roomiest, item);
  }
  disks->erase(std::remove_if(disks->begin(), disks->end(), [](const Disk& d) { return d.files.empty(); }),
               disks->end());
  return true;
}

namespace {

std::string Slash(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// The file a --first argument names: its relative path or its floppy name.
std::size_t FindFile(const std::vector<PlanFile>& files, const std::string& wanted,
                     const kit::KitNames& names) {
  std::string key = FoldCase(Slash(wanted), names);
  for (std::size_t i = 0; i < files.size(); ++i)
    if (FoldCase(files[i].relative, names) == key) return i;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (FoldCase(files[i].floppyName, names) == key) return i;
  return files.size();
}

bool CheckNames(const std::vector<PlanFile>& files, const kit::KitNames& names, std::string* error) {
  std::vector<std::string> bad;
  for (const PlanFile& f : files) {
    std::string why = WhyNotStorable(f.floppyName);
    if (!why.empty()) bad.push_back(names.HostPath(f.relative) + " (" + why + ")");
  }
  if (!bad.empty()) {
    *error = "cannot be named on a FAT floppy: " + JoinList(bad, ", ");
    return false;
  }
  std::map<std::string, std::vector<std::string>> byName;
  for (const PlanFile& f : files) byName[FoldCase(f.floppyName, names)].push_back(names.HostPath(f.relative));
  std::vector<std::string> clashes;
  for (const auto& [name, group] : byName)
    if (group.size() > 1) clashes.push_back(JoinList(group, ", "));
  if (!clashes.empty()) {
    *error = "would get the same name on a floppy (every file lands at its top level): " +
             JoinList(clashes, "; ");
    return false;
  }
  std::vector<std::string> large;
  for (const PlanFile& f : files)
    if (f.clusters > kFloppyClusters)
      large.push_back(names.HostPath(f.relative) + " (" + Counted(f.bytes, "byte", "bytes") + ")");
  if (!large.empty()) {
    *error = "too large for a 1.44 MB floppy (" + Thousands(kFloppyClusters * kClusterBytes) +
             " bytes): " + JoinList(large, ", ");
    return false;
  }
  return true;
}

// The setup program, SETUP.EXE in any case, when the folder has one.
std::size_t FindSetupProgram(const std::vector<PlanFile>& files, const kit::KitNames& names) {
  std::size_t i = FindFile(files, "SETUP.EXE", names);
  return i < files.size() && FoldCase(files[i].floppyName, names) == "SETUP.EXE" ? i : files.size();
}

// Disk 1 begun with the --first files and the setup program, or no disk
// when there are none. The product is installed by running its setup
// program from the first floppy, so SETUP.EXE is on disk 1 whatever
// --first names: after the named files, or where --first names it among
// them. A set that cannot hold it there is refused rather than planned
// with the setup program on a later disk.
bool StartFirstDisk(const std::vector<PlanFile>& files, const std::vector<std::string>& first,
                    bool firstGiven, const kit::KitNames& names, std::vector<Disk>* disks,
                    std::vector<bool>* placed, std::string* error) {
  std::vector<std::size_t> chosen;
  if (firstGiven) {
    std::vector<std::string> missing;
    for (const std::string& name : first) {
      std::size_t i = FindFile(files, name, names);
      if (i == files.size())
        missing.push_back(names.ToHost(name));
      else if (std::find(chosen.begin(), chosen.end(), i) == chosen.end())
        chosen.push_back(i);
    }
    if (!missing.empty()) {
      *error = "--first names no file of the setup folder: " + JoinList(missing, ", ");
      return false;
    }
  }
  auto fits = [](const Disk& d) { return d.clusters <= kFloppyClusters && d.slots <= kUsableRootSlots; };
  Disk disk;
  std::vector<std::string> shown;
  for (std::size_t i : chosen) {
    Put(&disk, ItemOf(files, i));
    shown.push_back(names.HostPath(files[i].relative));
  }
  if (!fits(disk)) {
    *error = "the --first files do not fit on one floppy together: " + JoinList(shown, ", ");
    return false;
  }
  const std::size_t setup = FindSetupProgram(files, names);
  if (setup < files.size() && std::find(chosen.begin(), chosen.end(), setup) == chosen.end()) {
    chosen.push_back(setup);
    Put(&disk, ItemOf(files, setup));
    if (!fits(disk)) {
      *error = "the setup program " + names.HostPath(files[setup].relative) +
               " does not fit on disk 1 beside the --first files " + JoinList(shown, ", ") +
               " (it is run from disk 1): name fewer, or smaller, --first files";
      return false;
    }
  }
  if (chosen.empty()) return true;
  for (std::size_t i : chosen) (*placed)[i] = true;
  disks->push_back(std::move(disk));
  return true;
}

// First-fit decreasing is the plan to beat; best fit and a slot-first
// order help sets of many small files.
std::vector<Disk> FirstFitPlan(const std::vector<Item>& items, const std::vector<Item>& bySlots,
                               const std::vector<Disk>& start, std::uint64_t bound) {
  std::vector<Disk> best = start;
  FirstFit(items, &best);
  if (best.size() > bound) {
    std::vector<Disk> disks = start;
    BestFit(items, &disks);
    if (disks.size() < best.size()) best = std::move(disks);
  }
  if (best.size() > bound) {
    std::vector<Disk> disks = start;
    FirstFit(bySlots, &disks);
    if (disks.size() < best.size()) best = std::move(disks);
  }
  return best;
}

// Files times disks up to which the shuffled orders take a few
// milliseconds.
constexpr std::size_t kCheapShuffling = 20000;

// While `best` is above the lower bound: first fit on slightly shuffled
// decreasing orders. The generator's seed is fixed, so the same folder
// always gives the same plan.
void ShuffledFirstFit(const std::vector<Item>& items, const std::vector<Disk>& start, std::uint64_t bound,
                      std::vector<Disk>* best) {
  std::mt19937 random(20261208u);
  for (int round = 0; round < 400 && best->size() > bound && items.size() > 1; ++round) {
    std::vector<Item> order = items;
    for (std::size_t k = 0; k < order.size() / 3 + 1; ++k) {
      std::size_t i = random() % order.size();
      std::size_t j = std::min(order.size() - 1, i + 1 + random() % 4);
      std::swap(order[i], order[j]);
    }
    std::vector<Disk> disks = start;
    FirstFit(order, &disks);
    if (disks.size() < best->size()) *best = std::move(disks);
  }
}

// The files spread over as few disks as SpreadFit manages, fewer than
// `below`, or no disks. Large files first, by clusters or by root entries,
// with the room that order leaves weighed alike or by both. The lower bound
// `from` is tried first, as it usually works; past it the count is halved
// in, so that a set far above its bound costs a few passes, not one per
// disk.
std::vector<Disk> SpreadSearch(const std::vector<Item>& byClusters, const std::vector<Item>& bySlots,
                               const std::vector<Disk>& start, std::size_t from, std::size_t below,
                               const RoomWeights& load) {
  const struct {
    const std::vector<Item>& order;
    Room room;
  } tries[] = {{byClusters, Room::kClusters}, {byClusters, Room::kBoth}, {bySlots, Room::kEntries},
               {bySlots, Room::kBoth}};
  auto spread = [&](std::size_t count, std::vector<Disk>* found) {
    for (const auto& t : tries) {
      std::vector<Disk> disks = start;
      if (SpreadFit(t.order, count, WeightsOf(t.room, load), &disks)) {
        *found = std::move(disks);
        return true;
      }
    }
    return false;
  };
  std::vector<Disk> best;
  if (from >= below || spread(from, &best)) return best;
  // Nothing fits on `low` disks; `high` is where the search stops.
  std::size_t low = from, high = below;
  while (low + 1 < high) {
    std::size_t middle = low + (high - low) / 2;
    std::vector<Disk> found;
    if (spread(middle, &found)) {
      best = std::move(found);
      high = std::min(middle, best.size());
    } else {
      low = middle;
    }
  }
  return best;
}

}  // namespace

PlanFile DescribeFile(const std::string& relative, std::uint64_t bytes) {
  PlanFile f;
  f.relative = relative;
  f.floppyName = platform::path::LastComponent(relative.c_str());
  f.bytes = bytes;
  f.clusters = ClustersOf(bytes);
  f.rootSlots = RootSlotsOf(f.floppyName);
  return f;
}

LowerBound BestLowerBound(const std::vector<PlanFile>& files) {
  std::uint64_t clusters = 0, slots = 0, large = 0;
  for (const PlanFile& f : files) {
    clusters += f.clusters;
    slots += f.rootSlots;
    if (2 * f.clusters > kFloppyClusters) ++large;
  }
  LowerBound best{std::max<std::uint64_t>(1, (clusters + kFloppyClusters - 1) / kFloppyClusters),
                  LowerBound::kClusters};
  const LowerBound others[] = {{(slots + kUsableRootSlots - 1) / kUsableRootSlots, LowerBound::kRootEntries},
                               {large, LowerBound::kLargeFiles}};
  for (const LowerBound& b : others)
    if (b.disks > best.disks) best = b;
  return best;
}

void FirstFit(const std::vector<Item>& items, std::vector<Disk>* disks) {
  for (const Item& item : items) {
    auto it = std::find_if(disks->begin(), disks->end(), [&](const Disk& d) { return Fits(d, item); });
    Put(it != disks->end() ? &*it : &disks->emplace_back(), item);
  }
}

void SortDecreasing(std::vector<Item>* items, const std::vector<PlanFile>& files) {
  std::sort(items->begin(), items->end(), [&](const Item& a, const Item& b) {
    if (a.clusters != b.clusters) return a.clusters > b.clusters;
    if (a.slots != b.slots) return a.slots > b.slots;
    return files[a.file].relative < files[b.file].relative;
  });
}

bool MakePlan(std::vector<PlanFile> files, const std::vector<std::string>& first, bool firstGiven,
              Plan* plan, std::string* error, const kit::KitNames& names) {
  if (files.empty()) {
    *error = "no files to plan";
    return false;
  }
  if (!CheckNames(files, names, error)) return false;
  std::vector<Disk> start;
  std::vector<bool> placed(files.size(), false);
  if (!StartFirstDisk(files, first, firstGiven, names, &start, &placed, error)) return false;

  std::vector<Item> items;
  std::uint64_t clusters = 0, slots = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    clusters += files[i].clusters;
    slots += files[i].rootSlots;
    if (!placed[i]) items.push_back(ItemOf(files, i));
  }
  const LowerBound bound = BestLowerBound(files);

  SortDecreasing(&items, files);
  std::vector<Item> bySlots = items;
  std::stable_sort(bySlots.begin(), bySlots.end(), [](const Item& a, const Item& b) { return a.slots > b.slots; });
  // First fit's plans stand unless spreading the files needs fewer disks.
  // Shuffled orders cost the most: on a small set they run first, so that a
  // tie keeps the plan they always made; on a large one only when
  // spreading has not reached the lower bound either.
  std::vector<Disk> best = FirstFitPlan(items, bySlots, start, bound.disks);
  const bool shuffleFirst = items.size() * best.size() <= kCheapShuffling;
  if (shuffleFirst) ShuffledFirstFit(items, start, bound.disks, &best);
  std::vector<Disk> spread = SpreadSearch(items, bySlots, start, static_cast<std::size_t>(bound.disks),
                                          best.size(), RoomWeights{clusters, slots});
  if (!spread.empty()) best = std::move(spread);
  if (!shuffleFirst) ShuffledFirstFit(items, start, bound.disks, &best);

  // On each floppy: the --first files in the order given, then the rest by name.
  for (Disk& d : best) {
    auto rest = d.files.begin();
    if (&d == &best.front()) {
      rest = std::stable_partition(d.files.begin(), d.files.end(), [&](std::size_t i) { return placed[i]; });
    }
    std::sort(rest, d.files.end(), [&](std::size_t a, std::size_t b) {
      std::string fa = FoldCase(files[a].relative, names), fb = FoldCase(files[b].relative, names);
      return fa != fb ? fa < fb : files[a].relative < files[b].relative;
    });
    d.bytes = 0;
    for (std::size_t i : d.files) d.bytes += files[i].bytes;
  }
  plan->totalBytes = 0;
  for (const PlanFile& f : files) plan->totalBytes += f.bytes;
  plan->totalClusters = clusters;
  plan->totalSlots = slots;
  plan->lowerBound = bound;
  plan->disks = std::move(best);
  plan->files = std::move(files);
  return true;
}

}  // namespace wendplan
