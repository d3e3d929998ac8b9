#include "tools/wendmark/floppy_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

#include "floppy/fat_time.h"
#include "floppy/save_image.h"
#include "platform/posix/host_error.h"
#include "platform/posix/paths.h"

namespace wendmark {
namespace {

using platform::Status;

bool OnDriveA(const char* path) { return path != nullptr && (path[0] == 'A' || path[0] == 'a') && path[1] == ':'; }

}  // namespace

Status DriveAFiles::Around(platform::Call& call, const Next&) {
  if (call.path == nullptr) {
    // A call on an open file goes to the side that opened it.
    auto it = open_.find(call.file);
    if (it == open_.end()) return Status::Failure(platform::error::kInvalidHandle);
    auto [side, inner] = it->second;
    if (call.op == platform::Op::kClose) open_.erase(it);  // closed whatever the close reports, as a handle is
    call.file = inner;
    return Next(*side)(call);
  }
  platform::FileSystem& side = OnDriveA(call.path) ? floppy_ : target();
  // Both names on one side; a move between the floppy and the host is refused.
  if (call.op == platform::Op::kReplace && OnDriveA(call.path) != OnDriveA(call.target)) {
    return Status::Failure(platform::error::kAccessDenied);
  }
  if (call.op != platform::Op::kOpen) return Next(side)(call);
  platform::FileHandle* ours = call.opened;
  platform::FileHandle inner = platform::kNoFile;
  *ours = platform::kNoFile;
  call.opened = &inner;
  Status status = Next(side)(call);
  if (status) {
    *ours = next_++;
    open_[*ours] = {&side, inner};
  }
  return status;
}

platform::FileTime FallbackTime() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch != nullptr && *epoch != '\0') {
    char* end = nullptr;
    errno = 0;
    long long seconds = std::strtoll(epoch, &end, 10);
    if (errno == 0 && *end == '\0' && seconds >= 0) {
      return std::max(floppy::FileTimeFromUnix(seconds), floppy::kFirstFatTime);
    }
  }
  return floppy::kFirstFatTime;
}

FloppyDisk::FloppyDisk(floppy::Volume volume, const platform::posix::CodePage& page, platform::FileSystem& host)
    : page_(page),
      volume_(std::move(volume)),
      codec_(page),
      volume_files_(volume_, codec_, FallbackTime()),
      router_(host, volume_files_) {}

bool FloppyDisk::Relay(int number, std::string* error) {
  struct File {
    std::string name;  // in the code page
    floppy::DirEntry entry;
  };
  std::map<char16_t, char> bytes;  // lowest byte first, as the volume's file system maps them
  for (int b = 255; b >= 0; --b) bytes[codec_.Wide(static_cast<char>(b))] = static_cast<char>(b);
  std::vector<File> files;
  platform::FileTime newest = 0;
  for (const floppy::DirEntry& e : volume_.List()) {
    if (e.attributes & (floppy::attr::kLabel | floppy::attr::kDirectory)) continue;
    File file{e.shortName, e};
    if (!e.longName.empty()) {
      file.name.clear();
      for (char16_t u : e.longName) {
        auto it = bytes.find(u);
        if (it == bytes.end()) {
          *error = "the floppy holds " + page_.ToHost(e.shortName) + ", whose name code page " +
                   std::to_string(page_.number()) + " cannot spell";
          return false;
        }
        file.name += it->second;
      }
    }
    newest = std::max(newest, floppy::FromDosTime(e.written));
    files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const File& a, const File& b) { return a.name < b.name; });

  floppy::Volume fresh = floppy::Volume::Format(number, newest != 0 ? newest : FallbackTime());
  floppy::VolumeFileSystem onto(fresh, codec_, FallbackTime());
  for (const File& file : files) {
    std::string data;
    const std::string path = std::string("A:\\") + file.name;
    platform::FileHandle handle = platform::kNoFile;
    std::uint32_t done = 0;
    bool put = volume_.ReadFile(file.entry, &data) &&
               onto.Open(path.c_str(), platform::OpenMode::kCreateNew, &handle);
    if (put) {
      put = (data.empty() || (onto.Write(handle, data.data(), static_cast<std::uint32_t>(data.size()), &done) &&
                              done == data.size())) &&
            onto.SetTimes(handle, {0, 0, floppy::FromDosTime(file.entry.written)});
      put = onto.Close(handle) && put;
    }
    if (!put || !onto.SetAttributes(path.c_str(), file.entry.attributes)) {
      *error = "a 1.44 MB floppy cannot hold " + page_.ToHost(file.name) + " with the files before it";
      return false;
    }
  }
  volume_ = std::move(fresh);
  return true;
}

std::string UtcText(platform::FileTime time) {
  std::time_t seconds = static_cast<std::time_t>(floppy::UnixFromFileTime(time));
  std::tm utc{};
  char text[40] = "?";
  if (gmtime_r(&seconds, &utc) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

std::string FloppyDisk::MovedTimesLine(int number) const {
  // A file written twice (Retry) is named once, with the time it kept.
  std::vector<floppy::VolumeFileSystem::MovedTime> moved;
  for (const auto& m : volume_files_.movedTimes()) {
    auto same = std::find_if(moved.begin(), moved.end(), [&](const auto& o) { return o.name == m.name; });
    if (same != moved.end()) {
      *same = m;
    } else {
      moved.push_back(m);
    }
  }
  if (moved.empty()) return "";
  std::string line = "disk " + std::to_string(number) + ": a floppy holds times from " +
                     UtcText(floppy::kFirstFatTime) + " to " + UtcText(floppy::kLastFatTime) +
                     " only; moved to the nearer one: ";
  for (std::size_t i = 0; i < moved.size(); ++i) {
    if (i != 0) line += ", ";
    line += page_.ToHost(moved[i].name) + " (" + UtcText(moved[i].asked) + ")";
  }
  return line;
}

bool FloppyDisk::Save(const std::string& image, std::string* error) const {
  platform::Status saved = floppy::SaveImage(platform::DefaultFileSystem(), image.c_str(), volume_.bytes());
  if (saved) return true;
  *error = "cannot write " + image + ": " + platform::posix::HostErrorText(saved.code());
  return false;
}

bool ReadImageFile(const std::string& image, std::vector<std::uint8_t>* bytes, std::uint32_t* code) {
  int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    *code = platform::posix::MapErrno(errno, nullptr);
    if (fd >= 0) ::close(fd);
    return false;
  }
  // No floppy is larger than a few MB: a larger file is read only so far,
  // and then judged no floppy of ours.
  constexpr off_t kMost = 4 * 1024 * 1024;
  bytes->resize(static_cast<std::size_t>(std::min<off_t>(st.st_size, kMost)));
  std::size_t at = 0;
  while (at < bytes->size()) {
    ssize_t got = ::read(fd, bytes->data() + at, bytes->size() - at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      *code = got < 0 ? platform::posix::MapErrno(errno, nullptr) : platform::posix::MapErrno(EIO, nullptr);
      ::close(fd);
      return false;
    }
    at += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return true;
}

}  // namespace wendmark
