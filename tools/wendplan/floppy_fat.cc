#include "tools/wendplan/floppy_fat.h"

namespace wendplan {
namespace {

// The kit's code page as the volume folds names with it. Only the fold is
// asked of it here: a plan never spells a long name.
class KitNamesFold final : public floppy::NameCodec {
 public:
  explicit KitNamesFold(const kivopack::KitNames& names) : names_(names) {}
  char16_t Wide(char c) const override { return floppy::Latin1Codec().Wide(c); }
  char Upper(char c) const override { return names_.UpperCase(c); }

 private:
  const kivopack::KitNames& names_;
};

}  // namespace

std::string FoldCase(const std::string& name, const kivopack::KitNames& names) {
  return floppy::FoldKey(name, KitNamesFold(names));
}

}  // namespace wendplan
