// KivoUnpack's string table, addressed by number.
#pragma once

#include <cstdint>

#include "platform/string_table.h"

namespace kivo {

enum StringId : std::uint32_t {
#define STR(id, name, text) name = id,
#include "unpack/frame/strings.inc"
#undef STR
};

// The texts compiled in; on Windows the same texts are in the STRINGTABLE.
const platform::CompiledStringTable& CompiledStrings();

}  // namespace kivo
