// wendmark --image-from FOLDER IMAGE N: the plain files of FOLDER as the
// image of disk N, copied by the engine onto a fresh floppy volume in
// byte-wise order of their names, as --images copies a disk. What is already
// named IMAGE is replaced only when it is an image this program made (any
// disk's), or a blank floppy image; anything else is judged as --images
// judges the floppy in the drive, refused with the same words, and left as
// it is.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/file_system.h"
#include "tools/wendmark/image_set.h"

namespace wendmark {

// Whether `image` holds a volume the image rule writes: a 1.44 MB FAT12
// floppy labelled DISK<n> (in its boot sector) with the serial number
// 7A4D and n in four hex digits.
bool IsOwnImage(std::span<const std::uint8_t> image);

// Writes the image; returns the exit status (kExitWritten, kExitNotWritten).
// `codePage` 0 is the default, 1252. FOLDER is listed and read through
// `files`.
int WriteImageFrom(platform::FileSystem& files, const std::string& folder, const std::string& image, int number,
                   unsigned codePage, RunServices& services);

}  // namespace wendmark
