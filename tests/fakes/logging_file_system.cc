#include "tests/fakes/logging_file_system.h"

namespace tests {
namespace {

using platform::FileHandle;
using platform::OpenMode;

const char* ModeName(OpenMode mode) {
  switch (mode) {
    case OpenMode::kReadShared: return "ReadShared";
    case OpenMode::kReadExclusive: return "ReadExclusive";
    case OpenMode::kCreateNew: return "CreateNew";
    case OpenMode::kCreateAlways: return "CreateAlways";
  }
  return "?";
}

}  // namespace

platform::Status LoggingFileSystem::Record(const std::string& call, platform::Status result) {
  log_.push_back(call + (result ? " -> ok" : " -> error " + std::to_string(result.code())));
  return result;
}

platform::Status LoggingFileSystem::Open(const char* path, OpenMode mode, FileHandle* file) {
  return Record(std::string("Open ") + path + " " + ModeName(mode), target().Open(path, mode, file));
}

platform::Status LoggingFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  return Record("Read " + std::to_string(size), target().Read(file, buffer, size, done));
}

platform::Status LoggingFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                              std::uint32_t* done) {
  return Record("Write " + std::to_string(size), target().Write(file, buffer, size, done));
}

platform::Status LoggingFileSystem::Flush(FileHandle file) { return Record("Flush", target().Flush(file)); }

platform::Status LoggingFileSystem::Seek(FileHandle file, std::uint32_t offset) {
  return Record("Seek " + std::to_string(offset), target().Seek(file, offset));
}

platform::Status LoggingFileSystem::Skip(FileHandle file, std::uint32_t count) {
  return Record("Skip " + std::to_string(count), target().Skip(file, count));
}

platform::Status LoggingFileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  return Record("Tell", target().Tell(file, offset));
}

platform::Status LoggingFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  return Record("GetSize", target().GetSize(file, size));
}

platform::Status LoggingFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  return Record("GetTimes", target().GetTimes(file, times));
}

platform::Status LoggingFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  return Record("SetTimes", target().SetTimes(file, times));
}

platform::Status LoggingFileSystem::Close(FileHandle file) { return Record("Close", target().Close(file)); }

platform::Status LoggingFileSystem::Remove(const char* path) {
  return Record(std::string("Remove ") + path, target().Remove(path));
}

platform::Status LoggingFileSystem::Replace(const char* source, const char* target) {
  return Record(std::string("Replace ") + source + " " + target,
                ForwardingFileSystem::target().Replace(source, target));
}

platform::Status LoggingFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  return Record(std::string("GetAttributes ") + path, target().GetAttributes(path, attributes));
}

platform::Status LoggingFileSystem::MakeDirectory(const char* path) {
  return Record(std::string("MakeDirectory ") + path, target().MakeDirectory(path));
}

platform::Status LoggingFileSystem::SetCurrentDir(const char* path) {
  return Record(std::string("SetCurrentDir ") + path, target().SetCurrentDir(path));
}

}  // namespace tests
