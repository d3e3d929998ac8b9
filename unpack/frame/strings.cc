#include "unpack/frame/strings.h"

namespace kivo {
namespace {

// Every line of the table carries the number the engine uses for it.
#define STR(id, name, text) static_assert(name == id, #name);
#include "unpack/frame/strings.inc"
#undef STR

constexpr platform::StringEntry kEntries[] = {
#define STR(id, name, text) {id, text},
#include "unpack/frame/strings.inc"
#undef STR
};

constexpr platform::CompiledStringTable kTable(kEntries, sizeof kEntries / sizeof kEntries[0]);

}  // namespace

const platform::CompiledStringTable& CompiledStrings() { return kTable; }

}  // namespace kivo
