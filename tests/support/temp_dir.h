// Real temporary folders for tests of the platform layer and of logic on
// real files. Paths are handed out in the system's own form (backslashes),
// which the file layer under test must accept.
#pragma once

#include <string>

namespace tests {

class TempDir {
 public:
  enum class Where {
    kTemporary,  // the system's folder for temporary files
    // A memory-backed folder (/dev/shm) where the system has one: for tests
    // that make and remove files by the hundred, which cost little there
    // while other work keeps the disk busy. The file layer is the same.
    kMemoryIfAny,
  };
  explicit TempDir(Where where = Where::kTemporary);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + "\" + relative (relative may itself hold backslashes).
  std::string Join(const std::string& relative) const;

 private:
  std::string path_;
};

// Test-side file access that does not go through the code under test.
void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeDirs(const std::string& path);
void RemoveTree(const std::string& path);
void SetReadOnly(const std::string& path, bool readOnly);

// The system's own form of a native path, and back.
std::string NativePath(const std::string& path);

}  // namespace tests
