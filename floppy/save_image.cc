#include "floppy/save_image.h"

#include <algorithm>
#include <string>

namespace floppy {

platform::Status SaveImage(platform::FileSystem& files, const char* path, std::span<const std::uint8_t> bytes) {
  using platform::Status;
  const std::string partial = std::string(path) + ".partial";
  platform::FileHandle file = platform::kNoFile;
  Status status = files.Open(partial.c_str(), platform::OpenMode::kCreateAlways, &file);
  if (!status) return status;  // nothing was made

  constexpr std::uint32_t kChunk = 64 * 1024;
  for (std::size_t at = 0; status && at < bytes.size();) {
    std::uint32_t size = static_cast<std::uint32_t>(std::min<std::size_t>(kChunk, bytes.size() - at));
    std::uint32_t done = 0;
    status = files.Write(file, bytes.data() + at, size, &done);
    if (status && done < size) status = Status::Failure(platform::error::kDiskFull);  // a short write is a full disk
    at += size;
  }
  if (status) status = files.Flush(file);
  Status closed = files.Close(file);
  if (status) status = closed;
  if (status) status = files.Replace(partial.c_str(), path);
  if (!status) (void)files.Remove(partial.c_str());
  return status;
}

}  // namespace floppy
