// Writing a set of floppy images the way wendmark will: 80 disks' worth
// (about 100 MB), each a fresh 1.44 MB volume filled through drive A: in
// 32 KB chunks (the copy engine's), ten files to a disk.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "floppy/volume.h"
#include "floppy/volume_file_system.h"

namespace {

void BM_WriteEightyFloppies(benchmark::State& state) {
  const std::uint32_t kChunk = 32 * 1024;
  const std::uint32_t kFileBytes = 145000;  // ten to a disk: 1,450,000 of 1,457,664 bytes
  std::vector<char> chunk(kChunk, 'x');
  for (auto _ : state) {
    std::uint64_t written = 0;
    for (int disk = 1; disk <= 80; ++disk) {
      floppy::Volume volume = floppy::Volume::Format(disk, floppy::FileTimeFromUnix(1700000000));
      floppy::VolumeFileSystem files(volume, floppy::Latin1Codec(), floppy::FileTimeFromUnix(1700000000));
      for (int i = 0; i < 10; ++i) {
        std::string path = "A:\\Setup file " + std::to_string(i) + ".cab";
        platform::FileHandle f = platform::kNoFile;
        if (!files.Open(path.c_str(), platform::OpenMode::kCreateNew, &f)) state.SkipWithError("open");
        for (std::uint32_t at = 0; at < kFileBytes; at += kChunk) {
          std::uint32_t done = 0;
          std::uint32_t n = std::min(kChunk, kFileBytes - at);
          (void)files.Write(f, chunk.data(), n, &done);
          (void)files.Flush(f);
          written += done;
        }
        (void)files.SetTimes(f, {0, 0, floppy::FileTimeFromUnix(1700000000)});
        (void)files.Close(f);
      }
      benchmark::DoNotOptimize(volume.bytes().data());
    }
    state.SetBytesProcessed(state.bytes_processed() + static_cast<std::int64_t>(written));
  }
}
BENCHMARK(BM_WriteEightyFloppies)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
