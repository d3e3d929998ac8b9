#include "diskmaker/resources/strings.h"

namespace wendmark {
namespace {

constexpr platform::StringEntry kEntries[] = {
#define STR(id, name, text) {id, text},
#include "diskmaker/resources/strings.inc"
#undef STR
};

constexpr platform::CompiledStringTable kTable(kEntries, sizeof kEntries / sizeof kEntries[0]);

}  // namespace

const platform::CompiledStringTable& CompiledStrings() { return kTable; }

}  // namespace wendmark
