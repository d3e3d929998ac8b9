// What a blank 1.44 MB FAT12 floppy holds, and what one file costs on it.
// Wendmark writes every file of a disk to the floppy's top level, so a disk
// is limited by its data clusters and by the root directory's fixed slots.
#pragma once

#include <cstdint>
#include <string>

namespace wendplan {

constexpr std::uint32_t kClusterBytes = 512;
constexpr std::uint32_t kFloppyClusters = 2847;
constexpr std::uint32_t kRootSlots = 224;
// One slot goes to the volume label that a formatted floppy usually carries.
constexpr std::uint32_t kUsableRootSlots = kRootSlots - 1;

// Data clusters of a file of `bytes`; an empty file takes none.
std::uint64_t ClustersOf(std::uint64_t bytes);

// True for a name that DOS could have written: upper-case 8.3 from the
// characters a short name allows. Any other name gets a long name.
bool IsPlainShortName(const std::string& name);

// Root directory slots one file takes: its short entry, plus one slot per
// 13 characters of the long name when it needs one (counted in bytes, which
// is never fewer than the UTF-16 units the long name is stored in).
std::uint32_t RootSlotsOf(const std::string& name);

// Why a name cannot stand on a FAT floppy under Windows, or "" when it can.
std::string WhyNotStorable(const std::string& name);

// The key under which FAT finds a name: compared without regard to case.
std::string FoldCase(const std::string& name);

}  // namespace wendplan
