#include "unpack/archive/format.h"

#include "platform/text.h"

namespace kivo {
namespace {

std::uint64_t LoadLe64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(LoadLe32(p)) |
         (static_cast<std::uint64_t>(LoadLe32(p + 4)) << 32);
}

}  // namespace

std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void StoreLe32(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
  p[2] = static_cast<std::uint8_t>(value >> 16);
  p[3] = static_cast<std::uint8_t>(value >> 24);
}

void DecodeHeader(const std::uint8_t* bytes, ArchiveHeader* header) {
  header->signatureLow = LoadLe32(bytes);
  header->signatureHigh = LoadLe32(bytes + 4);
  header->count = LoadLe32(bytes + 12);
  platform::MemoryCopy(header->programName, bytes + 16, kProgramField);
  header->totalSize = LoadLe32(bytes + 280);
  header->checksum = LoadLe32(bytes + 284);
}

void DecodeEntry(const std::uint8_t* bytes, ArchiveEntry* entry) {
  platform::MemoryCopy(entry->name, bytes, kNameField);
  entry->sizeLow = LoadLe32(bytes + 260);
  entry->sizeHigh = LoadLe32(bytes + 264);
  entry->times.creation = LoadLe64(bytes + 268);
  entry->times.lastAccess = LoadLe64(bytes + 276);
  entry->times.lastWrite = LoadLe64(bytes + 284);
  entry->attributes = LoadLe32(bytes + 292);
}

EntryRecord ToRecord(const ArchiveEntry& entry) {
  EntryRecord record;
  record.attributes = entry.attributes;
  record.creation = entry.times.creation;
  record.lastAccess = entry.times.lastAccess;
  record.lastWrite = entry.times.lastWrite;
  record.sizeHigh = entry.sizeHigh;
  record.sizeLow = entry.sizeLow;
  std::uint32_t n = 0;
  while (n + 1 < kNameField && entry.name[n] != '\0') {
    record.name[n] = entry.name[n];
    ++n;
  }
  record.name[n] = '\0';
  return record;
}

bool HasTerminator(const char* field, std::uint32_t size) {
  for (std::uint32_t i = 0; i < size; ++i) {
    if (field[i] == '\0') return true;
  }
  return false;
}

}  // namespace kivo
