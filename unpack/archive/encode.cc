// Encoding, kept apart from decoding so that a program that only reads
// archives (the extractor) does not carry the writer's code.
#include "unpack/archive/format.h"

#include "platform/text.h"

namespace kivo {
namespace {

void StoreLe64(std::uint8_t* p, std::uint64_t value) {
  StoreLe32(p, static_cast<std::uint32_t>(value));
  StoreLe32(p + 4, static_cast<std::uint32_t>(value >> 32));
}

// Copies a text into a fixed field: the text up to its NUL (cut so that a NUL
// still fits), then zeros to the field's end.
void StoreText(std::uint8_t* field, std::uint32_t size, const char* text) {
  platform::MemoryFill(field, 0, size);
  std::uint32_t n = 0;
  while (n + 1 < size && text[n] != '\0') {
    field[n] = static_cast<std::uint8_t>(text[n]);
    ++n;
  }
}

}  // namespace

void EncodeHeader(const ArchiveHeader& header, std::uint8_t* bytes) {
  platform::MemoryFill(bytes, 0, kHeaderSize);
  StoreLe32(bytes, OpaqueWord(kSignatureLow));
  StoreLe32(bytes + 4, OpaqueWord(kSignatureHigh));
  StoreLe32(bytes + 12, header.count);
  StoreText(bytes + 16, kProgramField, header.programName);
  StoreLe32(bytes + 280, header.totalSize);
  StoreLe32(bytes + 284, header.checksum);
}

void EncodeEntry(const ArchiveEntry& entry, std::uint8_t* bytes) {
  platform::MemoryFill(bytes, 0, kEntrySize);
  StoreText(bytes, kNameField, entry.name);
  StoreLe32(bytes + 260, entry.sizeLow);
  StoreLe32(bytes + 264, entry.sizeHigh);
  StoreLe64(bytes + 268, entry.times.creation);
  StoreLe64(bytes + 276, entry.times.lastAccess);
  StoreLe64(bytes + 284, entry.times.lastWrite);
  StoreLe32(bytes + 292, entry.attributes);
  StoreLe32(bytes + 300, entry.sizeLow);
}

}  // namespace kivo
