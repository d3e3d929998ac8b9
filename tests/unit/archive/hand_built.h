// Archives laid out byte by byte, independently of the codec under test, so
// that the reader is checked against the format and not only against our
// own writer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace tests {

inline const std::string kArchiveSignature("\xFE\x81\xFF\x80\xFC\x83\xFD\x82", 8);

constexpr platform::FileTimes kEntryTimes{0x01D000000000AAAAull, 0x01D000000000BBBBull,
                                         0x01D000000000CCCCull};

struct HandBuiltEntry {
  HandBuiltEntry(std::string n, std::string d, platform::FileTimes t = kEntryTimes,
                 std::uint32_t a = 0x20)
      : name(std::move(n)), data(std::move(d)), times(t), attributes(a) {}
  std::string name;
  std::string data;
  platform::FileTimes times;
  std::uint32_t attributes;
  std::string nameField;  // when set: the raw 260-byte name field
};

inline void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void Put64(std::string& s, std::size_t at, std::uint64_t v) {
  Put32(s, at, static_cast<std::uint32_t>(v));
  Put32(s, at + 4, static_cast<std::uint32_t>(v >> 32));
}
inline std::uint32_t Get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

// The fold as the format defines it, one byte at a time.
inline std::uint32_t FoldBytes(const std::string& bytes, std::size_t from = 0,
                               bool signedBytes = true) {
  std::uint32_t x = 0;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    std::uint32_t b = signedBytes
                          ? static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(bytes[i])))
                          : static_cast<unsigned char>(bytes[i]);
    x = ((x << 1) | (x >> 31)) ^ b;
  }
  return x;
}

struct HandBuiltOptions {
  HandBuiltOptions() = default;
  HandBuiltOptions(std::string i, std::string p) : image(std::move(i)), program(std::move(p)) {}
  std::string image;          // bytes before the archive
  std::string program;        // header program name
  std::string programField;   // when set: the raw 264-byte field
  std::int64_t count = -1;    // -1: the number of entries
  bool unsignedChecksum = false;
};

// image + header + table + data, with the size and checksum filled in.
inline std::string BuildArchive(const std::vector<HandBuiltEntry>& entries,
                                const HandBuiltOptions& o = {}) {
  std::string header(800, '\0');
  header.replace(0, 8, kArchiveSignature);
  Put32(header, 12, o.count >= 0 ? static_cast<std::uint32_t>(o.count)
                                 : static_cast<std::uint32_t>(entries.size()));
  if (!o.programField.empty()) {
    header.replace(16, 264, o.programField.substr(0, 264));
  } else {
    header.replace(16, o.program.size(), o.program);
  }
  std::string table, data;
  for (const HandBuiltEntry& e : entries) {
    std::string r(308, '\0');
    if (!e.nameField.empty()) {
      r.replace(0, 260, e.nameField.substr(0, 260));
    } else {
      r.replace(0, e.name.size(), e.name);
    }
    Put32(r, 260, static_cast<std::uint32_t>(e.data.size()));
    Put64(r, 268, e.times.creation);
    Put64(r, 276, e.times.lastAccess);
    Put64(r, 284, e.times.lastWrite);
    Put32(r, 292, e.attributes);
    Put32(r, 300, static_cast<std::uint32_t>(e.data.size()));
    table += r;
    data += e.data;
  }
  std::string body = table + data;
  Put32(header, 280, static_cast<std::uint32_t>(o.image.size() + 800 + body.size()));
  Put32(header, 284, FoldBytes(body, 0, !o.unsignedChecksum));
  return o.image + header + body;
}

// Recomputes the size and checksum of an archive at `offset` after a test
// changed it, so that only the change itself is under test.
inline void ResealArchive(std::string& file, std::size_t offset = 0) {
  Put32(file, offset + 280, static_cast<std::uint32_t>(file.size()));
  Put32(file, offset + 284, FoldBytes(file, offset + 800));
}

}  // namespace tests
