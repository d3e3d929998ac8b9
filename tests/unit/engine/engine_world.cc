#include "tests/unit/engine/engine_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace tests {

namespace fs = std::filesystem;

void RealEngineWorld::Put(const std::string& path, const std::string& data) {
  std::string native = tests::NativePath(path);
  fs::create_directories(fs::path(native).parent_path());
  tests::WriteFile(path, data);
}

std::optional<std::string> RealEngineWorld::Get(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(tests::NativePath(path)), ec)) return std::nullopt;
  return tests::ReadFile(path);
}

bool RealEngineWorld::IsDir(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::path(tests::NativePath(path)), ec);
}

std::vector<std::string> RealEngineWorld::Files() {
  std::vector<std::string> out;
  fs::path root(tests::NativePath(Root()));
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_regular_file()) continue;
    std::string rel = fs::relative(it->path(), root).string();
    std::replace(rel.begin(), rel.end(), '/', '\\');
    out.push_back(rel);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::unique_ptr<EngineWorld> MakeWorld(const std::string& kind) {
  if (kind == "Fake") return std::make_unique<MemoryEngineWorld>();
  return std::make_unique<RealEngineWorld>();
}

std::string OnlyMessage(const Session& run) {
  EXPECT_EQ(run.boxes.shown.size(), 1u);
  if (run.boxes.shown.size() != 1) {
    for (const auto& m : run.boxes.shown) ADD_FAILURE() << "shown: " << m.text;
    return "";
  }
  const tests::ShownMessage& m = run.boxes.shown[0];
  EXPECT_EQ(m.caption, "Tandrel");
  EXPECT_EQ(m.style, 0x30u) << "OK button, warning icon";
  return m.text;
}

}  // namespace tests
