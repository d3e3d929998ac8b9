#include "tools/wendplan/output.h"

#include <cstdio>
#include <algorithm>
#include <filesystem>

#include "tools/wendplan/floppy_fat.h"
#include "platform/file.h"
#include "platform/windows_path.h"
#include "kit/error_text.h"

namespace wendplan {
namespace {

namespace fs = std::filesystem;

// The profile reader keeps at most a path's length of a value and trims the
// blanks around it; a value must come back exactly as written.
std::string WhyNotReadBack(const std::string& value) {
  if (value.size() > platform::path::kMaxLength) return "longer than 259 characters";
  for (unsigned char c : value)
    if (c < 0x20) return "holds a control character";
  if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) return "begins or ends with a blank";
  return "";
}

// How the lower bound was found, after the number.
std::string WhyNoFewer(const Plan& plan) {
  switch (plan.lowerBound.kind) {
    case LowerBound::kRootEntries:
      return " = ceil(" + Thousands(plan.totalSlots) + " root entries / " + std::to_string(kUsableRootSlots) + ")";
    case LowerBound::kLargeFiles:
      return " = files of more than half a floppy (" + Thousands(kFloppyClusters / 2 + 1) +
             " clusters or more), one per floppy";
    case LowerBound::kClusters:
      break;
  }
  // A set of empty files still needs a disk, which no division shows.
  if (plan.totalClusters == 0) return ", for files that take no clusters";
  return " = ceil(" + Counted(plan.totalClusters, "cluster", "clusters") + " / " + Thousands(kFloppyClusters) + ")";
}

}  // namespace

std::string Thousands(std::uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Counted(std::uint64_t n, const char* one, const char* many) {
  return Thousands(n) + " " + (n == 1 ? one : many);
}

std::string JoinList(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : separator) + item;
  return out;
}

std::string DefaultEntryPrefix(const std::string& setupDir, const kivopack::KitNames& names) {
  std::string folder = names.SystemPath(fs::absolute(names.PathOf(setupDir)).lexically_normal());
  // The folder's own name: its last component, trailing separators aside.
  folder.resize(std::max<std::size_t>(platform::path::LengthWithoutTrailingSeparators(folder.c_str()), 1));
  const char* own = folder.c_str() + platform::path::FolderLength(folder.c_str());
  if (platform::path::IsSeparator(*own)) ++own;
  return "..\\" + std::string(own) + "\\\\";
}

bool FormatPackList(const Plan& plan, const std::string& name, const std::string& entryPrefix,
                    std::string* text, std::string* error, const kivopack::KitNames& names) {
  std::string why = name.empty() ? "is empty" : WhyNotReadBack(name);
  if (!why.empty()) {
    *error = "the product name " + why;
    return false;
  }
  std::vector<std::string> bad;
  std::string out = "[Global]\r\nName=" + name + "\r\n\r\n";
  for (std::size_t d = 0; d < plan.disks.size(); ++d) {
    const Disk& disk = plan.disks[d];
    out += "[Disk" + std::to_string(d) + "]\r\n";
    for (std::size_t k = 0; k < disk.files.size(); ++k) {
      std::string entry = entryPrefix + plan.files[disk.files[k]].relative;
      std::string problem = WhyNotReadBack(entry);
      if (!problem.empty()) bad.push_back(names.ToHost(entry) + " (" + problem + ")");
      out += "File" + std::to_string(k) + "=" + entry + "\r\n";
    }
    out += "Files=" + std::to_string(disk.files.size()) + "\r\n\r\n";
  }
  out += "[Disks]\r\nNumber=" + std::to_string(plan.disks.size()) + "\r\n";
  if (!bad.empty()) {
    *error = "entries Wendmark could not read back: " + JoinList(bad, ", ");
    return false;
  }
  *text = std::move(out);
  return true;
}

std::string FormatPlan(const Plan& plan, const std::string& name, const kivopack::KitNames& names) {
  std::string out = name + ": " + Counted(plan.files.size(), "file", "files") + ", " +
                    Counted(plan.totalBytes, "byte", "bytes") + ", " +
                    Counted(plan.totalClusters, "cluster", "clusters") + " of 512 bytes\n";
  for (std::size_t d = 0; d < plan.disks.size(); ++d) {
    const Disk& disk = plan.disks[d];
    out += "Disk " + std::to_string(d + 1) + ": " + Counted(disk.files.size(), "file", "files") + ", " +
           Counted(disk.bytes, "byte", "bytes") + ", " + Thousands(disk.clusters) + " of " +
           Thousands(kFloppyClusters) + " clusters, " + std::to_string(disk.slots) + " of " +
           std::to_string(kUsableRootSlots) + " root entries\n";
    for (std::size_t i : disk.files) {
      char line[64];
      std::snprintf(line, sizeof line, "  %13s  ", Thousands(plan.files[i].bytes).c_str());
      out += line + names.HostPath(plan.files[i].relative) + "\n";
    }
  }
  out += std::to_string(plan.disks.size()) + (plan.disks.size() == 1 ? " disk" : " disks") + " (lower bound " +
         std::to_string(plan.lowerBound.disks) + WhyNoFewer(plan) + ")\n";
  return out;
}

bool WriteWhole(const std::string& path, const std::string& text, std::string* error,
                const kivopack::KitNames& names) {
  fs::path folder = names.PathOf(path).parent_path();
  std::error_code missing;
  if (!folder.empty() && !fs::is_directory(folder, missing)) {
    *error = "cannot write " + path + ": no folder " + names.SystemPath(folder);
    return false;
  }
  platform::FileSystem& io = platform::DefaultFileSystem();
  const std::string temporary = names.SystemPath(names.PathOf(path + ".tmp"));
  const std::string target = names.SystemPath(names.PathOf(path));
  platform::File out;
  platform::Status done = out.Open(io, temporary.c_str(), platform::OpenMode::kCreateAlways);
  if (done) {
    std::uint32_t written = 0;
    done = out.Write(text.data(), static_cast<std::uint32_t>(text.size()), &written);
    if (done && written != text.size()) done = platform::Status::Failure(platform::error::kDiskFull);
    // A close can fail with the last of the data unwritten.
    platform::Status closed = out.Close();
    if (done) done = closed;
    if (done) done = io.Replace(temporary.c_str(), target.c_str());
    if (!done) (void)io.Remove(temporary.c_str());
  }
  if (!done) {
    *error = "cannot write " + path + ": " + kivopack::ErrorText(done.code());
    return false;
  }
  return true;
}

}  // namespace wendplan
