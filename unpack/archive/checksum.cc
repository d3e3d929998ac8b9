#include "unpack/archive/checksum.h"

namespace kivo {
namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "lanes are read as little-endian words");

std::uint32_t RotateLeft(std::uint32_t x, std::uint32_t n) {
  n &= 31;
  return n == 0 ? x : (x << n) | (x >> (32 - n));
}

std::uint32_t SignExtend(std::uint8_t b) {
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(b)));
}

}  // namespace

// Folding byte by byte is a serial chain of two operations per byte, several
// times slower than reading the file. The fold is linear over GF(2), and so
// is the sign extension, so the result of folding n bytes is
//   rotl(x, n) ^ XOR over i of rotl(s(b[i]), n - 1 - i),
// where the rotation depends only on i mod 32. XORing the bytes of each of
// the 32 positions first (plain wide XORs) and folding the 32 sums at the end
// gives the same value at the speed of memory.
void ArchiveChecksum::Update(const void* data, std::uint32_t size) {
  if (size == 0) return;
  const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
  std::uint64_t lane[4] = {0, 0, 0, 0};
  std::uint32_t i = 0;
  for (; i + 32 <= size; i += 32) {
    std::uint64_t w[4];
    __builtin_memcpy(w, p + i, 32);
    lane[0] ^= w[0];
    lane[1] ^= w[1];
    lane[2] ^= w[2];
    lane[3] ^= w[3];
  }
  std::uint8_t sums[32];
  __builtin_memcpy(sums, lane, 32);
  for (std::uint32_t k = 0; i < size; ++i, ++k) sums[k] ^= p[i];

  std::uint32_t x = RotateLeft(x_, size);
  for (std::uint32_t k = 0; k < 32; ++k) {
    if (sums[k] != 0) x ^= RotateLeft(SignExtend(sums[k]), size - 1 - k);
  }
  x_ = x;
}

}  // namespace kivo
