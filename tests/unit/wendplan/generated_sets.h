// Setup folders the way products come: a few large cabinets in front of
// many small files (help pages, resources, fonts), sizes heavy-tailed, names
// a mix of plain 8.3 ones and long ones of two to four root entries. Made
// from a fixed seed, so a set is the same on every run and every machine.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tools/wendplan/floppy_fat.h"
#include "tools/wendplan/plan.h"

namespace tests {

struct HeavyTailedShape {
  std::size_t files = 2500;
  std::uint32_t seed = 1;
  double smallest = 3500;  // bytes: where the tail of sizes begins
  double tail = 1.1;       // Pareto exponent: the smaller, the heavier the tail
};

// SETUP.EXE first, then `files - 1` others. No file is larger than a floppy.
inline std::vector<wendplan::PlanFile> HeavyTailedSet(const HeavyTailedShape& shape) {
  std::mt19937 random(shape.seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double largest = double(wendplan::kFloppyClusters) * wendplan::kClusterBytes;
  std::vector<wendplan::PlanFile> files;
  files.push_back(wendplan::DescribeFile("SETUP.EXE", 61440));
  for (std::size_t i = 1; i < shape.files; ++i) {
    double u = 1.0 - unit(random);  // (0, 1]
    double bytes = std::min(largest, std::floor(shape.smallest / std::pow(u, 1.0 / shape.tail)));
    char name[64];
    switch (i % 8) {
      case 0:  // 28 characters: a long name of three slots and the short entry
        std::snprintf(name, sizeof name, "help\\Help Topic %05zu Guide.htm", i);
        break;
      case 1:  // lower case: one long-name slot and the short entry
        std::snprintf(name, sizeof name, "data\\part%04zu.dat", i % 10000);
        break;
      default:
        std::snprintf(name, sizeof name, "F%07zu.BIN", i);
    }
    files.push_back(wendplan::DescribeFile(name, static_cast<std::uint64_t>(bytes)));
  }
  return files;
}

// The yardstick a plan must never lose to: first fit, files taken by
// clusters, largest first, on both limits.
inline std::size_t FirstFitDecreasingCount(std::vector<wendplan::PlanFile> files) {
  std::stable_sort(files.begin(), files.end(), [](const wendplan::PlanFile& a, const wendplan::PlanFile& b) {
    return a.clusters > b.clusters;
  });
  std::vector<std::pair<std::uint64_t, std::uint32_t>> disks;
  for (const wendplan::PlanFile& f : files) {
    auto it = std::find_if(disks.begin(), disks.end(), [&](const auto& d) {
      return d.first + f.clusters <= wendplan::kFloppyClusters &&
             d.second + f.rootSlots <= wendplan::kUsableRootSlots;
    });
    if (it == disks.end()) it = disks.insert(disks.end(), {0, 0});
    it->first += f.clusters;
    it->second += f.rootSlots;
  }
  return disks.size();
}

}  // namespace tests
