// wendmark --image-from FOLDER IMAGE N: the plain files of FOLDER as the
// image of disk N. What is already named IMAGE is replaced only when it is
// an image this program made (any disk's), or a blank floppy image; anything
// else is judged as --images judges the floppy in the drive, refused with
// the same words, and left as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/wendmark/image_set.h"

namespace wendmark {

// Whether the first sector of an image of `imageBytes` bytes is one that
// the image rule writes: a 1.44 MB FAT12 volume labelled DISK<n> with the
// serial number 7A4D and n in four hex digits (images::VolumeSerial).
bool IsOwnBootSector(const unsigned char* sector, std::size_t length, std::uint64_t imageBytes);

// IsOwnBootSector of the file `image`; false when it cannot be read.
bool IsOwnImage(const std::string& image);

// Writes the image; returns the exit status (kExitWritten, kExitNotWritten).
int WriteImageFrom(const std::string& folder, const std::string& image, int number, RunServices& services);

}  // namespace wendmark
