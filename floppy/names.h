// Names on a FAT floppy as Windows 95 writes them. A name arrives in the
// kit's single-byte ANSI code page; the disk keeps a short 8.3 entry in
// plain ASCII (so every machine reads it alike, whatever its OEM code page)
// and, for every name that is not already an upper-case ASCII 8.3 name, a
// long name in UTF-16 that carries the real one.
//
// The counting functions at the end are the rules a planner needs to tell
// in advance what a disk can hold; the volume itself uses the same ones.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windows_name.h"

namespace floppy {

// What the volume needs to know about the kit's code page: the character
// each byte stands for, and its case as Windows folds names (so "é.txt" and
// "É.TXT" are one file).
class NameCodec {
 public:
  virtual char16_t Wide(char c) const = 0;
  virtual const platform::name::CaseTable& Case() const = 0;

 protected:
  ~NameCodec() = default;
};

// For callers without a code page: ASCII folded, every other byte read as
// the ISO 8859-1 character of the same number and left as it is.
const NameCodec& Latin1Codec();

// The 11 bytes of a short entry's name: base padded to 8, extension to 3.
using ShortName = std::array<char, 11>;

// "NAME.EXT" (or "NAME") from a short entry's bytes.
std::string ShortNameText(const ShortName& name);

// The checksum that ties long-name entries to their short entry.
std::uint8_t ShortNameChecksum(const ShortName& name);

// True for a name DOS could have written: upper-case 8.3 from the
// characters a short name allows, in plain ASCII. Only such a name goes on
// the disk without a long name.
bool IsPlainShortName(std::string_view name);

// The short name Windows derives from a long one, before it is made unique:
// blanks and leading dots dropped, the base cut at 8 and the extension (from
// the last dot) at 3, lower case raised, and every character a short name
// cannot hold (anything outside ASCII, "+,;=[]") turned into '_'.
// `needsTail` is set when the result is not the name itself in upper case:
// then the name gets "~1" (or the first free "~n") at the end of its base.
struct ShortBasis {
  std::string base;
  std::string extension;
  bool needsTail = false;
};
ShortBasis ShortBasisOf(std::string_view name);

// The basis with tail "~n" (n >= 1), the base cut to make room for it; with
// n == 0 the basis as it is.
ShortName ShortNameWithTail(const ShortBasis& basis, unsigned n);

// The long name as UTF-16, one unit per byte of the code page.
std::u16string LongNameOf(std::string_view name, const NameCodec& codec);

// Why a name cannot stand on a FAT floppy under Windows, or "" when it can:
// Windows's own name rules, in words.
std::string WhyNotStorable(std::string_view name);

// Root directory slots one file of this name takes: its short entry, plus
// one slot per 13 characters of the long name when it needs one.
std::uint32_t RootSlotsOf(std::string_view name);

// Data clusters a file of `bytes` takes; an empty file takes none.
std::uint64_t ClustersOf(std::uint64_t bytes, std::uint32_t clusterBytes = 512);

// The key under which FAT finds a name: each byte in its upper-case form in
// the code page. Two names with one key cannot both be on a disk.
std::string FoldKey(std::string_view name, const NameCodec& codec);
std::string FoldKey(std::string_view name, const platform::name::CaseTable& cases);

}  // namespace floppy
