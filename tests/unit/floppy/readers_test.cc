// Images of ours read by readers we did not write: fsck.fat finds nothing
// to mend, mtools lists every long name and copies every byte back with its
// time, 7-Zip lists every name, size and time. Names are given in the kit's
// code page and must come out as the same characters.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "floppy/save_image.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/floppy/floppy_world.h"

namespace {

using tests::FloppyWorld;

// The readers' settings: times in UTC, no configuration of the host's, names as UTF-8.
constexpr const char* kEnvironment = "TZ=UTC MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null LC_ALL=C.UTF-8 ";

constexpr long long kMarch2100 = 4107542400;  // 2100-03-01 00:00:00 UTC

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string Run(const std::string& command, int* status) {
  std::string output;
  FILE* pipe = ::popen((kEnvironment + command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    *status = -1;
    return output;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int raw = ::pclose(pipe);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

bool HaveReaders() {
  int status = 0;
  Run("command -v fsck.fat && command -v mdir && command -v mcopy && command -v 7zz", &status);
  return status == 0;
}

struct FileSpec {
  std::string name;  // as the host spells it
  std::string data;
  long long written;  // seconds since 1970, as given
  long long stored;   // as the disk keeps it
};

std::string Data(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 29 + seed * 101 + (i >> 11)) & 0xFF);
  return s;
}

// "Path = ..." blocks of 7zz -slt: name -> (size, modified).
std::map<std::string, std::pair<std::string, std::string>> SevenZipListing(const std::string& text) {
  std::map<std::string, std::pair<std::string, std::string>> listing;
  std::istringstream in(text);
  std::string line, path;
  while (std::getline(in, line)) {
    if (line.rfind("Path = ", 0) == 0) path = line.substr(7);
    if (line.rfind("Size = ", 0) == 0 && !path.empty()) listing[path].first = line.substr(7);
    if (line.rfind("Modified = ", 0) == 0 && !path.empty()) listing[path].second = line.substr(11, 19);
  }
  return listing;
}

std::string UtcText(long long seconds) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  ::gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

// Writes `files` onto a blank floppy in code page `codePage`, saves it, and
// has every reader check it.
void CheckWithReaders(unsigned codePage, const std::vector<FileSpec>& files) {
  FloppyWorld w(codePage, 2);
  for (const FileSpec& f : files) {
    ASSERT_TRUE(w.Put(f.name, f.data, floppy::FileTimeFromUnix(f.written))) << f.name;
  }
  tests::TempDir dir;
  const std::string image = dir.path() + "/disk2.img";
  ASSERT_TRUE(floppy::SaveImage(platform::DefaultFileSystem(), image.c_str(), w.volume.bytes()));

  int status = 0;
  std::string out = Run("fsck.fat -n " + Quote(image), &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("differ"), std::string::npos) << out;

  out = Run("mdir -i " + Quote(image) + " ::", &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Volume in drive : is DISK2"), std::string::npos) << out;
  EXPECT_NE(out.find("7A4D-0002"), std::string::npos) << out;

  const std::string listing = Run("7zz l -slt " + Quote(image), &status);
  EXPECT_EQ(status, 0) << listing;
  auto seven = SevenZipListing(listing);

  for (std::size_t i = 0; i < files.size(); ++i) {
    const FileSpec& f = files[i];
    SCOPED_TRACE(f.name);
    floppy::DirEntry e = w.Entry(f.name);
    if (!e.longName.empty()) {
      EXPECT_NE(out.find(" " + f.name + "\n"), std::string::npos) << "mdir does not show it";
    }
    const std::string copy = dir.path() + "/out" + std::to_string(i);
    std::string copied = Run("mcopy -n -m -i " + Quote(image) + " " + Quote("::/" + f.name) + " " + Quote(copy), &status);
    ASSERT_EQ(status, 0) << copied;
    EXPECT_EQ(tests::ReadFile(copy), f.data);
    struct stat st {};
    ASSERT_EQ(::stat(copy.c_str(), &st), 0);
    // mtools counts 2100 as a leap year, so it reads dates after February
    // 2100 a day late; 7-Zip below reads them as stored.
    const long long mtoolsDay = f.stored >= kMarch2100 ? 86400 : 0;
    EXPECT_EQ(static_cast<long long>(st.st_mtime), f.stored + mtoolsDay);

    auto it = seven.find(f.name);
    ASSERT_NE(it, seven.end()) << listing;
    EXPECT_EQ(it->second.first, std::to_string(f.data.size()));
    EXPECT_EQ(it->second.second, UtcText(f.stored));
  }
}

TEST(FloppyReaders, OddNamesEmptyFilesAndEdgeTimesReadBackExactly) {
  if (!HaveReaders()) GTEST_SKIP() << "fsck.fat, mtools or 7zz is missing";
  const long long t = tests::kSomeTime;
  std::vector<FileSpec> files = {
      {"README.TXT", Data(700, 1), t, t},
      {"o.txt", Data(10, 2), t, t},
      {"œ.txt", Data(513, 3), t + 1, t + 2},
      {"€uro.txt", Data(1, 4), t, t},
      {"™.txt", Data(1024, 5), t, t},
      {"übung.dat", Data(3000, 6), t, t},
      {"café.txt", Data(20, 7), t, t},
      {"cafe.txt", Data(21, 8), t, t},
      {"Café Menu.txt", Data(22, 9), t, t},
      {"Größe.dat", Data(23, 10), t, t},
      {"lower.cab", Data(24, 11), t, t},
      {"my file.v1.2.txt", Data(25, 12), t, t},
      {"A name long enough to need three entries.txt", Data(26, 13), t, t},
      {"empty.txt", "", t, t},
      {"old.txt", Data(27, 14), 1, 315532800},                  // 1970 becomes 1980-01-01
      {"far.txt", Data(28, 15), 4354819199LL, 4354819198LL},  // past 2107-12-31 23:59:58
  };
  CheckWithReaders(1252, files);
}

TEST(FloppyReaders, CyrillicNamesInCodePage1251) {
  if (!HaveReaders()) GTEST_SKIP() << "fsck.fat, mtools or 7zz is missing";
  const long long t = tests::kSomeTime;
  CheckWithReaders(1251, {{"Установка.exe", Data(2000, 1), t, t},
                          {"файл.txt", Data(10, 2), t, t},
                          {"Ёлка и ель.dat", Data(0, 3), t, t}});
}

TEST(FloppyReaders, AFileThatFillsTheWholeDisk) {
  if (!HaveReaders()) GTEST_SKIP() << "fsck.fat, mtools or 7zz is missing";
  CheckWithReaders(1252, {{"whole disk.bin", Data(1457664, 1), tests::kSomeTime, tests::kSomeTime}});
}

}  // namespace
