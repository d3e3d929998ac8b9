#include "floppy/volume.h"

#include <algorithm>
#include <cstring>

#include "floppy/boot_sector.h"

namespace floppy {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFF;
constexpr std::uint32_t kBadCluster = 0xFF7;
constexpr std::uint8_t kDeleted = 0xE5;
constexpr std::uint32_t kLongNameChars = 13;
// Where the 13 characters of a long-name entry sit in its 32 bytes.
constexpr std::uint8_t kLongNameOffsets[kLongNameChars] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | std::uint32_t{Get16(p + 2)} << 16; }
void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

bool IsFree(const std::uint8_t* slot) { return slot[0] == 0 || slot[0] == kDeleted; }
bool IsLongName(const std::uint8_t* slot) { return (slot[11] & 0x3F) == attr::kLongName; }

void WriteLongNameEntry(std::uint8_t* slot, const std::u16string& name, std::uint32_t part, bool last,
                        std::uint8_t checksum) {
  std::memset(slot, 0, 32);
  slot[0] = static_cast<std::uint8_t>((part + 1) | (last ? 0x40 : 0));
  slot[11] = attr::kLongName;
  slot[13] = checksum;
  for (std::uint32_t i = 0; i < kLongNameChars; ++i) {
    std::size_t at = part * kLongNameChars + i;
    // The name ends with one 0 and the rest of its last entry is FFFF.
    std::uint32_t unit = at < name.size() ? name[at] : at == name.size() ? 0 : 0xFFFF;
    Put16(slot + kLongNameOffsets[i], unit);
  }
}

}  // namespace

std::string DiskLabel(int number) { return "DISK" + std::to_string(number); }

Volume Volume::Format(int number, platform::FileTime labelTime) {
  Volume volume{Geometry{}};
  const Geometry& g = volume.geometry_;
  std::string label = DiskLabel(number);
  WriteBootSector(g, VolumeSerial(number), label, volume.image_.data());
  for (std::uint32_t f = 0; f < g.fatCount; ++f) {
    std::uint8_t* fat = volume.image_.data() + (g.reservedSectors + f * g.sectorsPerFat) * g.bytesPerSector;
    fat[0] = g.media;  // entries 0 and 1: the media byte and an end-of-chain mark
    fat[1] = 0xFF;
    fat[2] = 0xFF;
  }
  std::uint8_t* slot = volume.Slot(0);
  std::memset(slot, ' ', 11);
  std::memcpy(slot, label.data(), std::min<std::size_t>(label.size(), 11));
  slot[11] = attr::kLabel;
  DosTime t = ToDosTime(labelTime);
  Put16(slot + 22, t.time);
  Put16(slot + 24, t.date);
  return volume;
}

bool Volume::Load(std::vector<std::uint8_t> bytes, Volume* volume, std::string* why) {
  Geometry g;
  if (!ReadBootSector(bytes, &g, why)) return false;
  Volume loaded{g};
  loaded.image_ = std::move(bytes);
  loaded.image_.resize(g.imageBytes());  // ReadBootSector saw at least this many
  *volume = std::move(loaded);
  return true;
}

std::size_t Volume::ClusterOffset(std::uint32_t cluster) const {
  return (std::size_t{geometry_.firstDataSector()} + std::size_t{cluster - 2} * geometry_.sectorsPerCluster) *
         geometry_.bytesPerSector;
}

std::uint32_t Volume::FatEntry(std::uint32_t cluster) const {
  const std::uint8_t* p = image_.data() + geometry_.reservedSectors * geometry_.bytesPerSector + cluster * 3 / 2;
  return cluster & 1 ? (p[0] >> 4) | (p[1] << 4) : p[0] | ((p[1] & 0x0F) << 8);
}

void Volume::SetFatEntry(std::uint32_t cluster, std::uint32_t value) {
  for (std::uint32_t f = 0; f < geometry_.fatCount; ++f) {
    std::uint8_t* p = image_.data() + (geometry_.reservedSectors + f * geometry_.sectorsPerFat) *
                                          geometry_.bytesPerSector + cluster * 3 / 2;
    if (cluster & 1) {
      p[0] = static_cast<std::uint8_t>((p[0] & 0x0F) | (value << 4));
      p[1] = static_cast<std::uint8_t>(value >> 4);
    } else {
      p[0] = static_cast<std::uint8_t>(value);
      p[1] = static_cast<std::uint8_t>((p[1] & 0xF0) | ((value >> 8) & 0x0F));
    }
  }
}

std::uint32_t Volume::FreeClusters() const {
  std::uint32_t free = 0;
  for (std::uint32_t c = 2; c < TotalClusters() + 2; ++c) free += FatEntry(c) == 0;
  return free;
}

bool Volume::IsBlank() const {
  for (std::uint32_t c = 2; c < TotalClusters() + 2; ++c) {
    std::uint32_t e = FatEntry(c);
    if (e != 0 && e != kBadCluster) return false;
  }
  for (const DirEntry& e : List())
    if (!(e.attributes & attr::kLabel)) return false;
  return true;
}

DirEntry Volume::EntryAt(std::uint32_t slot) const {
  const std::uint8_t* p = Slot(slot);
  DirEntry e;
  ShortName name;
  std::memcpy(name.data(), p, 11);
  if (name[0] == 0x05) name[0] = static_cast<char>(kDeleted);  // how a name starting with E5 is kept
  if (p[11] & attr::kLabel) {
    std::string label(name.data(), 11);
    while (!label.empty() && label.back() == ' ') label.pop_back();
    e.shortName = label;
  } else {
    e.shortName = ShortNameText(name);
  }
  e.attributes = p[11];
  e.created = {Get16(p + 16), Get16(p + 14)};
  e.accessDate = Get16(p + 18);
  e.written = {Get16(p + 24), Get16(p + 22)};
  e.firstCluster = Get16(p + 26);
  e.size = Get32(p + 28);
  e.slot = slot;
  // The long name stands in the slots right before, last part first, each
  // with the short name's checksum.
  std::uint8_t sum = ShortNameChecksum(name);
  std::u16string longName;
  std::uint32_t part = 1;
  for (std::uint32_t i = slot; i > 0; --i, ++part) {
    const std::uint8_t* q = Slot(i - 1);
    if (!IsLongName(q) || IsFree(q) || q[13] != sum || (q[0] & 0x1F) != part) break;
    for (std::uint8_t off : kLongNameOffsets) {
      char16_t u = static_cast<char16_t>(Get16(q + off));
      if (u == 0) break;
      if (u != 0xFFFF) longName += u;
    }
    if (q[0] & 0x40) {
      e.longName = longName;
      e.slots = part + 1;
      break;
    }
  }
  return e;
}

std::vector<DirEntry> Volume::List() const {
  std::vector<DirEntry> entries;
  for (std::uint32_t i = 0; i < geometry_.rootEntries; ++i) {
    const std::uint8_t* p = Slot(i);
    if (p[0] == 0) break;  // nothing follows the first slot never used
    if (p[0] == kDeleted || IsLongName(p)) continue;
    entries.push_back(EntryAt(i));
  }
  return entries;
}

bool Volume::ReadFile(const DirEntry& entry, std::string* data) const {
  data->assign(entry.size, '\0');
  std::uint32_t done = 0, cluster = entry.firstCluster, steps = 0;
  const std::uint32_t unit = geometry_.clusterBytes();
  while (done < entry.size) {
    if (cluster < 2 || cluster >= TotalClusters() + 2 || ++steps > TotalClusters()) return false;
    std::uint32_t n = std::min(unit, entry.size - done);
    std::memcpy(data->data() + done, image_.data() + ClusterOffset(cluster), n);
    done += n;
    cluster = FatEntry(cluster);
  }
  return true;
}

bool Volume::ShortNameTaken(const ShortName& name) const {
  for (std::uint32_t i = 0; i < geometry_.rootEntries; ++i) {
    const std::uint8_t* p = Slot(i);
    if (p[0] == 0) break;
    if (p[0] == kDeleted || IsLongName(p) || (p[11] & attr::kLabel)) continue;
    if (std::memcmp(p, name.data(), 11) == 0) return true;
  }
  return false;
}

bool Volume::AddEntry(std::string_view name, const NameCodec& codec, DosTime time, std::uint32_t* slot) {
  const bool plain = IsPlainShortName(name);
  const std::uint32_t needed = RootSlotsOf(name);
  std::uint32_t run = 0, first = 0;
  bool found = false;
  for (std::uint32_t i = 0; i < geometry_.rootEntries && !found; ++i) {
    if (!IsFree(Slot(i))) {
      run = 0;
      continue;
    }
    if (run++ == 0) first = i;
    found = run == needed;
  }
  if (!found) return false;

  ShortName shortName;
  ShortBasis basis = ShortBasisOf(name);
  for (unsigned n = basis.needsTail ? 1 : 0;; ++n) {
    shortName = ShortNameWithTail(basis, n);
    if (!ShortNameTaken(shortName)) break;
  }
  if (!plain) {
    std::u16string wide = LongNameOf(name, codec);
    std::uint32_t parts = needed - 1;
    std::uint8_t sum = ShortNameChecksum(shortName);
    for (std::uint32_t part = 0; part < parts; ++part)
      WriteLongNameEntry(Slot(first + parts - 1 - part), wide, part, part + 1 == parts, sum);
  }
  *slot = first + needed - 1;
  std::uint8_t* p = Slot(*slot);
  std::memset(p, 0, 32);
  std::memcpy(p, shortName.data(), 11);
  p[11] = attr::kArchive;
  SetAllTimes(*slot, time);
  return true;
}

void Volume::FreeChain(std::uint32_t cluster) {
  for (std::uint32_t steps = 0; cluster >= 2 && cluster < TotalClusters() + 2 && steps <= TotalClusters(); ++steps) {
    std::uint32_t next = FatEntry(cluster);
    SetFatEntry(cluster, 0);
    cluster = next;
  }
}

void Volume::TrimChain(std::uint32_t slot) {
  std::uint8_t* p = Slot(slot);
  const std::uint64_t keep = ClustersOf(Get32(p + 28), geometry_.clusterBytes());
  if (keep == 0) {
    FreeChain(Get16(p + 26));
    Put16(p + 26, 0);
    return;
  }
  std::uint32_t cluster = Get16(p + 26);
  for (std::uint64_t i = 1; i < keep && cluster >= 2 && cluster < kBadCluster; ++i) cluster = FatEntry(cluster);
  if (cluster < 2 || cluster >= kBadCluster) return;
  FreeChain(FatEntry(cluster));
  SetFatEntry(cluster, kEndOfChain);
}

void Volume::RemoveEntry(std::uint32_t slot) {
  DirEntry e = EntryAt(slot);
  FreeChain(e.firstCluster);
  for (std::uint32_t i = slot + 1 - e.slots; i <= slot; ++i) Slot(i)[0] = kDeleted;
}

void Volume::Truncate(std::uint32_t slot) {
  std::uint8_t* p = Slot(slot);
  FreeChain(Get16(p + 26));
  Put16(p + 26, 0);
  Put32(p + 28, 0);
}

void Volume::MoveData(std::uint32_t source, std::uint32_t target) {
  Truncate(target);
  std::uint8_t* from = Slot(source);
  std::uint8_t* to = Slot(target);
  std::memcpy(to + 26, from + 26, 6);  // first cluster and size
  Put16(from + 26, 0);
  Put32(from + 28, 0);
  RemoveEntry(source);
}

std::uint32_t Volume::TakeCluster(std::uint32_t after) {
  const std::uint32_t end = TotalClusters() + 2;
  std::uint32_t c = after >= 2 && after + 1 < end && FatEntry(after + 1) == 0 ? after + 1 : 0;
  for (std::uint32_t i = 2; c == 0 && i < end; ++i)
    if (FatEntry(i) == 0) c = i;
  if (c == 0) return 0;
  SetFatEntry(c, kEndOfChain);
  // A new cluster holds nothing of a file that was there before.
  std::memset(image_.data() + ClusterOffset(c), 0, geometry_.clusterBytes());
  return c;
}

std::uint32_t Volume::WriteAt(std::uint32_t slot, std::uint32_t offset, const void* data, std::uint32_t size) {
  std::uint8_t* p = Slot(slot);
  const std::uint32_t unit = geometry_.clusterBytes();
  const std::uint32_t fileSize = Get32(p + 28);
  const auto* in = static_cast<const std::uint8_t*>(data);
  std::uint32_t cluster = Get16(p + 26), previous = 0, index = 0, done = 0;
  // Walk (and where needed grow) the chain to the cluster that holds `offset`,
  // then on through the clusters the data covers.
  while (done < size) {
    std::uint32_t at = offset + done;
    if (cluster < 2 || cluster >= kBadCluster) {
      std::uint32_t fresh = TakeCluster(previous);
      if (fresh == 0) break;
      if (previous == 0) {
        Put16(p + 26, fresh);
      } else {
        SetFatEntry(previous, fresh);
      }
      cluster = fresh;
    }
    if (at / unit == index) {
      std::uint32_t within = at % unit;
      std::uint32_t n = std::min(unit - within, size - done);
      std::memcpy(image_.data() + ClusterOffset(cluster) + within, in + done, n);
      done += n;
    }
    previous = cluster;
    cluster = FatEntry(cluster);
    ++index;
  }
  if (done > 0 && offset + done > fileSize) Put32(p + 28, offset + done);
  // A write past the end that found no room for its data gives back the
  // clusters it took for the gap, so no cluster lies beyond the size.
  if (done == 0) TrimChain(slot);
  return done;
}

std::uint32_t Volume::ReadAt(std::uint32_t slot, std::uint32_t offset, void* data, std::uint32_t size) const {
  const std::uint8_t* p = Slot(slot);
  const std::uint32_t unit = geometry_.clusterBytes();
  const std::uint32_t fileSize = Get32(p + 28);
  if (offset >= fileSize) return 0;
  size = std::min(size, fileSize - offset);
  auto* out = static_cast<std::uint8_t*>(data);
  std::uint32_t cluster = Get16(p + 26), done = 0;
  for (std::uint32_t i = 0; i < offset / unit && cluster >= 2 && cluster < kBadCluster; ++i) cluster = FatEntry(cluster);
  while (done < size && cluster >= 2 && cluster < TotalClusters() + 2) {
    std::uint32_t within = (offset + done) % unit;
    std::uint32_t n = std::min(unit - within, size - done);
    std::memcpy(out + done, image_.data() + ClusterOffset(cluster) + within, n);
    done += n;
    cluster = FatEntry(cluster);
  }
  return done;
}

void Volume::SetWritten(std::uint32_t slot, DosTime written) {
  std::uint8_t* p = Slot(slot);
  Put16(p + 22, written.time);
  Put16(p + 24, written.date);
}

void Volume::SetAllTimes(std::uint32_t slot, DosTime time) {
  std::uint8_t* p = Slot(slot);
  p[13] = 0;  // hundredths of the creation time: none, as the time is to two seconds
  Put16(p + 14, time.time);
  Put16(p + 16, time.date);
  Put16(p + 18, time.date);
  SetWritten(slot, time);
}

void Volume::SetAttributes(std::uint32_t slot, std::uint8_t attributes) { Slot(slot)[11] = attributes; }

Judgement JudgeImage(std::span<const std::uint8_t> bytes) {
  Judgement j;
  Volume volume;
  if (!Volume::Load(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), &volume, &j.why)) return j;
  j.geometry = volume.geometry();
  j.totalClusters = volume.TotalClusters();
  j.freeClusters = volume.FreeClusters();
  if (!(j.geometry == Geometry{}) || bytes.size() != kImageBytes) {
    j.kind = ImageKind::kOtherFloppy;
    j.why = "not a 1.44 MB floppy (" + std::to_string(bytes.size() / 1024) + " KB, " +
            std::to_string(j.totalClusters) + " clusters of " + std::to_string(j.geometry.clusterBytes()) + " bytes)";
    return j;
  }
  j.kind = volume.IsBlank() ? ImageKind::kBlank : ImageKind::kNotBlank;
  return j;
}

}  // namespace floppy
