// The numbers of the texts the extractor shows. The texts themselves belong
// to the program around the engine (a STRINGTABLE on Windows, a compiled
// table elsewhere), which checks that its table uses these same numbers.
#pragma once

#include <cstdint>

namespace kivo {

enum MessageId : std::uint32_t {
  IDS_CANNOT_OPEN = 1,
  IDS_NO_ARCHIVE = 2,
  IDS_CAPTION = 3,
  IDS_NO_OWN_NAME = 4,
  IDS_CORRUPT = 5,
  IDS_NO_MEMORY = 6,
  IDS_ACCESS_ERROR = 7,
  IDS_DISK_FULL = 8,
  IDS_CANNOT_START = 9,
  IDS_NO_FILES = 10,
  IDS_USER_ABORT = 11,
  IDS_OVERWRITE_QUESTION = 12,
  IDS_EXTRACTING = 13,
  IDS_CANNOT_WRITE = 14,
  IDS_FILE_IN_WAY = 15,
  IDS_DIR_READ_ONLY = 16,
  IDS_DIR_FAILED = 17,
  IDS_DIR_DISK_FULL = 18,
  IDS_PATH_UNUSABLE = 19,
};

}  // namespace kivo
