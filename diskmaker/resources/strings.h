// Wendmark's string table, addressed by number.
#pragma once

#include <cstdint>

#include "platform/string_table.h"

namespace wendmark {

enum StringId : std::uint32_t {
#define STR(id, name, text) name = id,
#include "diskmaker/resources/strings.inc"
#undef STR
};

// The texts compiled in; on Windows the same texts are in the STRINGTABLE.
const platform::CompiledStringTable& CompiledStrings();

}  // namespace wendmark
