#include "diskmaker/resources/strings.h"

namespace wendmark {

#define TANDREL_STRINGS "diskmaker/resources/strings.inc"
#include "platform/compiled_strings.inc"

}  // namespace wendmark
