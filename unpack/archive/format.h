// The appended archive, byte for byte: an 800-byte header, one 308-byte
// record per file, then the files' bytes in record order. Everything is
// little-endian and decoded field by field, so the host's struct layout
// never matters.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace kivo {

// The signature is only ever held as these two words, compared one after the
// other: the eight bytes in sequence must not occur in the extractor's own
// program image, or the search would stop inside it. Enumerators have no
// storage, so not even an unoptimised build lays the two words side by side.
enum SignatureWord : std::uint32_t {
  kSignatureLow = 0x80FF81FEu,
  kSignatureHigh = 0x82FD83FCu,
};

constexpr std::uint32_t kHeaderSize = 800;
constexpr std::uint32_t kEntrySize = 308;
constexpr std::uint32_t kNameField = 260;
constexpr std::uint32_t kProgramField = 264;
constexpr std::uint32_t kCopyBlock = 32768;

struct ArchiveHeader {
  std::uint32_t signatureLow = 0;
  std::uint32_t signatureHigh = 0;
  std::uint32_t count = 0;
  char programName[kProgramField] = {};  // raw field: may lack a terminator
  std::uint32_t totalSize = 0;
  std::uint32_t checksum = 0;
};

struct ArchiveEntry {
  char name[kNameField] = {};  // raw field: may lack a terminator
  std::uint32_t sizeLow = 0;
  std::uint32_t sizeHigh = 0;
  platform::FileTimes times;
  std::uint32_t attributes = 0;
};

// One decoded entry, laid out like WIN32_FIND_DATAA without its short name.
struct EntryRecord {
  std::uint32_t attributes = 0;
  platform::FileTime creation = 0;
  platform::FileTime lastAccess = 0;
  platform::FileTime lastWrite = 0;
  std::uint32_t sizeHigh = 0;
  std::uint32_t sizeLow = 0;
  std::uint32_t reserved0 = 0;
  std::uint32_t reserved1 = 0;
  char name[kNameField] = {};
};

// The signature word, hidden from the optimiser: two constant stores or
// compares next to each other may otherwise be merged into one 64-bit
// constant, which puts the eight bytes in sequence into the program.
inline std::uint32_t OpaqueWord(std::uint32_t word) {
  __asm__("" : "+r"(word));
  return word;
}

std::uint32_t LoadLe32(const std::uint8_t* p);
void StoreLe32(std::uint8_t* p, std::uint32_t value);

void DecodeHeader(const std::uint8_t* bytes, ArchiveHeader* header);
// Writes all 800 bytes: the signature, count, program name (NUL-padded),
// size and checksum, zeros everywhere else.
void EncodeHeader(const ArchiveHeader& header, std::uint8_t* bytes);

void DecodeEntry(const std::uint8_t* bytes, ArchiveEntry* entry);
// Writes all 308 bytes: the name NUL-padded, the size at 260 and again at
// 300, the high size, the three times, the attributes, zeros elsewhere.
void EncodeEntry(const ArchiveEntry& entry, std::uint8_t* bytes);

EntryRecord ToRecord(const ArchiveEntry& entry);

// True when a NUL lies inside the field.
bool HasTerminator(const char* field, std::uint32_t size);

// True for a name that Windows stores as a plain file of exactly that name
// below the folder it is extracted into: every backslash-separated component
// passes Windows's name rules (platform/windows_name.h). So an empty name, a
// leading separator (absolute, UNC and "\\?\" names), empty, "." and ".."
// components, a component that ends in a dot or a blank (Windows drops them,
// so "a." would be "a" and ".. " would be "..") or begins with a blank, one
// longer than 255 characters, the characters Windows does not allow in names
// (below 0x20, < > : " | ? * and the forward slash, which also separates, so
// a colon can neither name a drive nor a stream), and a reserved device name
// (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, CLOCK$, with or
// without an extension) as any component are refused.
bool IsAcceptableEntryName(const char* name);

}  // namespace kivo
