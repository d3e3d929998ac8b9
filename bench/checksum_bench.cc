// The checksum pass against plain reading of the same file, both through the
// platform's file layer in 32 KiB blocks, on a file in the page cache.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file.h"
#include "unpack/archive/reader.h"

namespace {

const std::string& BenchFile() {
  static const std::string path = [] {
    const char* dir = std::getenv("TANDREL_BENCH_DIR");
    std::string p = std::string(dir != nullptr ? dir : "/tmp") + "/tandrel-checksum-bench.bin";
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::vector<unsigned char> block(1 << 20);
    unsigned x = 12345;
    for (int i = 0; i < 256; ++i) {
      for (auto& b : block) b = static_cast<unsigned char>((x = x * 1103515245u + 12345u) >> 23);
      std::fwrite(block.data(), 1, block.size(), f);
    }
    std::fclose(f);
    return p;
  }();
  return path;
}

platform::File OpenBenchFile() {
  platform::File file;
  (void)file.Open(platform::DefaultFileSystem(), BenchFile().c_str(), platform::OpenMode::kReadShared);
  return file;
}

void BM_ReadFile(benchmark::State& state) {
  static unsigned char buffer[32768];
  std::uint64_t total = 0;
  for (auto _ : state) {
    platform::File file = OpenBenchFile();
    std::uint32_t got = 0;
    while (file.Read(buffer, sizeof buffer, &got) && got != 0) total += got;
    benchmark::DoNotOptimize(buffer[0]);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

void BM_ComputeArchiveChecksum(benchmark::State& state) {
  std::uint64_t size = 0;
  for (auto _ : state) {
    platform::File file = OpenBenchFile();
    (void)file.GetSize(&size);
    benchmark::DoNotOptimize(kivo::ComputeArchiveChecksum(file, 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(size * state.iterations()));
}

BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ComputeArchiveChecksum)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  BenchFile();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(BenchFile().c_str());
  return 0;
}
