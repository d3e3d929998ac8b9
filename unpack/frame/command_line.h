// KivoUnpack's command line: -dPATH names the target folder, -fPATH the
// archive file; a quoted argument ("-d"C:\My Files"") may hold blanks.
#pragma once

#include "unpack/engine/extractor.h"

namespace kivo {

// Fills the options named on the line and leaves the others as they are.
// Always succeeds: text that is not an option is passed over, unknown
// letters are read with their argument and ignored, an argument is cut to
// 259 characters.
void ParseCommandLine(const char* line, ExtractOptions* options);

// Makes a relative target folder absolute against `currentDirectory`, so
// that folders and files of the extraction resolve to the same place.
void MakeTargetAbsolute(ExtractOptions* options, const char* currentDirectory);

}  // namespace kivo
