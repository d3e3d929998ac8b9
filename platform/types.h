// Basic vocabulary shared by every service of the platform layer.
#pragma once

#include <cstdint>

namespace platform {

// 100-nanosecond intervals since 1601-01-01 UTC, as Windows keeps file times.
using FileTime = std::uint64_t;

struct FileTimes {
  FileTime creation = 0;
  FileTime lastAccess = 0;
  FileTime lastWrite = 0;
};

// Paths and profile values live in buffers of this size (259 characters and
// the terminator).
constexpr std::uint32_t kMaxPath = 260;

// Failures are classified by Win32 error codes on every platform.
namespace error {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kNotEnoughMemory = 8;
constexpr std::uint32_t kWriteProtect = 19;
constexpr std::uint32_t kNotReady = 21;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kHandleDiskFull = 39;
constexpr std::uint32_t kFileExists = 80;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kDiskFull = 112;
constexpr std::uint32_t kDirNotEmpty = 145;
constexpr std::uint32_t kPathBusy = 148;
constexpr std::uint32_t kAlreadyExists = 183;
constexpr std::uint32_t kFilenameTooLong = 206;
constexpr std::uint32_t kDirectoryName = 267;  // ERROR_DIRECTORY: not a folder
constexpr std::uint32_t kGeneric = 31;  // ERROR_GEN_FAILURE
}  // namespace error

// Windows file attribute bits.
namespace attr {
enum : std::uint32_t { kReadOnly = 0x01, kHidden = 0x02, kDirectory = 0x10, kArchive = 0x20, kNormal = 0x80 };
}  // namespace attr

}  // namespace platform
