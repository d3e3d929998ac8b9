// What one call of the platform layer did: success, or the Win32 error code
// of its failure. Each call returns its own, so no later call can overwrite
// the code before the caller reads it. It tests true on success, so code
// that asks `if (!files.Open(...))` reads as before.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace platform {

class [[nodiscard]] Status {
 public:
  constexpr Status() = default;
  static constexpr Status Ok() { return Status(); }
  // A failure with `code` (never error::kNone: a failure always has a code).
  static constexpr Status Failure(std::uint32_t code) {
    return Status(code == error::kNone ? error::kGeneric : code);
  }

  constexpr explicit operator bool() const { return code_ == error::kNone; }
  constexpr bool ok() const { return code_ == error::kNone; }
  // The Win32 error code; error::kNone on success.
  constexpr std::uint32_t code() const { return code_; }

 private:
  constexpr explicit Status(std::uint32_t code) : code_(code) {}
  std::uint32_t code_ = error::kNone;
};

}  // namespace platform
