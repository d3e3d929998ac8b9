// The first sector of a floppy: the jump, the parameter block that gives
// its layout, the label and serial number, our boot code and the 55 AA
// signature.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "floppy/volume.h"

namespace floppy {

// Writes the 512 bytes at `sector`.
void WriteBootSector(const Geometry& geometry, std::uint32_t serial, const std::string& label,
                     std::uint8_t* sector);

// The layout a FAT12 volume's boot sector describes. False with a one-line
// `why` when `image` holds no FAT12 volume (or is shorter than it says).
bool ReadBootSector(std::span<const std::uint8_t> image, Geometry* geometry, std::string* why);

}  // namespace floppy
