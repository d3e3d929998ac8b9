// The floppy itself: a format as Windows lays one out, the edges of the
// disk (last cluster, last root slot), times, the layout of what is
// written, the look at an existing image, and the whole-or-nothing save.
#include <gtest/gtest.h>

#include <cstring>

#include "floppy/boot_sector.h"
#include "floppy/save_image.h"
#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/unit/floppy/floppy_world.h"

namespace {

using tests::FloppyWorld;
using floppy::FileTimeFromUnix;

std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::string Text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
  return std::string(b.begin() + at, b.begin() + at + n);
}

std::string Bytes(std::size_t n, unsigned seed = 1) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + seed * 17 + (i >> 9)) & 0xFF);
  return s;
}

TEST(FloppyFormat, BootSectorFatsAndRootMatchAWindowsFormattedFloppy) {
  floppy::Volume v = floppy::Volume::Format(3, FileTimeFromUnix(tests::kSomeTime));
  const std::vector<std::uint8_t>& b = v.bytes();
  ASSERT_EQ(b.size(), 1474560u);
  // Offset, size, value: the parameter block of a 1.44 MB floppy formatted by Windows.
  struct Field {
    std::size_t at, size;
    std::uint32_t value;
  } fields[] = {{0, 1, 0xEB}, {2, 1, 0x90}, {11, 2, 512}, {13, 1, 1}, {14, 2, 1}, {16, 1, 2},
                {17, 2, 224}, {19, 2, 2880}, {21, 1, 0xF0}, {22, 2, 9}, {24, 2, 18}, {26, 2, 2},
                {28, 4, 0}, {32, 4, 0}, {36, 1, 0}, {38, 1, 0x29}, {39, 4, 0x7A4D0003}, {510, 2, 0xAA55}};
  for (const Field& f : fields) {
    SCOPED_TRACE(f.at);
    EXPECT_EQ(f.size == 1 ? b[f.at] : f.size == 2 ? U16(b, f.at) : U32(b, f.at), f.value);
  }
  EXPECT_EQ(b[1] + 2, 0x3E);  // the jump lands on the boot code
  EXPECT_EQ(Text(b, 3, 8), floppy::kOemName);
  EXPECT_EQ(Text(b, 43, 11), "DISK3      ");
  EXPECT_EQ(Text(b, 54, 8), "FAT12   ");
  EXPECT_NE(Text(b, 0x3E, 448).find("Non-system disk"), std::string::npos);

  const std::size_t fat1 = 512, fat2 = 512 * 10, root = 512 * 19;
  EXPECT_EQ(Text(b, fat1, 3), "\xF0\xFF\xFF");
  EXPECT_EQ(Text(b, fat1, 9 * 512), Text(b, fat2, 9 * 512));
  EXPECT_EQ(Text(b, root, 11), "DISK3      ");
  EXPECT_EQ(b[root + 11], 0x08);
  EXPECT_EQ(Text(b, root + 32, 223 * 32), std::string(223 * 32, '\0'));
  EXPECT_EQ(v.TotalClusters(), 2847u);
  EXPECT_EQ(v.FreeClusters(), 2847u);
  EXPECT_EQ(floppy::JudgeImage(b).kind, floppy::ImageKind::kBlank);
}

TEST(FloppyEdges, DiskFullAtExactlyTheLastCluster) {
  const std::uint32_t capacity = 2847 * 512;  // 1,457,664 bytes
  struct Case {
    const char* what;
    std::uint32_t first;   // bytes of a file written before (0: none)
    std::uint32_t asked;   // bytes the second write asks for
    std::uint32_t stored;  // bytes it stores
    bool fails;            // reported as a full disk (112)
  } cases[] = {
      {"the whole disk in one write", 0, capacity, capacity, false},
      {"one byte more: what fits, short", 0, capacity + 1, capacity, false},
      {"after a 1000-byte file: 2845 clusters fit", 1000, capacity, capacity - 1024, false},
      {"the last cluster exactly", capacity - 512, 513, 512, false},
      {"nothing left at all", capacity, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FloppyWorld w;
    if (c.first > 0) {
      ASSERT_TRUE(w.Put("first.bin", Bytes(c.first)));
    }
    platform::FileHandle f = platform::kNoFile;
    ASSERT_TRUE(w.files.Open("A:\\SECOND.BIN", platform::OpenMode::kCreateNew, &f));
    std::string data = Bytes(c.asked, 2);
    std::uint32_t done = 0;
    platform::Status s = w.files.Write(f, data.data(), c.asked, &done);
    EXPECT_EQ(s.ok(), !c.fails);
    if (c.fails) {
      EXPECT_EQ(s.code(), platform::error::kDiskFull);
    }
    EXPECT_EQ(done, c.stored);
    ASSERT_TRUE(w.files.Close(f));
    std::string back;
    ASSERT_TRUE(w.volume.ReadFile(w.Entry("SECOND.BIN"), &back));
    EXPECT_EQ(back, data.substr(0, c.stored));
    EXPECT_EQ(w.volume.FreeClusters(), c.stored == 0 ? 0u : 2847u - (c.first + 511) / 512 - (c.stored + 511) / 512);
  }
}

TEST(FloppyEdges, RootFullAtExactlyTheLastSlotWithLongNamesCostingMore) {
  FloppyWorld w;
  // 223 slots beside the label: 111 names of two slots each leave one.
  for (int i = 0; i < 111; ++i) ASSERT_TRUE(w.Put("file" + std::to_string(1000 + i) + ".txt")) << i;
  EXPECT_EQ(w.Put("another.txt").code(), floppy::error::kCannotMake);  // needs two
  EXPECT_TRUE(w.Put("LAST.TXT"));                                      // one is left
  EXPECT_EQ(w.Put("MORE.TXT").code(), floppy::error::kCannotMake);
  // A removed file's slots are free again, for a name of the same cost.
  ASSERT_TRUE(w.files.Remove("A:\\file1050.txt"));
  EXPECT_EQ(w.Put("a much longer name.txt").code(), floppy::error::kCannotMake);  // three slots
  EXPECT_TRUE(w.Put("again.txt"));
  EXPECT_EQ(w.volume.List().size(), 1u + 111 + 1);
}

TEST(FloppyTimes, LastWriteTimesAreKeptToTwoSecondsInsideFatsCalendar) {
  struct Case {
    long long asked;   // seconds since 1970, UTC
    long long stored;
    bool moved;
  } cases[] = {
      {1, 315532800, true},                   // 1970: mtools made this 2098
      {315532799, 315532800, true},           // the last second of 1979
      {315532800, 315532800, false},          // 1980-01-01 00:00:00
      {315532801, 315532802, false},          // odd seconds go up
      {tests::kSomeTime, tests::kSomeTime, false},
      {4354819198, 4354819198, false},        // 2107-12-31 23:59:58
      {4354819199, 4354819198, true},
      {5000000000, 4354819198, true},
  };
  FloppyWorld w;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    std::string name = "T" + std::to_string(n++) + ".TXT";
    w.files.ClearMovedTimes();
    ASSERT_TRUE(w.Put(name, "x", FileTimeFromUnix(c.asked)));
    floppy::DirEntry e = w.Entry(name);
    EXPECT_EQ(floppy::UnixFromFileTime(floppy::FromDosTime(e.written)), c.stored);
    // Creation and last access follow the last write: nothing else of the host's goes on the disk.
    EXPECT_EQ(e.created.date, e.written.date);
    EXPECT_EQ(e.created.time, e.written.time);
    EXPECT_EQ(e.accessDate, e.written.date);
    ASSERT_EQ(w.files.movedTimes().size(), c.moved ? 1u : 0u);
    if (c.moved) {
      EXPECT_EQ(w.files.movedTimes()[0].name, name);
    }
  }
  // A fraction of a second goes up too.
  EXPECT_EQ(floppy::UnixFromFileTime(floppy::FromDosTime(floppy::ToDosTime(FileTimeFromUnix(tests::kSomeTime) + 1))),
            tests::kSomeTime + 2);
}

TEST(FloppyLayout, FilesTakeTheLowestFreeClustersInOrderAndTheImageIsReproducible) {
  auto build = [](FloppyWorld& w) {
    EXPECT_TRUE(w.Put("a.bin", Bytes(1000)));  // clusters 2, 3
    EXPECT_TRUE(w.Put("EMPTY.TXT"));           // none
    EXPECT_TRUE(w.Put("b.bin", Bytes(600)));   // 4, 5
    EXPECT_TRUE(w.files.Remove("A:\\a.bin"));
    EXPECT_TRUE(w.Put("c.bin", Bytes(1500)));  // 2, 3, then 6
  };
  FloppyWorld one, two;
  build(one);
  build(two);
  EXPECT_EQ(one.volume.bytes(), two.volume.bytes());
  const floppy::Volume& v = one.volume;
  EXPECT_EQ(one.Entry("EMPTY.TXT").firstCluster, 0u);
  EXPECT_EQ(one.Entry("b.bin").firstCluster, 4u);
  EXPECT_EQ(one.Entry("c.bin").firstCluster, 2u);
  const std::uint32_t chain[][2] = {{2, 3}, {3, 6}, {6, 0xFFF}, {4, 5}, {5, 0xFFF}, {7, 0}};
  for (const auto& link : chain) EXPECT_EQ(v.FatEntry(link[0]), link[1]) << link[0];
  const std::vector<std::uint8_t>& b = v.bytes();
  EXPECT_TRUE(std::equal(b.begin() + 512, b.begin() + 512 * 10, b.begin() + 512 * 10));
  std::string back;
  ASSERT_TRUE(v.ReadFile(one.Entry("c.bin"), &back));
  EXPECT_EQ(back, Bytes(1500));
}

TEST(FloppyJudge, TellsBlankFromUsedFromOtherFloppiesFromNoFatAtAll) {
  FloppyWorld used;
  ASSERT_TRUE(used.Put("x.txt", "x"));
  floppy::Geometry k720{512, 2, 1, 2, 112, 1440, 0xF9, 3, 9, 2};
  std::vector<std::uint8_t> small(737280);
  floppy::WriteBootSector(k720, 1, "SMALL", small.data());
  std::vector<std::uint8_t> blank = floppy::Volume::Format(1, 0).bytes();
  std::vector<std::uint8_t> cut(blank.begin(), blank.begin() + 737280);
  std::vector<std::uint8_t> zeros(1474560);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    floppy::ImageKind kind;
    std::uint32_t total, free;
  } cases[] = {
      {"blank", blank, floppy::ImageKind::kBlank, 2847, 2847},
      {"with a file", used.volume.bytes(), floppy::ImageKind::kNotBlank, 2847, 2846},
      {"720 KB", small, floppy::ImageKind::kOtherFloppy, 713, 713},
      {"cut short", cut, floppy::ImageKind::kNotFat, 0, 0},
      {"zeros", zeros, floppy::ImageKind::kNotFat, 0, 0},
      {"empty", {}, floppy::ImageKind::kNotFat, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    floppy::Judgement j = floppy::JudgeImage(c.bytes);
    EXPECT_EQ(j.kind, c.kind) << j.why;
    EXPECT_EQ(j.totalClusters, c.total);
    EXPECT_EQ(j.freeClusters, c.free);
    EXPECT_EQ(j.why.empty(), c.kind == floppy::ImageKind::kBlank || c.kind == floppy::ImageKind::kNotBlank);
  }
}

// Every operation of the save failing in turn, once or for good, or a write
// coming up short: either the image is whole under its name, or the old one
// is there untouched; never a partial file.
TEST(FloppySave, EveryFailurePointLeavesTheOldImageOrTheNewOneAndNoPartial) {
  const std::string path = "C:\\disk1.img", partial = path + ".partial";
  const std::vector<std::uint8_t> image = floppy::Volume::Format(1, 0).bytes();
  const std::string wanted(image.begin(), image.end());
  struct Mode {
    const char* name;
    bool persistent, shortWrite, existing;
  } modes[] = {{"once", false, false, false}, {"for good", true, false, false},
               {"short write", false, true, false}, {"over an old image", false, false, true}};
  for (const Mode& m : modes) {
    for (std::uint64_t n = 1;; ++n) {
      SCOPED_TRACE(std::string(m.name) + ", operation " + std::to_string(n));
      tests::MemoryFileSystem memory;
      if (m.existing) memory.AddFile(path, "old");
      tests::FaultyFileSystem faulty(memory);
      tests::Fault fault;
      fault.at = n;
      fault.code = platform::error::kAccessDenied;
      fault.persistent = m.persistent;
      fault.shortWrite = m.shortWrite;
      // A failure for good spares the clean-up: without it nothing could be removed.
      if (m.persistent) fault.kinds = platform::kAllOps & ~static_cast<std::uint32_t>(platform::Op::kRemove);
      if (m.shortWrite) fault.kinds = static_cast<std::uint32_t>(platform::Op::kWrite);
      faulty.SetFault(fault);
      platform::Status s = floppy::SaveImage(faulty, path.c_str(), image);
      if (!faulty.FaultHit()) {
        EXPECT_TRUE(s);
        EXPECT_EQ(memory.Contents(path), wanted);
        break;
      }
      EXPECT_FALSE(s);
      EXPECT_EQ(s.code(), m.shortWrite ? platform::error::kDiskFull : platform::error::kAccessDenied);
      EXPECT_FALSE(memory.Exists(partial));
      if (m.existing) {
        EXPECT_EQ(memory.Contents(path), std::string("old"));
      } else {
        EXPECT_FALSE(memory.Exists(path));
      }
      EXPECT_EQ(faulty.OpenHandleCount(), 0);
    }
  }
}

}  // namespace
