// Products of many small files behind a few large ones: first fit puts the
// large files on the first disks and piles the small ones onto the last
// disks until their root directories are full. The planner must come within
// a disk of the clusters bound on such sets, keep every disk inside both of
// a floppy's limits, and say which lower bound it could not beat.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "tests/unit/wendplan/generated_sets.h"
#include "tools/wendplan/output.h"
#include "tools/wendplan/plan.h"

namespace {

using wendplan::Plan;
using wendplan::PlanFile;

std::vector<std::vector<std::size_t>> Layout(const Plan& plan) {
  std::vector<std::vector<std::size_t>> disks;
  for (const wendplan::Disk& d : plan.disks) disks.push_back(d.files);
  return disks;
}

// Sums taken from the files themselves, not from the planner's own counts.
void ExpectEveryFileOnceAndEveryDiskWithinBothLimits(const Plan& plan, std::size_t fileCount,
                                                     const std::vector<std::string>& firstOnDiskOne) {
  ASSERT_EQ(plan.files.size(), fileCount);
  std::set<std::size_t> seen;
  std::size_t placements = 0;
  for (std::size_t d = 0; d < plan.disks.size(); ++d) {
    SCOPED_TRACE("disk " + std::to_string(d + 1));
    std::uint64_t clusters = 0, slots = 0;
    for (std::size_t i : plan.disks[d].files) {
      ASSERT_LT(i, fileCount);
      seen.insert(i);
      ++placements;
      clusters += plan.files[i].clusters;
      slots += plan.files[i].rootSlots;
    }
    EXPECT_FALSE(plan.disks[d].files.empty()) << "a disk of no files";
    EXPECT_LE(clusters, 2847u);
    EXPECT_LE(slots, 223u);
  }
  EXPECT_EQ(placements, fileCount) << "a file placed twice or left out";
  EXPECT_EQ(seen.size(), fileCount);
  ASSERT_FALSE(plan.disks.empty());
  const std::vector<std::size_t>& one = plan.disks[0].files;
  ASSERT_GE(one.size(), firstOnDiskOne.size());
  for (std::size_t k = 0; k < firstOnDiskOne.size(); ++k)
    EXPECT_EQ(plan.files[one[k]].relative, firstOnDiskOne[k]) << "disk 1, place " << k;
}

TEST(WendplanSpread, ManySmallFilesBehindAFewLargeOnesComeWithinOneDiskOfTheClusterBound) {
  struct Case {
    const char* label;
    tests::HeavyTailedShape shape;
    std::vector<std::string> first;  // empty: SETUP.EXE by default
    std::size_t disks = 0;           // the plan's count, when the case pins it
  };
  const Case cases[] = {
      {"2,500 files that need 35 disks by clusters", {2500, 1, 3500, 1.1}, {}, 35},
      {"1,200 files", {1200, 7, 3000, 1.05}, {}},
      {"4,000 files", {4000, 2, 3000, 1.1}, {}},
      {"2,500 files, --first", {2500, 5, 3500, 1.1}, {"help\\Help Topic 00008 Guide.htm", "SETUP.EXE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::vector<PlanFile> files = tests::HeavyTailedSet(c.shape);
    Plan plan, again;
    std::string error;
    ASSERT_TRUE(wendplan::MakePlan(files, c.first, !c.first.empty(), &plan, &error)) << error;
    ASSERT_EQ(plan.lowerBound.kind, wendplan::LowerBound::kClusters) << "a set where clusters bind";
    const std::size_t firstFit = tests::FirstFitDecreasingCount(files);
    EXPECT_GT(firstFit, plan.lowerBound.disks + 1) << "a set where first fit is not good enough";
    EXPECT_LE(plan.disks.size(), plan.lowerBound.disks + 1);
    EXPECT_LE(plan.disks.size(), firstFit);
    if (c.disks != 0) {
      EXPECT_EQ(plan.lowerBound.disks, c.disks);
      EXPECT_EQ(firstFit, 38u);
      EXPECT_EQ(plan.disks.size(), c.disks);
    }
    ExpectEveryFileOnceAndEveryDiskWithinBothLimits(plan, files.size(),
                                                    c.first.empty() ? std::vector<std::string>{"SETUP.EXE"} : c.first);
    ASSERT_TRUE(wendplan::MakePlan(files, c.first, !c.first.empty(), &again, &error)) << error;
    EXPECT_EQ(Layout(again), Layout(plan)) << "the same folder, the same plan";
  }
}

// Spreading puts each file on the disk with the most room left as the
// weights count it; of disks with equal room the earliest, so that a tie
// never makes the same folder plan differently.
TEST(WendplanSpread, EachFileGoesToTheRoomiestDiskAndOnATieToTheEarliest) {
  using wendplan::Disk;
  using wendplan::RoomWeights;
  struct Case {
    const char* label;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> begun;  // clusters and slots used per disk
    std::size_t count;
    RoomWeights weights;
    std::size_t expected;  // the disk the file lands on
  };
  const Case cases[] = {
      {"two empty disks", {}, 2, {1, 0}, 0},
      {"equal room on three begun disks", {{100, 5}, {100, 5}, {100, 5}}, 3, {1, 1}, 0},
      {"the later disk has more clusters left", {{100, 5}, {99, 5}}, 2, {1, 0}, 1},
      {"clusters alike, entries apart, entries weighed", {{100, 5}, {100, 4}}, 2, {1, 1}, 1},
      {"clusters alike, entries apart, entries not weighed", {{100, 5}, {100, 4}}, 2, {1, 0}, 0},
      {"the roomiest disk is full in entries", {{0, 223}, {100, 0}}, 2, {1, 0}, 1},
      {"a disk not yet begun has the most room", {{10, 1}}, 2, {1, 1}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<Disk> disks;
    for (auto [clusters, slots] : c.begun) {
      Disk& d = disks.emplace_back();
      d.files.push_back(100 + disks.size());
      d.clusters = clusters;
      d.slots = slots;
    }
    ASSERT_TRUE(wendplan::SpreadFit({wendplan::Item{7, 10, 1}}, c.count, c.weights, &disks));
    std::size_t landed = disks.size();
    for (std::size_t d = 0; d < disks.size(); ++d)
      if (std::find(disks[d].files.begin(), disks[d].files.end(), 7u) != disks[d].files.end()) landed = d;
    EXPECT_EQ(landed, c.expected);
  }
}

// A set where first fit decreasing already reaches the bound keeps the
// plan it always got, though spreading would fill as few disks otherwise.
TEST(WendplanSpread, APlanFirstFitAlreadyGetsRightIsKept) {
  std::vector<PlanFile> files;
  for (auto [name, clusters] : {std::pair{"A.BIN", 2000}, {"B.BIN", 1500}, {"C.BIN", 800}, {"D.BIN", 700}})
    files.push_back(wendplan::DescribeFile(name, clusters * 512));
  Plan plan;
  std::string error;
  ASSERT_TRUE(wendplan::MakePlan(files, {}, false, &plan, &error)) << error;
  // First fit: A+C, B+D. Spreading the same four could as well give A+D, B+C.
  EXPECT_EQ(Layout(plan), (std::vector<std::vector<std::size_t>>{{0, 2}, {1, 3}}));
}

TEST(WendplanSpread, TheLowerBoundShownIsTheBestOfClustersRootEntriesAndFilesOfOverHalfAFloppy) {
  struct Case {
    const char* label;
    std::size_t count;  // files NAME0.BIN, NAME1.BIN, ... of `clusters` each
    const char* name;
    std::uint64_t clusters;
    std::size_t disks;
    wendplan::LowerBound::Kind kind;
    const char* last;  // the plan's last line
  };
  const Case cases[] = {
      {"five files of 1,424 clusters, no two on one floppy", 5, "BIG", 1424, 5, wendplan::LowerBound::kLargeFiles,
       "5 disks (lower bound 5 = files of more than half a floppy (1,424 clusters or more), one per floppy)\n"},
      {"1,423 clusters is half a floppy: two share one", 4, "HALF", 1423, 2, wendplan::LowerBound::kClusters,
       "2 disks (lower bound 2 = ceil(5,692 clusters / 2,847))\n"},
      {"300 files of one entry", 300, "E", 1, 2, wendplan::LowerBound::kRootEntries,
       "2 disks (lower bound 2 = ceil(300 root entries / 223))\n"},
      {"a tie between clusters and entries shows clusters", 224, "T", 13, 2, wendplan::LowerBound::kClusters,
       "2 disks (lower bound 2 = ceil(2,912 clusters / 2,847))\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<PlanFile> files;
    for (std::size_t i = 0; i < c.count; ++i)
      files.push_back(wendplan::DescribeFile(c.name + std::to_string(i) + ".BIN", c.clusters * 512));
    Plan plan;
    std::string error;
    ASSERT_TRUE(wendplan::MakePlan(files, {}, false, &plan, &error)) << error;
    EXPECT_EQ(plan.lowerBound.disks, c.disks);
    EXPECT_EQ(plan.lowerBound.kind, c.kind);
    EXPECT_EQ(plan.disks.size(), c.disks);
    std::string text = wendplan::FormatPlan(plan, "P");
    std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
    EXPECT_EQ(last, c.last);
  }
}

}  // namespace
