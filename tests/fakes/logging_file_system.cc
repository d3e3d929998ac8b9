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

bool LoggingFileSystem::Record(const std::string& call, bool ok) {
  log_.push_back(call + (ok ? " -> ok" : " -> error " + std::to_string(LastError())));
  return ok;
}

bool LoggingFileSystem::Open(const char* path, OpenMode mode, FileHandle* file) {
  return Record(std::string("Open ") + path + " " + ModeName(mode), target().Open(path, mode, file));
}

bool LoggingFileSystem::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
  return Record("Read " + std::to_string(size), target().Read(file, buffer, size, done));
}

bool LoggingFileSystem::Write(FileHandle file, const void* buffer, std::uint32_t size,
                              std::uint32_t* done) {
  return Record("Write " + std::to_string(size), target().Write(file, buffer, size, done));
}

bool LoggingFileSystem::Flush(FileHandle file) { return Record("Flush", target().Flush(file)); }

bool LoggingFileSystem::Seek(FileHandle file, std::uint32_t offset) {
  return Record("Seek " + std::to_string(offset), target().Seek(file, offset));
}

bool LoggingFileSystem::Skip(FileHandle file, std::uint32_t count) {
  return Record("Skip " + std::to_string(count), target().Skip(file, count));
}

bool LoggingFileSystem::Tell(FileHandle file, std::uint32_t* offset) {
  return Record("Tell", target().Tell(file, offset));
}

bool LoggingFileSystem::GetSize(FileHandle file, std::uint64_t* size) {
  return Record("GetSize", target().GetSize(file, size));
}

bool LoggingFileSystem::GetTimes(FileHandle file, platform::FileTimes* times) {
  return Record("GetTimes", target().GetTimes(file, times));
}

bool LoggingFileSystem::SetTimes(FileHandle file, const platform::FileTimes& times) {
  return Record("SetTimes", target().SetTimes(file, times));
}

bool LoggingFileSystem::Close(FileHandle file) { return Record("Close", target().Close(file)); }

bool LoggingFileSystem::Remove(const char* path) {
  return Record(std::string("Remove ") + path, target().Remove(path));
}

bool LoggingFileSystem::Replace(const char* source, const char* target) {
  return Record(std::string("Replace ") + source + " " + target,
                ForwardingFileSystem::target().Replace(source, target));
}

bool LoggingFileSystem::GetAttributes(const char* path, std::uint32_t* attributes) {
  return Record(std::string("GetAttributes ") + path, target().GetAttributes(path, attributes));
}

bool LoggingFileSystem::MakeDirectory(const char* path) {
  return Record(std::string("MakeDirectory ") + path, target().MakeDirectory(path));
}

bool LoggingFileSystem::SetCurrentDir(const char* path) {
  return Record(std::string("SetCurrentDir ") + path, target().SetCurrentDir(path));
}

}  // namespace tests
