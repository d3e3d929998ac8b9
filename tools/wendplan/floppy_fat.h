// What a blank 1.44 MB FAT12 floppy holds, and what one file costs on it:
// the floppy volume's own rules, so that a plan, the copy engine's checks
// and the image that is finally written agree about every disk.
#pragma once

#include <cstdint>
#include <string>

#include "floppy/names.h"
#include "floppy/volume.h"
#include "kit/kit_names.h"

namespace wendplan {

using floppy::kClusterBytes;
using floppy::kFloppyClusters;
using floppy::kRootSlots;
using floppy::kUsableRootSlots;

inline std::uint64_t ClustersOf(std::uint64_t bytes) { return floppy::ClustersOf(bytes, kClusterBytes); }
inline std::uint32_t RootSlotsOf(const std::string& name) { return floppy::RootSlotsOf(name); }
inline bool IsPlainShortName(const std::string& name) { return floppy::IsPlainShortName(name); }
inline std::string WhyNotStorable(const std::string& name) { return floppy::WhyNotStorable(name); }

// The key under which FAT finds a name, folded as Windows folds names in
// the kit's code page ("é.txt" and "É.TXT" are one name, "ß" stays).
std::string FoldCase(const std::string& name,
                     const kivopack::KitNames& names = kivopack::KitNames::AsciiOnly());

}  // namespace wendplan
