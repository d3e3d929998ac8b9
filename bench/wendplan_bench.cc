// The disk planner on generated products: 2,500 files of heavy-tailed sizes
// (35 disks by clusters, 38 by first fit decreasing) and 8,000 files, with
// the first fit decreasing yardstick beside it. Counters: the disks planned
// and the lower bound.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tests/unit/wendplan/generated_sets.h"
#include "tools/wendplan/plan.h"

namespace {

const tests::HeavyTailedShape kShapes[] = {
    {2500, 1, 3500, 1.1},  // the set the planner's tests pin to 35 disks
    {8000, 1, 3500, 1.1},  // clusters bind
    {8000, 1, 1000, 1.2},  // root entries bind; spreading stops short of the bound
};

void BM_MakePlan(benchmark::State& state) {
  const tests::HeavyTailedShape& shape = kShapes[state.range(0)];
  const std::vector<wendplan::PlanFile> files = tests::HeavyTailedSet(shape);
  wendplan::Plan plan;
  for (auto _ : state) {
    std::string error;
    if (!wendplan::MakePlan(files, {}, false, &plan, &error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(plan.disks.data());
  }
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["disks"] = static_cast<double>(plan.disks.size());
  state.counters["bound"] = static_cast<double>(plan.lowerBound.disks);
}

void BM_FirstFitDecreasing(benchmark::State& state) {
  const std::vector<wendplan::PlanFile> files = tests::HeavyTailedSet(kShapes[state.range(0)]);
  std::size_t disks = 0;
  for (auto _ : state) benchmark::DoNotOptimize(disks = tests::FirstFitDecreasingCount(files));
  state.counters["disks"] = static_cast<double>(disks);
}

BENCHMARK(BM_MakePlan)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFitDecreasing)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
