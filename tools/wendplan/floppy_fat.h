// What a blank 1.44 MB FAT12 floppy holds, and what one file costs on it.
// Wendmark writes every file of a disk to the floppy's top level, so a disk
// is limited by its data clusters and by the root directory's fixed slots.
#pragma once

#include <cstdint>
#include <string>

#include "tools/kivopack/kit_names.h"

namespace wendplan {

constexpr std::uint32_t kClusterBytes = 512;
constexpr std::uint32_t kFloppyClusters = 2847;
constexpr std::uint32_t kRootSlots = 224;
// One slot goes to the volume label that a formatted floppy usually carries.
constexpr std::uint32_t kUsableRootSlots = kRootSlots - 1;

// Data clusters of a file of `bytes`; an empty file takes none.
std::uint64_t ClustersOf(std::uint64_t bytes);

// True for a name that DOS could have written: upper-case 8.3 from the
// characters a short name allows. Any other name gets a long name, and so
// does every name with a letter outside ASCII: the short name would be in
// the OEM code page, which Windows fills from the long one.
bool IsPlainShortName(const std::string& name);

// Root directory slots one file takes: its short entry, plus one slot per
// 13 characters of the long name when it needs one. The name is in the
// kit's single-byte code page, whose every character is one UTF-16 unit of
// the long name.
std::uint32_t RootSlotsOf(const std::string& name);

// Why a name cannot stand on a FAT floppy under Windows, or "" when it can.
std::string WhyNotStorable(const std::string& name);

// The key under which FAT finds a name: compared without regard to case,
// upper-cased the way Windows does it in the kit's code page ("é.txt" and
// "É.TXT" are one name, "ß" stays as it is).
std::string FoldCase(const std::string& name,
                     const kivopack::KitNames& names = kivopack::KitNames::AsciiOnly());

}  // namespace wendplan
