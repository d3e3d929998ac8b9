// The copy engine's fault sweep, on whatever files a site gives it: fail
// operation N, once and then for good, for every N a two-file disk reaches.
// Whatever fails, every handle is closed, a file on the floppy is either
// complete or absent (nothing partial under its name, nothing else beside
// it), the source files are as they were, and exactly one problem is shown
// before Abort.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "tests/unit/builder/builder_world.h"

namespace tests {

// Where a sweep's files live: in a world's memory, or on real folders.
class CopySite {
 public:
  virtual ~CopySite() = default;
  // A fresh world whose disk images are `images` (by name) and whose floppy is empty.
  virtual std::unique_ptr<BuilderWorld> NewRun(const std::map<std::string, std::string>& images) = 0;
  // The files on the floppy, by name.
  virtual std::map<std::string, std::string> Floppy(BuilderWorld& w) = 0;
  virtual std::optional<std::string> Image(BuilderWorld& w, const std::string& name) = 0;
};

inline void SweepCopyFaults(CopySite& site) {
  const std::map<std::string, std::string> images{{"a.bin", Bytes(40000, 'a')}, {"b.bin", Bytes(5, 'b')}};
  for (bool persistent : {false, true}) {
    for (std::uint64_t n = 1;; ++n) {
      SCOPED_TRACE((persistent ? "persistent from " : "once at ") + std::to_string(n));
      std::unique_ptr<BuilderWorld> world = site.NewRun(images);
      BuilderWorld& w = *world;
      w.AddDisk({"a.bin", "b.bin"});
      // A delete that fails as well would leave the partial file: there is
      // nothing more the build could do then, so deletes keep working here.
      std::uint32_t kinds = persistent ? kAllOps & ~std::uint32_t(Op::kRemove) : kAllOps;
      w.faults.SetFault({.at = n, .code = 31, .persistent = persistent, .kinds = kinds});
      int code = w.RunDialog();
      std::map<std::string, std::string> floppy = site.Floppy(w);
      for (const auto& [name, data] : floppy) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(images.count(name)) << "a file the disk does not list";
        EXPECT_EQ(data, images.at(name));
      }
      for (const auto& [name, data] : images) EXPECT_EQ(site.Image(w, name), data) << name;
      EXPECT_EQ(w.faults.OpenHandleCount(), 0);
      if (!w.faults.FaultHit()) {
        EXPECT_EQ(code, wendmark::kEndWritten);
        EXPECT_EQ(floppy.size(), 2u);
        break;
      }
      // Times that fail to carry over or a source whose close complains are
      // not reported; everything else is, once, and Abort stops the build.
      ASSERT_LE(w.shown().size(), 2u);
      if (w.shown().size() == 2) {
        EXPECT_EQ(code, wendmark::kEndFailed);
      }
      ASSERT_LT(n, 200u);
    }
  }
}

}  // namespace tests
