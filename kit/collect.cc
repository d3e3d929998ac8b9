#include "kit/collect.h"

#include <algorithm>
#include <filesystem>

#include "kit/error_text.h"
#include "platform/file.h"
#include "platform/windows_path.h"
#include "unpack/archive/format.h"

namespace kivopack {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;

#ifdef _WIN32
constexpr char kSeparator = '\\';
bool EndsInSeparator(const std::string& path) { return path.back() == '\\' || path.back() == '/'; }
#else
constexpr char kSeparator = '/';
bool EndsInSeparator(const std::string& path) { return path.back() == '/'; }
#endif

// A name found in `folder`, spelt as the host spells a path (and as the
// file layer opens it there).
std::string Below(const std::string& folder, const std::string& name) {
  if (folder.empty() || EndsInSeparator(folder)) return folder + name;
  return folder + kSeparator + name;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  auto [end, ignored] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return end == folder.end();
}

// How a link found in the source is packed. A link to a file inside the
// source is packed as that file (kIsFile); one to a folder inside is passed
// over with a warning, as that folder is packed under its own name. Any
// other link is refused: a kit must not carry a file from elsewhere on the
// machine it was packed on, and a link that leads nowhere is a mistake.
enum class Link { kIsFile, kIsFolder, kRefused };

Link JudgeLink(const fs::path& link, const fs::path& realRoot, std::string* why) {
  std::error_code ec;
  fs::path target = fs::canonical(link, ec);
  if (ec == std::errc::no_such_file_or_directory) {
    *why = "leads nowhere";
  } else if (ec == std::errc::too_many_symbolic_link_levels) {
    *why = "is a loop of links";
  } else if (ec) {
    *why = "cannot be followed (" + ec.message() + ")";
  } else if (!IsInside(target, realRoot)) {
    *why = "leads outside the source folder, to " + target.string();
  } else if (fs::is_directory(target, ec)) {
    return Link::kIsFolder;
  } else if (!fs::is_regular_file(target, ec)) {
    *why = "leads to something that is neither a file nor a folder";
  } else {
    return Link::kIsFile;
  }
  return Link::kRefused;
}

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : separator) + item;
  return list;
}

std::string JoinSorted(std::vector<std::string> items, const char* separator) {
  std::sort(items.begin(), items.end());
  return Join(items, separator);
}

// "the extractor would refuse the name: a" or "... the names: a, b".
std::string Named(const std::vector<std::string>& paths, const char* one, const char* many) {
  return std::string(paths.size() == 1 ? one : many) + JoinSorted(paths, ", ");
}

// What one listing of the source found that cannot be packed. All of it is
// gathered and named on one line, so that the vendor mends the folder once
// instead of packing again to learn of the next entry.
struct Refusals {
  std::vector<std::string> entries;  // a sentence each: links, FIFOs, what cannot be read or listed
  std::vector<std::string> badNames;   // host paths of names the extractor would refuse
  std::vector<std::string> longNames;  // host paths of names over 259 characters
  std::vector<std::string> unheld;     // host paths the code page cannot hold, with the character

  bool empty() const { return entries.empty() && badNames.empty() && longNames.empty() && unheld.empty(); }

  std::string Line(const KitNames& names) const {
    std::vector<std::string> parts;
    if (!entries.empty()) parts.push_back(JoinSorted(entries, "; "));
    if (!badNames.empty()) {
      parts.push_back(
          Named(badNames, "the extractor would refuse the name: ", "the extractor would refuse the names: "));
    }
    if (!longNames.empty()) {
      parts.push_back(Named(longNames, "name longer than 259 characters: ", "names longer than 259 characters: "));
    }
    if (!unheld.empty()) {
      const char* what = unheld.size() == 1 ? "the name of" : "the names of";
      parts.push_back(names.CannotHold(what, JoinSorted(unheld, ", "), ""));
    }
    return Join(parts, "; ");
  }
};

// One entry of a folder, kept beyond the listing that named it.
struct Found {
  std::string name;
  EntryKind kind;
};

// A folder still to be listed: its host path and the names that lead to it
// from the source.
struct Folder {
  std::string path;
  std::vector<std::string> parts;
};

// Lists the source one folder at a time, so that a folder that cannot be
// listed is named itself, and the rest of the source is still looked at.
class SourceWalk final : public platform::DirectoryVisitor {
 public:
  SourceWalk(platform::FileSystem& io, const KitNames& names) : io_(io), names_(names) {}

  bool Run(const std::string& source, std::vector<SourceFile>* files, std::string* error) {
    platform::Status listed = List(source);
    const std::uint32_t code = listed.code();
    if (code == platform::error::kFileNotFound || code == platform::error::kPathNotFound) {
      *error = "not a folder: " + source;
      return false;
    }
    // Links are judged by where the folder really is.
    std::error_code ec;
    realRoot_ = fs::canonical(names_.PathOf(source), ec);
    if (ec) {
      *error = "cannot list " + source + ": " + ec.message();
      return false;
    }
    std::vector<Folder> pending;
    Settle(Folder{source, {}}, listed, &pending, files);
    while (!pending.empty()) {
      Folder folder = std::move(pending.back());
      pending.pop_back();
      listed = List(folder.path);
      Settle(folder, listed, &pending, files);
    }
    return true;
  }

  Refusals refused;
  std::vector<std::string> noted;

 private:
  void Visit(const platform::DirectoryEntry& entry) override { found_.push_back({entry.name, entry.kind}); }

  platform::Status List(const std::string& folder) {
    found_.clear();
    return io_.ListDirectory(folder.c_str(), *this);
  }

  void Settle(const Folder& folder, platform::Status listed, std::vector<Folder>* pending,
              std::vector<SourceFile>* files) {
    const std::vector<Found> entries = std::move(found_);
    for (const Found& entry : entries) Look(folder, entry, pending, files);
    if (!listed) {
      refused.entries.push_back(FailedOn("cannot list", folder.path, listed));
    } else if (entries.empty() && !folder.parts.empty()) {
      noted.push_back("the empty folder " + folder.path + " is not packed: the archive cannot hold an empty folder");
    }
  }

  void Look(const Folder& folder, const Found& entry, std::vector<Folder>* pending, std::vector<SourceFile>* files) {
    Folder here{Below(folder.path, entry.name), folder.parts};
    here.parts.push_back(entry.name);
    const std::string& shown = here.path;
    if (entry.kind == EntryKind::kLink) {
      std::string why;
      Link link = JudgeLink(names_.PathOf(shown), realRoot_, &why);
      if (link == Link::kRefused) refused.entries.push_back("the link " + shown + " " + why);
      if (link == Link::kIsFolder) {
        noted.push_back("the link " + shown +
                        " is not packed: it leads to a folder, which is packed under its own name");
      }
      if (link == Link::kIsFile) Take(here, files);
    } else if (entry.kind == EntryKind::kDirectory) {
      // The file layer would read a backslash in the name as a separator.
      if (entry.name.find('\\') != std::string::npos) {
        refused.badNames.push_back(shown);
      } else {
        pending->push_back(std::move(here));
      }
    } else if (entry.kind == EntryKind::kFile) {
      Take(here, files);
    } else {
      refused.entries.push_back(shown + " is neither a file nor a folder");
    }
  }

  // The file's name in the archive, from the names that lead to it (a link
  // keeps its own name, not its target's); false once it is refused.
  bool ArchiveName(const Folder& file, std::string* name) {
    for (const std::string& part : file.parts) {
      std::string component, missing;
      if (!names_.NameOf(part, &component, &missing)) {
        refused.unheld.push_back(file.path + (missing.empty() ? "" : " (\"" + missing + "\")"));
        return false;
      }
      // A backslash inside a component would turn into a separator.
      if (component.find('\\') != std::string::npos) {
        refused.badNames.push_back(file.path);
        return false;
      }
      if (!name->empty()) *name += '\\';
      *name += component;
    }
    if (name->size() > platform::path::kMaxLength) {
      refused.longNames.push_back(file.path);
      return false;
    }
    if (!kivo::IsAcceptableEntryName(name->c_str())) {
      refused.badNames.push_back(file.path);
      return false;
    }
    return true;
  }

  void Take(const Folder& found, std::vector<SourceFile>* files) {
    SourceFile f;
    f.path = found.path;
    if (!ArchiveName(found, &f.name)) return;
    platform::File file;
    platform::Status done = file.Open(io_, f.path.c_str(), platform::OpenMode::kReadShared);
    if (!done) {
      refused.entries.push_back(FailedOn("cannot open", f.path, done));
    } else if (done = file.GetSize(&f.size); !done) {
      refused.entries.push_back(FailedOn("cannot read", f.path, done));
    } else if (done = file.GetTimes(&f.times); !done) {
      refused.entries.push_back(FailedOn("cannot read the times of", f.path, done));
    } else {
      files->push_back(std::move(f));
    }
  }

  platform::FileSystem& io_;
  const KitNames& names_;
  fs::path realRoot_;
  std::vector<Found> found_;  // the entries of the folder being listed
};

}  // namespace

bool CollectFiles(platform::FileSystem& files, const std::string& source, std::vector<SourceFile>* found,
                  std::string* error, const KitNames& names, std::vector<std::string>* warnings) {
  found->clear();
  SourceWalk walk(files, names);
  if (!walk.Run(source, found, error)) return false;
  if (!walk.refused.empty()) {
    *error = walk.refused.Line(names);
    return false;
  }
  if (found->empty()) {
    *error = "no files below " + source;
    return false;
  }
  std::sort(found->begin(), found->end(), [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  if (warnings != nullptr) {
    std::sort(walk.noted.begin(), walk.noted.end());
    warnings->insert(warnings->end(), walk.noted.begin(), walk.noted.end());
  }
  return true;
}

}  // namespace kivopack
