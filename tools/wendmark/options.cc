#include "tools/wendmark/options.h"

#include <algorithm>

#include "platform/console/code_page_option.h"
#include "tandrel_version.h"

namespace wendmark {
namespace {

// A positive decimal number of at most five digits.
bool ParseNumber(const std::string& text, int* number) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  *number = std::stoi(text);
  return *number > 0;
}

}  // namespace

const char kVersion[] = "wendmark " TANDREL_VERSION "\n";

const char kUsage[] =
    "usage: wendmark [DESCRIPTION] --images OUTDIR [--disks N,N...] [--no-prompt] [--codepage N]\n"
    "       wendmark --image-from FOLDER IMAGE N [--codepage N]\n"
    "       wendmark --list-disks DESCRIPTION [--codepage N]\n"
    "       wendmark --help | --version\n"
    "\n"
    "Writes the disks of a package description (packlist.ini in the current folder\n"
    "unless DESCRIPTION names another) as 1.44 MB FAT12 floppy images OUTDIR/disk1.img,\n"
    "disk2.img, ..., the way Wendmark writes floppies: the same checks, the same copy\n"
    "with the files' times, the same messages. Entries are found as Wendmark finds\n"
    "them from its own folder: from the description's folder, or from DiskImages in\n"
    "the Wendmark.ini beside it.\n"
    "\n"
    "  --images OUTDIR    where the images go (made when missing). An image already\n"
    "                     there is checked as a floppy: one that is not blank, or not\n"
    "                     a 1.44 MB FAT disk, is refused and left as it is\n"
    "  --disks N,N...     only these disks, numbered from 1 (default: all)\n"
    "  --no-prompt        ask nothing: tell the first problem and stop (also when\n"
    "                     stdin or stderr is not a terminal)\n"
    "  --codepage N       the Windows ANSI code page the description and the\n"
    "                     floppies' names are written in (default 1252, as wendplan\n"
    "                     writes it); host names are converted from the locale's\n"
    "                     encoding\n"
    "  --image-from FOLDER IMAGE N\n"
    "                     writes the plain files of FOLDER as the image of disk N\n"
    "                     (label DISKN) by the same copy, in byte-wise order of\n"
    "                     their names. An IMAGE\n"
    "                     already there is replaced only when this rule made it or\n"
    "                     it is a blank floppy image; anything else is refused\n"
    "                     and left as it is\n"
    "  --list-disks DESCRIPTION\n"
    "                     prints each disk's entries, one line each: the disk's\n"
    "                     number, the name on the floppy and the file the copy\n"
    "                     reads, separated by tabs, in the locale's encoding\n"
    "\n"
    "On a terminal a bar shows each disk's copy, and Abort/Retry/Ignore and the\n"
    "other questions are asked there; Ctrl-C asks whether to stop. A file time a\n"
    "floppy cannot hold (before 1980 or after 2107) is stored as the nearer end of\n"
    "its calendar, and a line on stdout names each such file.\n"
    "\n"
    "Exit status: 0 every selected disk was written; 1 a disk could not be written\n"
    "(a failure, or the user stopped; no partial image is left); 2 a wrong command\n"
    "line, or a description that cannot be loaded.\n";

bool ParseDiskList(const std::string& text, std::vector<int>* disks, std::string* error) {
  disks->clear();
  std::size_t pos = 0;
  for (;;) {
    std::size_t comma = text.find(',', pos);
    std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    int number = 0;
    if (!ParseNumber(item, &number)) {
      *error = "--disks takes disk numbers from 1, separated by commas: " + text;
      return false;
    }
    if (std::find(disks->begin(), disks->end(), number) == disks->end()) disks->push_back(number);
    if (comma == std::string::npos) return true;
    pos = comma + 1;
  }
}

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
  bool descriptionGiven = false, imagesGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i], value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
      hasValue = true;
    }
    auto take = [&](std::string* into) {
      if (!hasValue) {
        if (i + 1 >= args.size()) return false;
        value = args[++i];
      }
      *into = value;
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      options->mode = Options::Mode::kHelp;
      return true;
    } else if (arg == "--version") {
      options->mode = Options::Mode::kVersion;
      return true;
    } else if (arg == "--images") {
      if (!take(&options->images) || options->images.empty()) return (*error = "--images needs a folder"), false;
      imagesGiven = true;
    } else if (arg == "--disks") {
      std::string list;
      if (!take(&list)) return (*error = "--disks needs disk numbers, such as 1,3"), false;
      if (!ParseDiskList(list, &options->disks, error)) return false;
    } else if (arg == "--no-prompt") {
      options->noPrompt = true;
    } else if (arg == "--codepage") {
      std::string number;
      if (!take(&number) || !platform::console::ParseCodePageNumber(number.c_str(), &options->codePage))
        return (*error = "--codepage needs a code page number"), false;
    } else if (arg == "--image-from") {
      if (i + 3 >= args.size()) return (*error = "--image-from needs FOLDER IMAGE N"), false;
      options->mode = Options::Mode::kImageFrom;
      options->folder = args[i + 1];
      options->image = args[i + 2];
      if (!ParseNumber(args[i + 3], &options->number))
        return (*error = "--image-from: not a disk number: " + args[i + 3]), false;
      i += 3;
    } else if (arg == "--list-disks") {
      if (!take(&options->description) || options->description.empty())
        return (*error = "--list-disks needs a description"), false;
      options->mode = Options::Mode::kListDisks;
      if (descriptionGiven) return (*error = "--list-disks takes DESCRIPTION and --codepage N only"), false;
      descriptionGiven = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + args[i];
      return false;
    } else if (!descriptionGiven) {
      options->description = arg;
      descriptionGiven = true;
    } else {
      *error = "more than one description: " + options->description + ", " + arg;
      return false;
    }
  }
  if (options->mode == Options::Mode::kImageFrom) {
    if (descriptionGiven || imagesGiven || !options->disks.empty() || options->noPrompt) {
      *error = "--image-from takes FOLDER IMAGE N and --codepage N only";
      return false;
    }
    return true;
  }
  if (options->mode == Options::Mode::kListDisks) {
    if (imagesGiven || !options->disks.empty() || options->noPrompt) {
      *error = "--list-disks takes DESCRIPTION and --codepage N only";
      return false;
    }
    return true;
  }
  if (!imagesGiven) {
    *error = "--images OUTDIR is required";
    return false;
  }
  return true;
}

}  // namespace wendmark
