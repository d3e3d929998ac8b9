#include "tests/support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tests {

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string out = path;
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
#endif
}

namespace {

fs::path ParentFor(TempDir::Where where) {
#ifndef _WIN32
  std::error_code ec;
  if (where == TempDir::Where::kMemoryIfAny && fs::is_directory("/dev/shm", ec) &&
      access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
#else
  (void)where;
#endif
  return fs::temp_directory_path();
}

}  // namespace

TempDir::TempDir(Where where) {
  std::random_device rd;
  fs::path parent = ParentFor(where);
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = parent / ("tandrel-test-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p.string();
      while (!path_.empty() && (path_.back() == '\\' || path_.back() == '/')) path_.pop_back();
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::Join(const std::string& relative) const { return path_ + "\\" + relative; }

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot read " + path);
  // In one read: a character at a time costs the fault sweeps on real
  // files more than the code they test.
  std::string contents(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!in) throw std::runtime_error("cannot read " + path);
  return contents;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::path(NativePath(path)), ec);
}

void MakeDirs(const std::string& path) { fs::create_directories(fs::path(NativePath(path))); }

namespace {

// On a path of the host's own (no translation: a Linux name may hold a backslash).
void SetReadOnlyNative(const fs::path& path, bool readOnly) {
#ifdef _WIN32
  DWORD a = GetFileAttributesA(path.string().c_str());
  a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(path.string().c_str(), a);
#else
  std::error_code ec;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
#endif
}

}  // namespace

void SetReadOnly(const std::string& path, bool readOnly) {
  SetReadOnlyNative(fs::path(NativePath(path)), readOnly);
}

void RemoveTree(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  fs::path root(NativePath(path));
  // Read-only entries would stop the removal on Windows.
  if (fs::exists(root, ec)) {
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      SetReadOnlyNative(it->path(), false);
    }
    SetReadOnlyNative(root, false);
  }
  fs::remove_all(root, ec);
}

}  // namespace tests
