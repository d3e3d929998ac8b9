// The archive's checksum: every byte after the header folded into a 32-bit
// value, x = rotl(x, 1) ^ (the byte sign-extended to 32 bits).
#pragma once

#include <cstdint>

namespace kivo {

// Folds bytes in any number of pieces; the result does not depend on how
// the stream was split.
class ArchiveChecksum {
 public:
  void Update(const void* data, std::uint32_t size);
  std::uint32_t value() const { return x_; }

 private:
  std::uint32_t x_ = 0;
};

}  // namespace kivo
