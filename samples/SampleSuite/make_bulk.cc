// Writes the bulk of the sample product's setup folder: cabinets, fonts,
// drivers, help and language files, from a fixed generator and with fixed
// times, so that every build makes the same bytes and the same floppies.
#include <sys/stat.h>
#include <utime.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct BulkFile {
  const char* name;
  std::uint32_t bytes;
  bool text;
};

// Enough for exactly three floppies, with the names a real product has:
// plain 8.3 names, lower case, long names with blanks, subfolders, an empty
// file.
const BulkFile kFiles[] = {
    {"SUITE1.CAB", 1050000, false},
    {"SUITE2.CAB", 980000, false},
    {"SUITE3.CAB", 760000, false},
    {"Suite Data 4.cab", 640000, false},
    {"WHATSNEW.TXT", 3300, true},
    {"INSTALL.LOG", 0, true},
    {"fonts/SAMPLE.TTF", 180000, false},
    {"help/Sample Suite Help.hlp", 240000, true},
    {"help/quickref.txt", 24000, true},
    {"drivers/PRINTER.DRV", 56000, false},
    {"drivers/Scanner Driver.dll", 88000, false},
    {"lang/english.lng", 15000, true},
    {"lang/deutsch.lng", 16500, true},
    {"lang/francais.lng", 17200, true},
};

// 2026-03-02 10:00:00 UTC; each file two minutes after the one before.
constexpr std::int64_t kFirstTime = 1772445600;

const char* const kWords[] = {"sample", "suite", "tandrel", "floppy", "setup", "disk", "file", "the",
                              "and", "of", "install", "component", "version", "drive", "copy"};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bulk FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  std::uint32_t state = 0x5A17E5u;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  std::int64_t when = kFirstTime;
  for (const BulkFile& f : kFiles) {
    fs::path path = fs::path(argv[1]) / f.name;
    fs::create_directories(path.parent_path());
    std::string bytes;
    bytes.reserve(f.bytes);
    while (bytes.size() < f.bytes) {
      if (f.text) {
        bytes += kWords[next() % (sizeof kWords / sizeof kWords[0])];
        bytes += next() % 12 == 0 ? "\r\n" : " ";
      } else {
        bytes += static_cast<char>(next() & 0xFF);
      }
    }
    bytes.resize(f.bytes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    utimbuf times{static_cast<time_t>(when), static_cast<time_t>(when)};
    if (!out || utime(path.c_str(), &times) != 0) {
      std::fprintf(stderr, "make_bulk: cannot write %s\n", path.c_str());
      return 1;
    }
    when += 120;
  }
  return 0;
}
