#include "tools/wendplan/floppy_fat.h"

namespace wendplan {

std::string FoldCase(const std::string& name, const kivopack::KitNames& names) {
  return floppy::FoldKey(name, names.Case());
}

}  // namespace wendplan
