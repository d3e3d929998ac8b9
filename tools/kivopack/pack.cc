#include "tools/kivopack/pack.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/file_system.h"
#include "unpack/archive/format.h"
#include "unpack/archive/reader.h"
#include "unpack/archive/writer.h"
#include "platform/file.h"
#include "platform/windows_path.h"
#include "tools/kivopack/error_text.h"

namespace kivopack {
namespace {

namespace fs = std::filesystem;
using platform::OpenMode;

constexpr std::uint32_t kBuffer = 1u << 20;

bool ContainsSignature(const std::string& bytes) {
  for (std::size_t i = 0; i + 8 <= bytes.size(); ++i) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + i);
    if (kivo::LoadLe32(p) == kivo::kSignatureLow && kivo::LoadLe32(p + 4) == kivo::kSignatureHigh)
      return true;
  }
  return false;
}

// "cannot open PATH: No such file or directory"
std::string Failed(const char* what, const std::string& path, platform::Status failure) {
  return std::string(what) + " " + path + ": " + ErrorText(failure.code());
}

bool ReadWhole(platform::FileSystem& io, const std::string& path, std::string* out, std::string* error) {
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    *error = Failed("cannot open", path, opened);
    return false;
  }
  out->clear();
  std::vector<char> buffer(kBuffer);
  for (;;) {
    std::uint32_t got = 0;
    if (platform::Status read = file.Read(buffer.data(), kBuffer, &got); !read) {
      *error = Failed("cannot read", path, read);
      return false;
    }
    if (got == 0) return true;
    out->append(buffer.data(), got);
  }
}

// Where Windows file times (1601) and Unix times (1970) begin, apart.
constexpr std::uint64_t kUnixEpochSeconds = 11644473600ull;
constexpr std::uint64_t kLatestSeconds = 253402300799ull;  // 9999-12-31 23:59:59

// The value as the user wrote it, on one line whatever it holds.
std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text) shown += (c >= ' ' && c <= '~') ? c : '?';
  return "'" + shown + "'";
}

platform::FileTimes NoLaterThan(platform::FileTimes times, platform::FileTime latest) {
  times.creation = std::min(times.creation, latest);
  times.lastAccess = std::min(times.lastAccess, latest);
  times.lastWrite = std::min(times.lastWrite, latest);
  return times;
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
      parts.push_back(std::string(badNames.size() == 1 ? "the extractor would refuse the name: "
                                                       : "the extractor would refuse the names: ") +
                      JoinSorted(badNames, ", "));
    }
    if (!longNames.empty()) {
      parts.push_back(std::string(longNames.size() == 1 ? "name longer than 259 characters: "
                                                        : "names longer than 259 characters: ") +
                      JoinSorted(longNames, ", "));
    }
    if (!unheld.empty()) {
      parts.push_back(names.CannotHold(unheld.size() == 1 ? "the name of" : "the names of", JoinSorted(unheld, ", "), ""));
    }
    return Join(parts, "; ");
  }
};

// Lists the source one folder at a time, so that a folder that cannot be
// listed is named itself, and the rest of the source is still looked at.
class SourceWalk {
 public:
  SourceWalk(const fs::path& root, const fs::path& realRoot, const KitNames& names, platform::FileSystem& io)
      : root_(root), realRoot_(realRoot), names_(names), io_(io) {}

  void Run(std::vector<SourceFile>* files) {
    std::vector<fs::path> pending{root_};
    while (!pending.empty()) {
      fs::path folder = std::move(pending.back());
      pending.pop_back();
      std::error_code ec;
      bool empty = true;
      for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        empty = false;
        Look(*it, &pending, files);
      }
      if (ec) {
        refused.entries.push_back("cannot list " + names_.SystemPath(folder) + ": " + ec.message());
      } else if (empty && folder != root_) {
        noted.push_back("the empty folder " + names_.SystemPath(folder) +
                        " is not packed: the archive cannot hold an empty folder");
      }
    }
  }

  Refusals refused;
  std::vector<std::string> noted;

 private:
  void Look(const fs::directory_entry& entry, std::vector<fs::path>* pending, std::vector<SourceFile>* files) {
    std::string shown = names_.SystemPath(entry.path());
    std::error_code kind;
    fs::file_status status = entry.symlink_status(kind);
    if (kind) {
      refused.entries.push_back("cannot read " + shown + ": " + kind.message());
    } else if (fs::is_symlink(status)) {
      std::string why;
      Link link = JudgeLink(entry.path(), realRoot_, &why);
      if (link == Link::kRefused) refused.entries.push_back("the link " + shown + " " + why);
      if (link == Link::kIsFolder) {
        noted.push_back("the link " + shown + " is not packed: it leads to a folder, which is packed under its own name");
      }
      if (link == Link::kIsFile) Take(entry.path(), shown, files);
    } else if (fs::is_directory(status)) {
      pending->push_back(entry.path());
    } else if (fs::is_regular_file(status)) {
      Take(entry.path(), shown, files);
    } else {
      refused.entries.push_back(shown + " is neither a file nor a folder");
    }
  }

  void Take(const fs::path& path, const std::string& shown, std::vector<SourceFile>* files) {
    SourceFile f;
    f.path = shown;
    // By the path as found: a link keeps its own name, not its target's.
    for (const fs::path& part : path.lexically_relative(root_)) {
      std::string component, missing;
      if (!names_.NameOf(part, &component, &missing)) {
        refused.unheld.push_back(shown + (missing.empty() ? "" : " (\"" + missing + "\")"));
        return;
      }
      // A backslash inside a component would turn into a separator.
      if (component.find('\\') != std::string::npos) {
        refused.badNames.push_back(shown);
        return;
      }
      if (!f.name.empty()) f.name += '\\';
      f.name += component;
    }
    if (f.name.size() > platform::path::kMaxLength) {
      refused.longNames.push_back(shown);
      return;
    }
    if (!kivo::IsAcceptableEntryName(f.name.c_str())) {
      refused.badNames.push_back(shown);
      return;
    }
    std::error_code ec;
    f.size = fs::file_size(path, ec);
    if (ec) {
      refused.entries.push_back("cannot read " + shown + ": " + ec.message());
      return;
    }
    platform::File file;
    if (platform::Status opened = file.Open(io_, shown.c_str(), OpenMode::kReadShared); !opened) {
      refused.entries.push_back(Failed("cannot open", shown, opened));
      return;
    }
    if (platform::Status timed = file.GetTimes(&f.times); !timed) {
      refused.entries.push_back(Failed("cannot read the times of", shown, timed));
      return;
    }
    files->push_back(std::move(f));
  }

  const fs::path& root_;
  const fs::path& realRoot_;
  const KitNames& names_;
  platform::FileSystem& io_;
};

bool Collect(const std::string& source, platform::FileSystem& io, std::vector<SourceFile>* files,
             std::string* error, const KitNames& names, std::vector<std::string>* warnings) {
  std::error_code ec;
  fs::path root = names.PathOf(source);
  if (!fs::is_directory(root, ec)) {
    *error = "not a folder: " + source;
    return false;
  }
  // Links are judged by where the folder really is.
  fs::path realRoot = fs::canonical(root, ec);
  if (ec) {
    *error = "cannot list " + source + ": " + ec.message();
    return false;
  }
  files->clear();
  SourceWalk walk(root, realRoot, names, io);
  walk.Run(files);
  if (!walk.refused.empty()) {
    *error = walk.refused.Line(names);
    return false;
  }
  if (files->empty()) {
    *error = "no files below " + source;
    return false;
  }
  std::sort(files->begin(), files->end(),
            [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  if (warnings != nullptr) {
    std::sort(walk.noted.begin(), walk.noted.end());
    warnings->insert(warnings->end(), walk.noted.begin(), walk.noted.end());
  }
  return true;
}

// The program a kit starts is one of its own files, named as the kit holds
// it: the extractor starts it only from inside the target folder, so a kit
// that names a path outside, or a file that was not packed, would end every
// extraction with a failed start. Either separator may be given; the kit
// holds backslashes.
bool CheckProgram(const PackRequest& request, const std::vector<SourceFile>& files, const KitNames& names,
                  std::string* program, std::string* error) {
  if (program->empty()) return true;
  std::replace(program->begin(), program->end(), '/', '\\');
  if (!kivo::IsAcceptableEntryName(program->c_str())) {
    *error = "--run " + request.program + ": the program must be one of the kit's files, named by its path below " +
             request.source;
    return false;
  }
  auto folded = [&names](std::string text) {
    for (char& c : text) c = names.UpperCase(c);
    return text;
  };
  const std::string wanted = folded(*program);
  const SourceFile* alike = nullptr;
  for (const SourceFile& f : files) {
    if (f.name == *program) return true;
    if (alike == nullptr && folded(f.name) == wanted) alike = &f;
  }
  *error = "--run " + request.program + ": no such file below " + request.source;
  if (alike != nullptr) *error += " (" + names.HostPath(alike->name) + " differs from it in case only)";
  return false;
}

}  // namespace

std::string Counted(std::uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool ParseSourceDateEpoch(const std::string& text, platform::FileTime* time, std::string* error) {
  // Only digits: no sign, blank, base prefix, fraction or exponent, which
  // other tools read differently or not at all.
  bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!plain) {
    *error = "SOURCE_DATE_EPOCH must be a non-negative whole number of seconds since 1970-01-01 UTC, not " +
             Shown(text);
    return false;
  }
  std::uint64_t seconds = 0;
  for (char c : text) {
    seconds = seconds * 10 + static_cast<std::uint64_t>(c - '0');
    if (seconds > kLatestSeconds) {
      *error = "SOURCE_DATE_EPOCH " + Shown(text) + " is later than 9999-12-31 23:59:59 UTC";
      return false;
    }
  }
  *time = (seconds + kUnixEpochSeconds) * 10000000ull;
  return true;
}

bool CollectFiles(const std::string& source, std::vector<SourceFile>* files, std::string* error,
                  const KitNames& names, std::vector<std::string>* warnings) {
  return Collect(source, platform::DefaultFileSystem(), files, error, names, warnings);
}

bool Pack(const PackRequest& request, std::string* error, const Progress& progress) {
  const KitNames& names = *request.names;
  std::string program, missing;
  if (!names.FromHost(request.program, &program, &missing)) {
    *error = names.CannotHold("the program name", request.program, missing);
    return false;
  }
  if (program.size() > 263) {
    *error = "program name longer than 263 characters";
    return false;
  }
  platform::FileSystem& io = request.files != nullptr ? *request.files : platform::DefaultFileSystem();
  std::string stub;
  if (!request.stub.empty()) {
    if (!ReadWhole(io, request.stub, &stub, error)) return false;
    if (ContainsSignature(stub)) {
      *error = "the stub contains the archive signature: " + request.stub;
      return false;
    }
  }
  // A kit inside the folder it packs would pack the previous kit into the next.
  {
    std::error_code ec;
    fs::path source = fs::weakly_canonical(request.source, ec);
    fs::path output = fs::weakly_canonical(request.output, ec);
    auto [s_end, o_it] = std::mismatch(source.begin(), source.end(), output.begin(), output.end());
    if (!ec && s_end == source.end() && o_it != output.end()) {
      *error = "the kit " + request.output + " would lie inside the folder it packs, " + request.source;
      return false;
    }
  }
  std::vector<SourceFile> files;
  std::vector<std::string> warnings;
  if (!Collect(request.source, io, &files, error, names, &warnings)) return false;
  if (!CheckProgram(request, files, names, &program, error)) return false;
  if (request.warn) {
    for (const std::string& warning : warnings) request.warn(warning);
  }
  std::uint64_t data = 0;
  for (const SourceFile& f : files) data += f.size;
  std::uint64_t total = stub.size() + kivo::kHeaderSize +
                        static_cast<std::uint64_t>(files.size()) * kivo::kEntrySize + data;
  if (total >= 0x100000000ull) {
    *error = "the self-extracting file would be 4 GiB or larger";
    return false;
  }

  // The kit is written beside its final name and takes it only when whole,
  // so a failure or an interruption leaves an earlier kit as it was.
  const std::string partial = request.output + ".partial";
  platform::File out;
  if (platform::Status created = out.Open(io, partial.c_str(), OpenMode::kCreateAlways); !created) {
    *error = Failed("cannot create", partial, created);
    return false;
  }
  auto fail = [&](const std::string& why) {
    *error = why;
    (void)out.Close();
    (void)io.Remove(partial.c_str());
    return false;
  };
  auto writeFailed = [&](platform::Status failure) {
    return fail(Failed("cannot write", request.output, failure));
  };

  std::uint32_t done = 0;
  if (!stub.empty()) {
    platform::Status written = out.Write(stub.data(), static_cast<std::uint32_t>(stub.size()), &done);
    if (!written) return writeFailed(written);
    if (done != stub.size()) return writeFailed(platform::Status::Failure(platform::error::kDiskFull));
  }
  kivo::ArchiveWriter writer(out, static_cast<std::uint32_t>(stub.size()));
  if (!writer.Start(program.c_str(), static_cast<std::uint32_t>(files.size()))) return writeFailed(writer.failure());
  for (const SourceFile& f : files) {
    kivo::ArchiveEntry entry;
    std::copy(f.name.begin(), f.name.end(), entry.name);
    entry.sizeLow = static_cast<std::uint32_t>(f.size);
    entry.times = request.latestTime ? NoLaterThan(f.times, *request.latestTime) : f.times;
    entry.attributes = platform::attr::kArchive;
    if (!writer.AddEntry(entry)) return writeFailed(writer.failure());
  }
  std::vector<char> buffer(kBuffer);
  std::uint64_t copied = 0, lastReport = 0;
  for (const SourceFile& f : files) {
    platform::File input;
    if (platform::Status opened = input.Open(io, f.path.c_str(), OpenMode::kReadShared); !opened) {
      return fail(Failed("cannot open", f.path, opened));
    }
    std::uint64_t left = f.size;
    while (left > 0) {
      std::uint32_t want = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kBuffer));
      std::uint32_t got = 0;
      if (platform::Status read = kivo::ReadFully(input, buffer.data(), want, &got); !read) {
        return fail(Failed("cannot read", f.path, read));
      }
      if (got != want) return fail(f.path + " changed while it was packed");
      if (!writer.AddData(buffer.data(), got)) return writeFailed(writer.failure());
      left -= got;
      copied += got;
      if (progress && copied - lastReport >= (64u << 20)) {
        progress(copied, data);
        lastReport = copied;
      }
    }
    char extra = 0;
    std::uint32_t got = 0;
    if (input.Read(&extra, 1, &got) && got != 0) return fail(f.path + " changed while it was packed");
  }
  if (!writer.Finish()) return writeFailed(writer.failure());
  if (platform::Status closed = out.Close(); !closed) {
    return fail(Failed("cannot write", request.output, closed));
  }
  std::error_code ec;
  if (!stub.empty()) {
    fs::permissions(partial, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
  }
  if (platform::Status moved = io.Replace(partial.c_str(), request.output.c_str()); !moved) {
    return fail(Failed("cannot write", request.output, moved));
  }
  if (progress) progress(data, data);
  return true;
}

bool ReadListing(const std::string& path, ArchiveListing* listing, std::string* error) {
  auto refuse = [error](std::string why) {
    *error = std::move(why);
    return false;
  };
  // A header or a record, whole, or nothing.
  auto read = [](platform::File& file, std::uint8_t* bytes, std::uint32_t size) {
    std::uint32_t got = 0;
    return kivo::ReadFully(file, bytes, size, &got) && got == size;
  };
  platform::FileSystem& io = platform::DefaultFileSystem();
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    return refuse(Failed("cannot open", path, opened));
  }
  if (!kivo::FindArchiveStart(file) || !file.Tell(&listing->offset)) return refuse("no archive in " + path);
  std::uint8_t header[kivo::kHeaderSize];
  if (!read(file, header, kivo::kHeaderSize)) return refuse("the header cannot be read");
  kivo::ArchiveHeader decoded;
  kivo::DecodeHeader(header, &decoded);
  if (!kivo::HasTerminator(decoded.programName, kivo::kProgramField)) {
    return refuse("the program name has no terminator");
  }
  listing->program = decoded.programName;
  listing->entries.clear();
  for (std::uint32_t i = 0; i < decoded.count; ++i) {
    std::uint8_t bytes[kivo::kEntrySize];
    if (!read(file, bytes, kivo::kEntrySize)) {
      return refuse("the table ends after " + std::to_string(i) + " of " +
                    Counted(decoded.count, "entry", "entries"));
    }
    kivo::ArchiveEntry entry;
    kivo::DecodeEntry(bytes, &entry);
    if (!kivo::HasTerminator(entry.name, kivo::kNameField)) {
      return refuse("entry " + std::to_string(i) + " has a name without terminator");
    }
    listing->entries.push_back({entry.name, entry.sizeLow, entry.times, entry.attributes});
  }
  return true;
}

bool Verify(const std::string& path, ArchiveListing* listing, std::string* error, const KitNames& names) {
  if (!ReadListing(path, listing, error)) return false;
  platform::FileSystem& io = platform::DefaultFileSystem();
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    *error = Failed("cannot open", path, opened);
    return false;
  }
  std::uint64_t size = 0;
  if (platform::Status sized = file.GetSize(&size); !sized) {
    *error = Failed("cannot read", path, sized);
    return false;
  }
  if (!kivo::ValidateArchive(file, listing->offset)) {
    *error = listing->entries.empty() ? "the archive holds no entries"
                                      : "size or checksum does not match";
    return false;
  }
  std::uint64_t data = 0;
  for (const ListedEntry& e : listing->entries) {
    if (!kivo::IsAcceptableEntryName(e.name.c_str())) {
      *error = "the extractor would refuse the name: " + names.ToHost(e.name);
      return false;
    }
    data += e.size;
  }
  // A kit whose program is none of its files ends every extraction with a
  // failed start.
  if (!listing->program.empty() &&
      std::none_of(listing->entries.begin(), listing->entries.end(),
                   [&](const ListedEntry& e) { return e.name == listing->program; })) {
    *error = "the program " + names.ToHost(listing->program) + " is none of the archive's entries";
    return false;
  }
  std::uint64_t expected = listing->offset + kivo::kHeaderSize +
                           static_cast<std::uint64_t>(listing->entries.size()) * kivo::kEntrySize + data;
  if (expected != size) {
    *error = "the data area holds " + std::string(expected > size ? "fewer" : "more") +
             " bytes than the entries";
    return false;
  }
  return true;
}

std::string FormatTime(platform::FileTime time) {
  // Days from 1601-01-01 to the civil date, by the usual era arithmetic.
  std::int64_t seconds = static_cast<std::int64_t>(time / 10000000ull) - 11644473600ll;
  std::int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  std::int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400, doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  std::int64_t d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char text[128];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
  return text;
}

}  // namespace kivopack
