#include "tools/wendmark/floppy_image.h"

#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <map>

namespace wendmark::images {
namespace {

bool HostIsUtf8() {
  const char* set = nl_langinfo(CODESET);
  return set == nullptr || std::strcmp(set, "UTF-8") == 0 || std::strcmp(set, "ANSI_X3.4-1968") == 0;
}

// The key under which FAT finds a name: upper case, letters outside ASCII
// included where the locale can read them, and without the trailing dots
// and blanks FAT drops ("a." and "a " are "A").
std::string FoldName(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  std::mbstate_t state{};
  std::string folded;
  const char* p = name.c_str();
  const char* end = p + name.size();
  while (p < end) {
    wchar_t wc = 0;
    std::size_t n = std::mbrtowc(&wc, p, static_cast<std::size_t>(end - p), &state);
    if (n == 0 || n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
      // Not text in the locale's encoding: that byte as it is, ASCII folded.
      folded += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
      state = std::mbstate_t{};
      ++p;
      continue;
    }
    char out[MB_LEN_MAX];
    std::mbstate_t outState{};
    std::size_t m = std::wcrtomb(out, static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wc))), &outState);
    if (m == static_cast<std::size_t>(-1)) {
      folded.append(p, n);
    } else {
      folded.append(out, m);
    }
    p += n;
  }
  return folded;
}

tools::ProgramResult Mtools(const std::string& tool, std::vector<std::string> args) {
  args.insert(args.begin(), tool);
  return tools::RunProgram(args, ToolEnvironment());
}

// The value after "key:" in minfo's report, as a number; -1 when missing.
long long Field(const std::map<std::string, std::string>& fields, const std::string& key) {
  auto it = fields.find(key);
  if (it == fields.end()) return -1;
  return std::strtoll(it->second.c_str(), nullptr, 10);
}

}  // namespace

tools::Environment ToolEnvironment(long long sourceDateEpoch) {
  tools::Environment env = {{"TZ", "UTC"}, {"MTOOLS_SKIP_CHECK", "1"}, {"MTOOLSRC", "/dev/null"}};
  if (sourceDateEpoch >= 0) env.emplace_back("SOURCE_DATE_EPOCH", std::to_string(sourceDateEpoch));
  if (HostIsUtf8()) env.emplace_back("LC_ALL", "C.UTF-8");
  return env;
}

std::string VolumeSerial(int number) {
  char serial[16];
  std::snprintf(serial, sizeof serial, "7A4D%04X", static_cast<unsigned>(number) & 0xFFFFu);
  return serial;
}

bool ListFlatFolder(const std::string& folder, FlatFolder* listing, std::string* error) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    *error = "cannot read the folder " + folder + ": " + std::strerror(errno);
    return false;
  }
  listing->names.clear();
  listing->newest = kFatEpoch;
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    listing->names.push_back(name);
  }
  ::closedir(dir);
  std::sort(listing->names.begin(), listing->names.end());  // byte-wise, as LC_ALL=C sort
  std::map<std::string, std::string> seen;
  for (const std::string& name : listing->names) {
    std::string path = folder + "/" + name;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      *error = "a floppy is flat, " + path + " is not a plain file";
      return false;
    }
    listing->newest = std::max<long long>(listing->newest, st.st_mtim.tv_sec);
    // What Windows cannot hold in a name cannot stand on the floppy either.
    bool holdable = FoldName(name).size() != 0 && std::none_of(name.begin(), name.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 || std::strchr("\"*/:<>?\\|", c) != nullptr;
    });
    if (!holdable) {
      *error = "the name " + path + " cannot stand on a FAT floppy";
      return false;
    }
    auto [it, fresh] = seen.emplace(FoldName(name), name);
    if (!fresh) {
      *error = "names FAT would not tell apart in " + folder + ": " + it->second + ", " + name;
      return false;
    }
  }
  return true;
}

bool MakeFloppyImage(const std::string& folder, const std::string& image, int number, std::string* error) {
  FlatFolder listing;
  if (!ListFlatFolder(folder, &listing, error)) return false;
  const std::string partial = image + ".partial";
  ::unlink(partial.c_str());
  tools::Environment env = ToolEnvironment(listing.newest);
  auto fail = [&](const std::string& why) {
    ::unlink(partial.c_str());
    *error = why;
    return false;
  };

  tools::ProgramResult made = tools::RunProgram(
      {"mformat", "-C", "-i", partial, "-f", "1440", "-v", "DISK" + std::to_string(number), "-N",
       VolumeSerial(number), "::"},
      env);
  if (!made.ok()) return fail(tools::DescribeFailure("mformat", made));
  if (!listing.names.empty()) {
    std::vector<std::string> copy = {"mcopy", "-m", "-i", partial};
    for (const std::string& name : listing.names) copy.push_back(folder + "/" + name);
    copy.push_back("::/");
    tools::ProgramResult copied = tools::RunProgram(copy, env);
    if (!copied.ok()) {
      return fail(copied.started ? "the files of " + folder + " could not be put on a 1.44 MB floppy (" +
                                       tools::DescribeFailure("mcopy", copied) + ")"
                                 : tools::DescribeFailure("mcopy", copied));
    }
  }
  tools::ProgramResult checked = tools::RunProgram({"fsck.fat", "-n", partial}, env);
  if (!checked.ok()) return fail("fsck.fat found faults in the image of " + folder + " (" +
                                 tools::DescribeFailure("fsck.fat", checked) + ")");
  // On the disk before it takes the final name.
  int fd = ::open(partial.c_str(), O_RDONLY | O_CLOEXEC);
  bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced || ::rename(partial.c_str(), image.c_str()) != 0) {
    return fail("cannot write " + image + ": " + std::strerror(errno));
  }
  return true;
}

bool ReadImageSpace(const std::string& image, platform::FreeSpace* space, std::string* error) {
  tools::ProgramResult info = Mtools("minfo", {"-i", image, "::"});
  if (!info.ok()) {
    *error = tools::DescribeFailure("minfo", info);
    return false;
  }
  std::map<std::string, std::string> fields;
  std::size_t pos = 0;
  while (pos < info.output.size()) {
    std::size_t end = info.output.find('\n', pos);
    if (end == std::string::npos) end = info.output.size();
    std::string line = info.output.substr(pos, end - pos);
    std::size_t colon = line.find(": ");
    if (colon != std::string::npos) fields.emplace(line.substr(0, colon), line.substr(colon + 2));
    pos = end + 1;
  }
  long long sector = Field(fields, "sector size"), perCluster = Field(fields, "cluster size"),
            reserved = Field(fields, "reserved (boot) sectors"), fats = Field(fields, "fats"),
            rootSlots = Field(fields, "max available root directory slots"),
            perFat = Field(fields, "sectors per fat"), total = Field(fields, "small size");
  if (total <= 0) total = Field(fields, "big size");
  if (sector <= 0 || perCluster <= 0 || reserved < 0 || fats < 0 || rootSlots < 0 || perFat < 0 || total <= 0) {
    *error = "minfo does not describe " + image + " as a FAT disk";
    return false;
  }
  long long data = total - reserved - fats * perFat - (rootSlots * 32 + sector - 1) / sector;
  if (data <= 0) {
    *error = "minfo does not describe " + image + " as a FAT disk";
    return false;
  }

  tools::ProgramResult dir = Mtools("mdir", {"-i", image, "::"});
  std::size_t freeAt = dir.output.rfind("bytes free");
  if (!dir.ok() || freeAt == std::string::npos) {
    *error = tools::DescribeFailure("mdir", dir);
    return false;
  }
  std::size_t lineStart = dir.output.rfind('\n', freeAt);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  unsigned long long freeBytes = 0;
  for (std::size_t i = lineStart; i < freeAt; ++i) {  // "1 457 664 bytes free": digits in groups
    if (std::isdigit(static_cast<unsigned char>(dir.output[i]))) freeBytes = freeBytes * 10 + (dir.output[i] - '0');
  }
  unsigned long long clusterBytes = static_cast<unsigned long long>(sector * perCluster);
  space->bytesPerSector = static_cast<std::uint32_t>(sector);
  space->sectorsPerCluster = static_cast<std::uint32_t>(perCluster);
  space->totalClusters = static_cast<std::uint32_t>(data / perCluster);
  space->freeClusters = static_cast<std::uint32_t>(freeBytes / clusterBytes);
  return true;
}

bool CopyImageContents(const std::string& image, const std::string& folder, std::string* error) {
  tools::ProgramResult listed = Mtools("mdir", {"-b", "-i", image, "::"});
  if (!listed.ok()) {
    *error = tools::DescribeFailure("mdir", listed);
    return false;
  }
  if (listed.output.find_first_not_of(" \r\n") == std::string::npos) return true;  // nothing on it
  tools::ProgramResult copied = Mtools("mcopy", {"-s", "-m", "-n", "-i", image, "::/*", folder + "/"});
  if (!copied.ok()) {
    *error = tools::DescribeFailure("mcopy", copied);
    return false;
  }
  return true;
}

}  // namespace wendmark::images
