// On Windows names are the system's: the file system hands out UTF-16,
// and the platform's file layer and the programs that read a kit take the
// system's ANSI code page. The C++ library's narrow paths are UTF-8 there,
// so every path crosses through the system's own conversions instead.
#include "kit/kit_names.h"

#include <windows.h>

namespace kivopack {
namespace {

// False when a character has no byte in the ANSI code page: Windows would
// put a look-alike or '?' in its place, and the file could not be found by
// that name again.
bool ToAnsi(const std::wstring& wide, std::string* ansi) {
  ansi->clear();
  if (wide.empty()) return true;
  int n = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  int size = WideCharToMultiByte(CP_ACP, flags, wide.data(), n, nullptr, 0, nullptr, &usedDefault);
  if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
    // Systems before Windows 2000 have no such flag.
    flags = 0;
    size = WideCharToMultiByte(CP_ACP, flags, wide.data(), n, nullptr, 0, nullptr, &usedDefault);
  }
  if (size <= 0) return false;
  ansi->resize(static_cast<std::size_t>(size));
  usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, flags, wide.data(), n, ansi->data(), size, nullptr, &usedDefault);
  return !usedDefault;
}

std::wstring ToWide(const std::string& ansi) {
  if (ansi.empty()) return {};
  int n = static_cast<int>(ansi.size());
  int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, wide.data(), size);
  return wide;
}

}  // namespace

bool KitNames::Load(unsigned number, std::string* error) {
  unsigned system = GetACP();
  if (number != 0 && number != system) {
    *error = "names on Windows are in the system's code page, " + std::to_string(system) +
             ", not " + std::to_string(number);
    return false;
  }
  number_ = system;
  // Windows's own case for the system's code page, asked once per byte.
  for (unsigned b = 1; b < 256; ++b) {
    char one[2] = {static_cast<char>(b), '\0'};
    CharUpperBuffA(one, 1);
    case_.Pair(static_cast<char>(b), one[0]);
  }
  return true;
}

unsigned KitNames::codePage() const { return number_; }

bool KitNames::FromHost(const std::string& host, std::string* kit, std::string* missing) const {
  if (missing != nullptr) missing->clear();
  if (number_ == 0) {
    for (unsigned char c : host)
      if (c >= 0x80) return false;
  }
  *kit = host;  // arguments arrive in the ANSI code page already
  return true;
}

bool KitNames::NameOf(const std::string& found, std::string* kit, std::string* missing) const {
  if (missing != nullptr) missing->clear();
  // The listing names files in the ANSI code page, with '?' (which no name
  // may hold) for each character the code page lacks.
  if (found.find('?') != std::string::npos) return false;
  return FromHost(found, kit);
}

std::string KitNames::SystemPath(const std::filesystem::path& path) const {
  std::string ansi;
  ToAnsi(path.wstring(), &ansi);
  return ansi;
}

std::filesystem::path KitNames::PathOf(const std::string& argument) const { return ToWide(argument); }

std::string KitNames::ToHost(const std::string& kit) const { return kit; }

std::string KitNames::HostPath(const std::string& kit) const { return kit; }

const platform::name::CaseTable& KitNames::Case() const { return case_; }

}  // namespace kivopack
