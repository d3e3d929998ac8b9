// The kit's code page, as the Linux tools load it, for the volume's names.
#pragma once

#include "floppy/names.h"
#include "platform/posix/code_page.h"

namespace floppy {

class CodePageCodec final : public NameCodec {
 public:
  // `codePage` must outlive this object.
  explicit CodePageCodec(const platform::posix::CodePage& codePage) : codePage_(codePage) {}
  // Every code page it supports is single-byte and inside the BMP: one
  // UTF-16 unit per byte.
  char16_t Wide(char c) const override { return static_cast<char16_t>(codePage_.Character(c)); }
  const platform::name::CaseTable& Case() const override { return codePage_.Case(); }

 private:
  const platform::posix::CodePage& codePage_;
};

}  // namespace floppy
