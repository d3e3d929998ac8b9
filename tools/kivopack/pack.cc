#include "tools/kivopack/pack.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "kit/error_text.h"
#include "platform/file.h"
#include "unpack/archive/format.h"
#include "unpack/archive/reader.h"
#include "unpack/archive/writer.h"

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

bool ReadWhole(platform::FileSystem& io, const std::string& path, std::string* out, std::string* error) {
  platform::File file;
  if (platform::Status opened = file.Open(io, path.c_str(), OpenMode::kReadShared); !opened) {
    *error = FailedOn("cannot open", path, opened);
    return false;
  }
  out->clear();
  std::vector<char> buffer(kBuffer);
  for (;;) {
    std::uint32_t got = 0;
    if (platform::Status read = file.Read(buffer.data(), kBuffer, &got); !read) {
      *error = FailedOn("cannot read", path, read);
      return false;
    }
    if (got == 0) return true;
    out->append(buffer.data(), got);
  }
}

platform::FileTimes NoLaterThan(platform::FileTimes times, platform::FileTime latest) {
  times.creation = std::min(times.creation, latest);
  times.lastAccess = std::min(times.lastAccess, latest);
  times.lastWrite = std::min(times.lastWrite, latest);
  return times;
}

// The program's name as the kit holds it, in its code page.
bool ProgramName(const PackRequest& request, std::string* program, std::string* error) {
  std::string missing;
  if (!request.names->FromHost(request.program, program, &missing)) {
    *error = request.names->CannotHold("the program name", request.program, missing);
    return false;
  }
  if (program->size() > 263) {
    *error = "program name longer than 263 characters";
    return false;
  }
  return true;
}

// The stub's bytes, which must not hold what the extractor takes for the
// start of the archive.
bool ReadStub(platform::FileSystem& io, const PackRequest& request, std::string* stub, std::string* error) {
  if (request.stub.empty()) return true;
  if (!ReadWhole(io, request.stub, stub, error)) return false;
  if (ContainsSignature(*stub)) {
    *error = "the stub contains the archive signature: " + request.stub;
    return false;
  }
  return true;
}

// A kit inside the folder it packs would pack the previous kit into the next.
bool OutsideSource(const PackRequest& request, std::string* error) {
  std::error_code ec;
  fs::path source = fs::weakly_canonical(request.source, ec);
  fs::path output = fs::weakly_canonical(request.output, ec);
  auto [s_end, o_it] = std::mismatch(source.begin(), source.end(), output.begin(), output.end());
  if (!ec && s_end == source.end() && o_it != output.end()) {
    *error = "the kit " + request.output + " would lie inside the folder it packs, " + request.source;
    return false;
  }
  return true;
}

// The program a kit starts is one of its own files, named as the kit holds
// it: the extractor starts it only from inside the target folder, so a kit
// that names a path outside, or a file that was not packed, would end every
// extraction with a failed start. Either separator may be given; the kit
// holds backslashes.
bool CheckProgram(const PackRequest& request, const std::vector<SourceFile>& files, std::string* program,
                  std::string* error) {
  if (program->empty()) return true;
  const KitNames& names = *request.names;
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

// What a kit is made of, gathered and checked before anything is written.
struct KitParts {
  std::string stub;
  std::string program;
  std::vector<SourceFile> files;
  std::uint64_t data = 0;  // the files' bytes
};

bool GatherParts(platform::FileSystem& io, const PackRequest& request, KitParts* parts, std::string* error) {
  if (!ProgramName(request, &parts->program, error) || !ReadStub(io, request, &parts->stub, error) ||
      !OutsideSource(request, error)) {
    return false;
  }
  std::vector<std::string> warnings;
  if (!CollectFiles(io, request.source, &parts->files, error, *request.names, &warnings)) return false;
  if (!CheckProgram(request, parts->files, &parts->program, error)) return false;
  if (request.warn) {
    for (const std::string& warning : warnings) request.warn(warning);
  }
  for (const SourceFile& f : parts->files) parts->data += f.size;
  std::uint64_t total = parts->stub.size() + kivo::kHeaderSize +
                        static_cast<std::uint64_t>(parts->files.size()) * kivo::kEntrySize + parts->data;
  if (total >= 0x100000000ull) {
    *error = "the self-extracting file would be 4 GiB or larger";
    return false;
  }
  return true;
}

// The kit is written beside its final name and takes it only when whole,
// so a failure or an interruption leaves an earlier kit as it was. Every
// step is false with `error` set once it failed, and then no OUT.partial
// is left.
class KitFile {
 public:
  KitFile(platform::FileSystem& io, const PackRequest& request, std::string* error)
      : io_(io), request_(request), partial_(request.output + ".partial"), error_(error) {}

  bool Create() {
    if (platform::Status created = out_.Open(io_, partial_.c_str(), OpenMode::kCreateAlways); !created) {
      *error_ = FailedOn("cannot create", partial_, created);
      return false;
    }
    return true;
  }

  bool WriteHead(const KitParts& parts, kivo::ArchiveWriter& writer) {
    std::uint32_t done = 0;
    if (!parts.stub.empty()) {
      platform::Status written = out_.Write(parts.stub.data(), static_cast<std::uint32_t>(parts.stub.size()), &done);
      if (!written) return WriteFailed(written);
      if (done != parts.stub.size()) return WriteFailed(platform::Status::Failure(platform::error::kDiskFull));
    }
    if (!writer.Start(parts.program.c_str(), static_cast<std::uint32_t>(parts.files.size()))) {
      return WriteFailed(writer.failure());
    }
    for (const SourceFile& f : parts.files) {
      kivo::ArchiveEntry entry;
      std::copy(f.name.begin(), f.name.end(), entry.name);
      entry.sizeLow = static_cast<std::uint32_t>(f.size);
      entry.times = request_.latestTime ? NoLaterThan(f.times, *request_.latestTime) : f.times;
      entry.attributes = platform::attr::kArchive;
      if (!writer.AddEntry(entry)) return WriteFailed(writer.failure());
    }
    return true;
  }

  // Copies the file's bytes, which must be as many as were collected.
  bool CopyData(const SourceFile& f, kivo::ArchiveWriter& writer, std::vector<char>& buffer,
                const std::function<void(std::uint32_t)>& copied) {
    platform::File input;
    if (platform::Status opened = input.Open(io_, f.path.c_str(), OpenMode::kReadShared); !opened) {
      return Fail(FailedOn("cannot open", f.path, opened));
    }
    for (std::uint64_t left = f.size; left > 0;) {
      std::uint32_t want = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kBuffer));
      std::uint32_t got = 0;
      if (platform::Status read = kivo::ReadFully(input, buffer.data(), want, &got); !read) {
        return Fail(FailedOn("cannot read", f.path, read));
      }
      if (got != want) return Fail(f.path + " changed while it was packed");
      if (!writer.AddData(buffer.data(), got)) return WriteFailed(writer.failure());
      left -= got;
      copied(got);
    }
    char extra = 0;
    std::uint32_t got = 0;
    if (input.Read(&extra, 1, &got) && got != 0) return Fail(f.path + " changed while it was packed");
    return true;
  }

  bool Finish(kivo::ArchiveWriter& writer, bool executable) {
    if (!writer.Finish()) return WriteFailed(writer.failure());
    if (platform::Status closed = out_.Close(); !closed) return WriteFailed(closed);
    if (executable) {
      std::error_code ec;
      fs::permissions(partial_, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                      fs::perm_options::add, ec);
    }
    if (platform::Status moved = io_.Replace(partial_.c_str(), request_.output.c_str()); !moved) {
      return WriteFailed(moved);
    }
    return true;
  }

  platform::File& out() { return out_; }

 private:
  bool Fail(const std::string& why) {
    *error_ = why;
    (void)out_.Close();
    (void)io_.Remove(partial_.c_str());
    return false;
  }
  bool WriteFailed(platform::Status failure) { return Fail(FailedOn("cannot write", request_.output, failure)); }

  platform::FileSystem& io_;
  const PackRequest& request_;
  const std::string partial_;
  std::string* error_;
  platform::File out_;
};

}  // namespace

bool Pack(platform::FileSystem& io, const PackRequest& request, std::string* error, const Progress& progress) {
  KitParts parts;
  if (!GatherParts(io, request, &parts, error)) return false;
  KitFile kit(io, request, error);
  if (!kit.Create()) return false;
  kivo::ArchiveWriter writer(kit.out(), static_cast<std::uint32_t>(parts.stub.size()));
  if (!kit.WriteHead(parts, writer)) return false;
  std::vector<char> buffer(kBuffer);
  std::uint64_t copied = 0, lastReport = 0;
  auto count = [&](std::uint32_t got) {
    copied += got;
    if (progress && copied - lastReport >= (64u << 20)) {
      progress(copied, parts.data);
      lastReport = copied;
    }
  };
  for (const SourceFile& f : parts.files) {
    if (!kit.CopyData(f, writer, buffer, count)) return false;
  }
  if (!kit.Finish(writer, !parts.stub.empty())) return false;
  if (progress) progress(parts.data, parts.data);
  return true;
}

}  // namespace kivopack
