#include "tools/wendmark/list_disks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/code_page.h"
#include "platform/posix/paths.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "platform/console/host_text.h"

namespace wendmark {
namespace {

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
  return std::string(cwd) + "/" + path;
}

}  // namespace

std::uint32_t DescriptionFolder::ProgramPath(char* buffer, std::uint32_t capacity) const {
  return platform::TextCopy(buffer, capacity, (folder_ + "/Wendmark.exe").c_str());
}
std::uint32_t DescriptionFolder::CurrentDirectory(char* buffer, std::uint32_t capacity) const {
  return platform::DefaultProcess().CurrentDirectory(buffer, capacity);
}

Description::Description(const std::string& path)
    : given_(path),
      path_(AbsolutePath(path)),
      program_(path_.substr(0, path_.find_last_of('/'))),
      packages_(platform::DefaultProfile(), program_) {}

// The loader says only that a description does not load; the refusal says why.
bool Description::Load(std::string* error) {
  if (packages_.Load(path_.c_str())) return true;
  struct stat st;
  if (::stat(path_.c_str(), &st) != 0) {
    *error = "cannot read the package description " + given_ + ": " + std::strerror(errno);
  } else {
    *error = "the package description " + given_ +
             " does not load (it needs [Global] Name, [Disks] Number of at least 1, and for each disk "
             "[DiskN] Files of at least 1 with keys File0, File1, ...)";
  }
  return false;
}

int ListDisks(const Options& options, std::FILE* out, std::FILE* errors) {
  std::string error;
  platform::posix::CodePage page;
  Description description(options.description);
  if (!page.Load(options.codePage == 0 ? platform::posix::CodePage::kDefault : options.codePage, &error) ||
      !description.Load(&error)) {
    std::fprintf(errors, "wendmark: %s\n", error.c_str());
    return kExitUsage;
  }
  // The description's folder is the host's own text; entries and the
  // folder Wendmark.ini names cross from the code page.
  platform::console::HostText text(&page);
  text.KeepAsIs(description.folder().c_str());
  const platform::PathBuffer folder = description.packages().GetDiskImagesFolder();
  auto disks = description.packages().Disks();
  while (const DiskEntry* disk = disks.Next()) {
    auto entries = disk->Files();
    while (const platform::PathBuffer* entry = entries.Next()) {
      platform::PathBuffer source(folder.c_str());
      platform::path::Append(&source, entry->c_str());
      std::fprintf(out, "%d\t%s\t%s\n", disk->number + 1,
                   text.ToHost(platform::path::LastComponent(entry->c_str())).c_str(),
                   platform::posix::TranslatePath(text.ToHost(source.c_str()).c_str()).c_str());
    }
  }
  return std::fflush(out) == 0 ? kExitWritten : kExitNotWritten;
}

}  // namespace wendmark
