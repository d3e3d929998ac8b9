// KivoUnpack's string table, addressed by the engine's message numbers.
#pragma once

#include "platform/string_table.h"
#include "unpack/engine/message_ids.h"

namespace kivo {

// The texts compiled in; on Windows the same texts are in the STRINGTABLE.
const platform::CompiledStringTable& CompiledStrings();

}  // namespace kivo
