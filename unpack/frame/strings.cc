#include "unpack/frame/strings.h"

namespace kivo {

// Every line of the table carries the number the engine uses for it.
#define STR(id, name, text) static_assert(name == id, #name);
#include "unpack/frame/strings.inc"
#undef STR

#define TANDREL_STRINGS "unpack/frame/strings.inc"
#include "platform/compiled_strings.inc"

}  // namespace kivo
