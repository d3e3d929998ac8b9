// kivopack: builds a self-extracting file from a folder, lists and verifies
// archives.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "platform/windows_path.h"
#include "tandrel_version.h"
#include "tools/kivopack/listing.h"
#include "tools/kivopack/pack.h"
#include "tools/kivopack/times.h"

namespace {

const char kUsage[] =
    "usage: kivopack -o OUT [--stub FILE | --bare] [--run PROGRAM] [--codepage N] SOURCE_DIR\n"
    "       kivopack --list FILE [--codepage N]\n"
    "       kivopack --verify FILE [--codepage N]\n"
    "       kivopack --help | --version\n"
    "\n"
    "  -o OUT         the self-extracting file to write\n"
    "  --stub FILE    the extractor program the archive is appended to\n"
    "                 (default: the extractor beside kivopack)\n"
    "  --bare         write the archive alone, without an extractor\n"
    "  --run PROGRAM  the program to start after extraction: one of the files\n"
    "                 packed, by its path below SOURCE_DIR (at most 263\n"
    "                 characters)\n"
    "  --list FILE    print the program name and every entry\n"
    "  --verify FILE  find and validate the archive in FILE\n"
#ifdef _WIN32
    "  --codepage N   the system's ANSI code page, the one names are read in\n"
    "                 here (any other is refused)\n"
#else
    "  --codepage N   the Windows ANSI code page of the kit's names (default\n"
    "                 1252; also 874, 1250, 1251, 1253, 1254, 1255, 1256, 1257).\n"
    "                 Names are converted from the locale's encoding (UTF-8 in\n"
    "                 the C locale); a name the code page cannot hold is refused\n"
    "                 before anything is written. --list shows names converted back.\n"
#endif
    "\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "Every file below SOURCE_DIR is packed. A link to a file inside SOURCE_DIR is\n"
    "packed as that file; a link that leads outside it, nowhere or round in a\n"
    "loop is refused, and nothing is written; every entry refused is named\n"
    "together. The archive holds files only: an empty folder, or a link to a\n"
    "folder, is named in a warning and left out.\n"
    "\n"
    "SOURCE_DATE_EPOCH (seconds since 1970-01-01 UTC), when set, is the latest\n"
    "time the archive stores: later file times are stored as this time.\n"
    "\n"
    "Exit status:\n"
    "  0  written; listed; valid (warnings do not change it)\n"
    "  1  refused or failed, with one line on stderr; no partial OUT is left\n";

const char kSeeHelp[] = " (kivopack --help lists the options)";

int Refuse(const std::string& why) {
  std::fprintf(stderr, "kivopack: %s\n", why.c_str());
  return 1;
}

std::string DefaultStub(const char* argv0) {
#ifdef _WIN32
  const char* name = "KivoUnpack.exe";
#else
  const char* name = "kivounpack";
#endif
  std::string self(argv0);
  // The folder with its separator, or none for a bare program name.
  std::string folder =
      platform::path::LastSeparator(argv0) == nullptr ? "" : self.substr(0, platform::path::FolderLength(argv0) + 1);
  return folder + name;
}

int List(platform::FileSystem& files, const std::string& path, const kivopack::KitNames& names) {
  kivopack::ArchiveListing listing;
  std::string error;
  if (!kivopack::ReadListing(files, path, &listing, &error)) return Refuse(error);
  std::printf("program: %s\n", listing.program.empty() ? "(none)" : names.ToHost(listing.program).c_str());
  for (const auto& e : listing.entries) {
    std::printf("%12llu  %s  %s\n", static_cast<unsigned long long>(e.size),
                kivopack::FormatTime(e.times.lastWrite).c_str(), names.ToHost(e.name).c_str());
  }
  return 0;
}

int Verify(platform::FileSystem& files, const std::string& path, const kivopack::KitNames& names) {
  kivopack::ArchiveListing listing;
  std::string error;
  if (!kivopack::Verify(files, path, &listing, &error, names)) return Refuse(path + ": " + error);
  unsigned long long bytes = 0;
  for (const auto& e : listing.entries) bytes += e.size;
  std::printf("%s: valid, archive at offset %u, %s, %s of data, program %s\n", path.c_str(), listing.offset,
              kivopack::Counted(listing.entries.size(), "entry", "entries").c_str(),
              kivopack::Counted(bytes, "byte", "bytes").c_str(),
              listing.program.empty() ? "(none)" : names.ToHost(listing.program).c_str());
  return 0;
}


// What the command line asks for.
struct Options {
  kivopack::PackRequest request;
  bool bare = false, stubGiven = false;
  std::string listFile, verifyFile;
  unsigned codePage = 0;
};

// The options in `argv`; false with the exit status in *status when the
// run ends here (--help, --version, or a refusal already shown).
bool ParseOptions(int argc, char** argv, Options* options, int* status) {
  kivopack::PackRequest& request = options->request;
  unsigned& codePage = options->codePage;
  *status = 1;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* option) -> const char* {
      if (i + 1 >= argc) {
        Refuse(std::string(option) + " needs a value");
        return nullptr;
      }
      return argv[++i];
    };
    const char* v = nullptr;
    if (AnswerHelpOrVersion(arg.c_str(), "kivopack", kUsage)) {
      *status = 0;
      return false;
    } else if (arg == "--list" || arg == "--verify") {
      if ((v = value(arg.c_str())) == nullptr) return false;
      (arg == "--list" ? options->listFile : options->verifyFile) = v;
    } else if (arg == "--codepage") {
      if ((v = value("--codepage")) == nullptr) return false;
      if (!kivopack::KitNames::ParseNumber(v, &codePage)) {
        *status = Refuse(std::string("not a code page number: ") + v);
        return false;
      }
    } else if (arg == "-o" || arg == "--stub" || arg == "--run") {
      if ((v = value(arg.c_str())) == nullptr) return false;
      (arg == "-o" ? request.output : arg == "--stub" ? request.stub : request.program) = v;
      options->stubGiven = options->stubGiven || arg == "--stub";
    } else if (arg == "--bare") {
      options->bare = true;
    } else if (!arg.empty() && arg[0] == '-') {
      *status = Refuse("unknown option " + arg + kSeeHelp);
      return false;
    } else if (request.source.empty()) {
      request.source = arg;
    } else {
      *status = Refuse("more than one source folder");
      return false;
    }
  }
  return true;
}

// Shows how far a pack of 64 MiB or more has come, on a terminal.
void ShowProgress(std::uint64_t done, std::uint64_t total) {
  if (total < (64u << 20)) return;
  std::fprintf(stderr, "\rkivopack: %3llu%% of %llu MiB", total ? done * 100 / total : 100ull,
               static_cast<unsigned long long>(total >> 20));
  if (done == total) std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char** argv) {
  // The host's encoding of names is the locale's.
  std::setlocale(LC_CTYPE, "");
  Options options;
  if (int status = 0; !ParseOptions(argc, argv, &options, &status)) return status;
  kivopack::PackRequest& request = options.request;
  platform::FileSystem& files = platform::DefaultFileSystem();
  kivopack::KitNames names;
  std::string error;
  if (!names.Load(options.codePage, &error)) return Refuse(error);
  if (!options.listFile.empty()) return List(files, options.listFile, names);
  if (!options.verifyFile.empty()) return Verify(files, options.verifyFile, names);
  if (request.output.empty()) return Refuse(std::string("-o OUT is needed") + kSeeHelp);
  if (request.source.empty()) return Refuse(std::string("SOURCE_DIR is needed") + kSeeHelp);
  request.names = &names;
  if (options.bare && options.stubGiven) return Refuse("--stub and --bare exclude each other");
  if (!options.bare && !options.stubGiven) request.stub = DefaultStub(argv[0]);
  if (options.bare) request.stub.clear();
  // Packing the same files again then gives the same bytes, whenever they
  // were copied or last read.
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    platform::FileTime latest = 0;
    if (!kivopack::ParseSourceDateEpoch(epoch, &latest, &error)) return Refuse(error);
    request.latestTime = latest;
  }
  request.warn = [](const std::string& warning) { std::fprintf(stderr, "kivopack: warning: %s\n", warning.c_str()); };
  kivopack::Progress progress;
  if (isatty(2)) progress = ShowProgress;
  if (!kivopack::Pack(files, request, &error, progress)) return Refuse(error);
  return 0;
}
