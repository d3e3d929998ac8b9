// wendplan: plans the floppies of a setup folder and writes Wendmark's
// package description for them.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/collect.h"
#include "tools/wendplan/output.h"
#include "tools/wendplan/plan.h"
#include "tandrel_version.h"

namespace {

const char kUsage[] =
    "usage: wendplan SETUP_DIR -o PACKLIST --name PRODUCT [--entry-prefix PREFIX] [--first FILE]...\n"
    "                [--codepage N]\n"
    "       wendplan --help | --version\n"
    "\n"
    "Splits the files below SETUP_DIR over as few blank 1.44 MB floppies as it can\n"
    "(every file goes to a floppy's top level under its own name), prints the plan\n"
    "and writes the package description Wendmark reads.\n"
    "\n"
    "  -o PACKLIST            the package description to write (packlist.ini)\n"
    "  --name PRODUCT         the product name the wizard shows\n"
    "  --entry-prefix PREFIX  put before every file's path below SETUP_DIR\n"
    "                         (default: ..\\NAME\\\\ with NAME the setup folder's\n"
    "                         name, for Wendmark in a tools folder beside it)\n"
    "  --first FILE           put FILE on disk 1, in the order given; may be\n"
    "                         repeated. SETUP.EXE (in any case), when there is\n"
    "                         one, is on disk 1 as well, after the files named\n"
#ifdef _WIN32
    "  --codepage N           the system's ANSI code page, the one names are\n"
    "                         read in here (any other is refused)\n"
#else
    "  --codepage N           the Windows ANSI code page the description and the\n"
    "                         floppies' names are written in (default 1252; also\n"
    "                         874, 1250, 1251, 1253, 1254, 1255, 1256, 1257).\n"
    "                         Names are converted from the locale's encoding\n"
    "                         (UTF-8 in the C locale); a file name, the product\n"
    "                         name or the prefix that the code page cannot hold\n"
    "                         is refused\n"
#endif
    "  -h, --help             show this text\n"
    "  --version              show wendplan's version\n"
    "\n"
    "Exit status:\n"
    "  0  the description was written (or --help or --version was shown)\n"
    "  1  nothing was written: a wrong or missing argument, a setup folder that\n"
    "     cannot be read, files no set of floppies can hold as they are named,\n"
    "     --first files and SETUP.EXE that do not fit on disk 1 together, or a\n"
    "     description that cannot be written\n";

int Refuse(const std::string& why) {
  std::fprintf(stderr, "wendplan: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The host's encoding of names is the locale's.
  std::setlocale(LC_CTYPE, "");
  std::string setupDir, output, name, prefix, codePageText;
  bool nameGiven = false, prefixGiven = false, codePageGiven = false;
  std::vector<std::string> first;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string* into) {
      if (i + 1 >= argc) return false;
      *into = argv[++i];
      return true;
    };
    bool ok = true;
    if (AnswerHelpOrVersion(arg.c_str(), "wendplan", kUsage)) {
      return 0;
    } else if (arg == "-o") {
      ok = value(&output);
    } else if (arg == "--name") {
      ok = nameGiven = value(&name);
    } else if (arg == "--entry-prefix") {
      ok = prefixGiven = value(&prefix);
    } else if (arg == "--first") {
      ok = value(&first.emplace_back());
    } else if (arg == "--codepage") {
      ok = codePageGiven = value(&codePageText);
    } else if (!arg.empty() && arg[0] == '-') {
      std::fputs(kUsage, stderr);
      return Refuse("unknown option " + arg);
    } else if (setupDir.empty()) {
      setupDir = arg;
    } else {
      return Refuse("more than one setup folder: " + setupDir + ", " + arg);
    }
    if (!ok) return Refuse(arg + " needs a value");
  }
  if (setupDir.empty() || output.empty() || !nameGiven) {
    std::fputs(kUsage, stderr);
    return Refuse("SETUP_DIR, -o and --name are required");
  }
  unsigned codePage = 0;
  if (codePageGiven && !kivopack::KitNames::ParseNumber(codePageText, &codePage)) {
    return Refuse("not a code page number: " + codePageText);
  }
  kivopack::KitNames names;
  std::string error;
  if (!names.Load(codePage, &error)) return Refuse(error);
  if (!prefixGiven) prefix = wendplan::DefaultEntryPrefix(setupDir, names);

  // Wendmark reads the description in the system's code page: the product
  // name, the prefix and every name go into the kit's.
  std::string kitName, kitPrefix, missing;
  if (!names.FromHost(name, &kitName, &missing)) {
    return Refuse(names.CannotHold("the product name", name, missing));
  }
  if (!names.FromHost(prefix, &kitPrefix, &missing)) {
    return Refuse(names.CannotHold("the entry prefix", prefix, missing));
  }
  std::vector<std::string> kitFirst;
  for (const std::string& wanted : first) {
    // A name the code page cannot hold is no file's name in the kit.
    if (!names.FromHost(wanted, &kitFirst.emplace_back())) {
      return Refuse("--first names no file of the setup folder: " + wanted);
    }
  }

  std::vector<kivopack::SourceFile> found;
  if (!kivopack::CollectFiles(platform::DefaultFileSystem(), setupDir, &found, &error, names)) return Refuse(error);
  // A description written into the setup folder itself is not one of its files.
  std::error_code ec;
  std::filesystem::path written = std::filesystem::weakly_canonical(names.PathOf(output), ec);
  std::vector<wendplan::PlanFile> files;
  for (const auto& f : found) {
    if (!ec && std::filesystem::weakly_canonical(names.PathOf(f.path), ec) == written) continue;
    files.push_back(wendplan::DescribeFile(f.name, f.size));
  }

  wendplan::Plan plan;
  std::string text;
  if (!wendplan::MakePlan(std::move(files), kitFirst, !kitFirst.empty(), &plan, &error, names) ||
      !wendplan::FormatPackList(plan, kitName, kitPrefix, &text, &error, names)) {
    return Refuse(error);
  }
  if (!wendplan::WriteWhole(output, text, &error, names)) return Refuse(error);
  std::fputs(wendplan::FormatPlan(plan, name, names).c_str(), stdout);
  std::printf("wrote %s\n", output.c_str());
  return 0;
}
