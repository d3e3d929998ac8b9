#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/posix/paths.h"

namespace platform {
namespace {

constexpr std::uint64_t kEpochDifference = 11644473600ULL;  // 1601 to 1970, seconds
constexpr std::uint64_t kTicksPerSecond = 10000000ULL;

FileTime ToFileTime(const timespec& ts) {
  if (ts.tv_sec < -static_cast<std::int64_t>(kEpochDifference)) return 0;
  return (static_cast<std::uint64_t>(ts.tv_sec + kEpochDifference)) * kTicksPerSecond +
         static_cast<std::uint64_t>(ts.tv_nsec) / 100;
}

timespec ToTimespec(FileTime ft) {
  timespec ts;
  std::int64_t seconds = static_cast<std::int64_t>(ft / kTicksPerSecond) -
                         static_cast<std::int64_t>(kEpochDifference);
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>((ft % kTicksPerSecond) * 100);
  return ts;
}

int ToFd(FileHandle file) { return static_cast<int>(file) - 1; }

EntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kDirectory;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

// The entry's kind as readdir tells it, asking the inode only where the
// file system does not say; a link is followed to tell what it leads to.
bool Describe(int folder, const dirent& found, DirectoryEntry* entry) {
  struct stat st;
  switch (found.d_type) {
    case DT_REG: entry->kind = EntryKind::kFile; break;
    case DT_DIR: entry->kind = EntryKind::kDirectory; break;
    case DT_LNK: entry->kind = EntryKind::kLink; break;
    case DT_UNKNOWN:
      if (::fstatat(folder, found.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
      entry->kind = KindOf(st.st_mode);
      break;
    default: entry->kind = EntryKind::kOther; break;
  }
  entry->target = entry->kind;
  if (entry->kind == EntryKind::kLink) {
    entry->target = ::fstatat(folder, found.d_name, &st, 0) == 0 ? KindOf(st.st_mode) : EntryKind::kOther;
  }
  return true;
}

class PosixFileSystem final : public FileSystem {
 public:
  Status Open(const char* path, OpenMode mode, FileHandle* file) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kReadShared:
      case OpenMode::kReadExclusive: flags |= O_RDONLY; break;
      case OpenMode::kCreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
      case OpenMode::kCreateAlways: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    }
    if (mode == OpenMode::kCreateAlways || mode == OpenMode::kReadShared ||
        mode == OpenMode::kReadExclusive) {
      struct stat st;
      if (stat(native.c_str(), &st) == 0) {
        // Windows opens no folder as a file, and does not truncate a
        // read-only file even for an administrator.
        if (S_ISDIR(st.st_mode)) return Fail(error::kAccessDenied);
        if (mode == OpenMode::kCreateAlways && (st.st_mode & S_IWUSR) == 0)
          return Fail(error::kAccessDenied);
      }
    }
    int fd = ::open(BelowCurrent(native), flags, 0666);
    if (fd < 0) return FailErrno(path);
    *file = static_cast<FileHandle>(fd) + 1;
    return Status::Ok();
  }

  Status Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
    *done = 0;
    for (;;) {
      ssize_t n = ::read(ToFd(file), buffer, size);
      if (n >= 0) {
        *done = static_cast<std::uint32_t>(n);
        return Status::Ok();
      }
      if (errno != EINTR) return FailErrno(nullptr);
    }
  }

  Status Write(FileHandle file, const void* buffer, std::uint32_t size,
             std::uint32_t* done) override {
    *done = 0;
    const char* p = static_cast<const char*>(buffer);
    while (*done < size) {
      ssize_t n = ::write(ToFd(file), p + *done, size - *done);
      if (n < 0) {
        if (errno == EINTR) continue;
        // Some bytes made it: report the short write, the caller calls it full.
        if (*done > 0 && errno == ENOSPC) return Status::Ok();
        return FailErrno(nullptr);
      }
      if (n == 0) break;
      *done += static_cast<std::uint32_t>(n);
    }
    return Status::Ok();
  }

  Status Flush(FileHandle file) override {
    if (::fsync(ToFd(file)) == 0 || errno == EINVAL) return Status::Ok();
    return FailErrno(nullptr);
  }

  Status Seek(FileHandle file, std::uint32_t offset) override {
    if (::lseek(ToFd(file), static_cast<off_t>(offset), SEEK_SET) < 0) return FailErrno(nullptr);
    return Status::Ok();
  }

  Status Skip(FileHandle file, std::uint32_t count) override {
    if (::lseek(ToFd(file), static_cast<off_t>(count), SEEK_CUR) < 0) return FailErrno(nullptr);
    return Status::Ok();
  }

  Status Tell(FileHandle file, std::uint32_t* offset) override {
    off_t at = ::lseek(ToFd(file), 0, SEEK_CUR);
    if (at < 0) return FailErrno(nullptr);
    *offset = static_cast<std::uint32_t>(at);
    return Status::Ok();
  }

  Status GetSize(FileHandle file, std::uint64_t* size) override {
    struct stat st;
    if (::fstat(ToFd(file), &st) != 0) return FailErrno(nullptr);
    *size = static_cast<std::uint64_t>(st.st_size);
    return Status::Ok();
  }

  Status GetTimes(FileHandle file, FileTimes* times) override {
    struct statx sx;
    if (::statx(ToFd(file), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
      return FailErrno(nullptr);
    auto convert = [](const statx_timestamp& t) {
      timespec ts{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
      return ToFileTime(ts);
    };
    times->lastAccess = convert(sx.stx_atime);
    times->lastWrite = convert(sx.stx_mtime);
    // Without a birth time the last write is the best we know.
    times->creation = (sx.stx_mask & STATX_BTIME) ? convert(sx.stx_btime) : times->lastWrite;
    return Status::Ok();
  }

  Status SetTimes(FileHandle file, const FileTimes& times) override {
    timespec ts[2] = {ToTimespec(times.lastAccess), ToTimespec(times.lastWrite)};
    if (::futimens(ToFd(file), ts) != 0) return FailErrno(nullptr);
    return Status::Ok();
  }

  Status Close(FileHandle file) override {
    if (::close(ToFd(file)) != 0) return FailErrno(nullptr);
    return Status::Ok();
  }

  Status Remove(const char* path) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    struct stat st;
    if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(error::kAccessDenied);
    if (::unlink(native.c_str()) != 0) return FailErrno(path);
    return Status::Ok();
  }

  Status Replace(const char* source, const char* target) override {
    std::string from = posix::TranslatePath(source);
    std::string to = posix::TranslatePath(target);
    if (from.empty() || to.empty()) return Fail(error::kPathNotFound);
    struct stat st;
    if (::stat(to.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || (st.st_mode & S_IWUSR) == 0))
      return Fail(error::kAccessDenied);
    if (::rename(from.c_str(), to.c_str()) != 0) return FailErrno(target);
    return Status::Ok();
  }

  Status GetAttributes(const char* path, std::uint32_t* attributes) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    // FindFirstFile finds nothing for a name with a trailing separator.
    if (native.size() > 1 && native.back() == '/') return Fail(error::kFileNotFound);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) return FailErrno(path);
    std::uint32_t a = S_ISDIR(st.st_mode) ? attr::kDirectory : attr::kArchive;
    if ((st.st_mode & S_IWUSR) == 0) a |= attr::kReadOnly;
    *attributes = a;
    return Status::Ok();
  }

  Status ListDirectory(const char* path, DirectoryVisitor& visitor) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    DIR* dir = ::opendir(native.c_str());
    if (dir == nullptr) {
      if (errno == ENOENT) return Fail(error::kPathNotFound);
      // A file where a folder is asked for: Windows's "directory name is invalid".
      return errno == ENOTDIR ? Fail(error::kDirectoryName) : FailErrno(path);
    }
    Status result = Status::Ok();
    for (;;) {
      errno = 0;
      const dirent* found = ::readdir(dir);
      if (found == nullptr) {
        if (errno != 0) result = FailErrno(path);
        break;
      }
      if (std::strcmp(found->d_name, ".") == 0 || std::strcmp(found->d_name, "..") == 0) continue;
      DirectoryEntry entry{found->d_name, EntryKind::kOther, EntryKind::kOther};
      if (!Describe(::dirfd(dir), *found, &entry)) {
        // Gone since readdir named it: as if listed a moment later.
        if (errno == ENOENT) continue;
        result = FailErrno(path);
        break;
      }
      visitor.Visit(entry);
    }
    ::closedir(dir);
    return result;
  }

  Status MakeDirectory(const char* path) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    if (::mkdir(native.c_str(), 0777) != 0) {
      if (errno == EEXIST) return Fail(error::kAlreadyExists);
      if (errno == ENOENT) return Fail(error::kPathNotFound);
      return FailErrno(path);
    }
    return Status::Ok();
  }

  Status SetCurrentDir(const char* path) override {
    std::string native = posix::TranslatePath(path);
    if (native.empty()) return Fail(error::kPathNotFound);
    if (::chdir(native.c_str()) != 0) {
      if (errno == ENOENT) return Fail(error::kPathNotFound);
      return FailErrno(path);
    }
    // Only an absolute folder is remembered: a relative one named a folder
    // relative to the one before.
    current_.clear();
    if (native[0] == '/') {
      current_ = native;
      while (!current_.empty() && current_.back() == '/') current_.pop_back();
    }
    return Status::Ok();
  }


 private:
  static Status Fail(std::uint32_t code) { return Status::Failure(code); }
  static Status FailErrno(const char* path) { return Fail(posix::MapErrno(errno, path)); }

  // A path below the folder this object made current, relative to it: the
  // kernel then walks only the part below, not every folder from the root
  // again for each of thousands of files. Nothing else in the process
  // changes the current folder.
  const char* BelowCurrent(const std::string& native) const {
    std::size_t n = current_.size();
    if (n == 0 || native.size() <= n + 1 || native[n] != '/' || native[n + 1] == '/' ||
        native.compare(0, n, current_) != 0) {
      return native.c_str();
    }
    return native.c_str() + n + 1;
  }

  std::string current_;  // the folder SetCurrentDir made current, absolute, or ""
};

}  // namespace

FileSystem& DefaultFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace platform
