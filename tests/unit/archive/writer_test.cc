// The writer's output is the format byte for byte, on the real file layer.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/archive/hand_built.h"
#include "unpack/archive/writer.h"

namespace {

TEST(ArchiveWriter, WritesTheHandBuiltBytesAfterAnImage) {
  tests::TempDir dir;
  std::string path = dir.Join("out.exe");
  std::string image(1000, 'M');
  tests::HandBuiltEntry a{"top.txt", "hello"};
  tests::HandBuiltEntry b{"sub\\dir\\big.bin", std::string(70001, '\xC3'), {5, 6, 7}, 0x20};
  tests::HandBuiltEntry c{"empty", ""};
  tests::HandBuiltOptions o;
  o.image = image;
  o.program = "sub\\run.exe";
  std::string expected = tests::BuildArchive({a, b, c}, o);

  platform::File file;
  ASSERT_TRUE(file.Open(platform::DefaultFileSystem(), path.c_str(), platform::OpenMode::kCreateAlways));
  std::uint32_t done = 0;
  ASSERT_TRUE(file.Write(image.data(), static_cast<std::uint32_t>(image.size()), &done));
  kivo::ArchiveWriter w(file, static_cast<std::uint32_t>(image.size()));
  ASSERT_TRUE(w.Start(o.program.c_str(), 3));
  for (const auto* e : {&a, &b, &c}) {
    kivo::ArchiveEntry entry;
    std::copy(e->name.begin(), e->name.end(), entry.name);
    entry.sizeLow = static_cast<std::uint32_t>(e->data.size());
    entry.times = e->times;
    entry.attributes = e->attributes;
    ASSERT_TRUE(w.AddEntry(entry));
  }
  for (const auto* e : {&a, &b, &c}) {
    ASSERT_TRUE(w.AddData(e->data.data(), static_cast<std::uint32_t>(e->data.size())));
  }
  ASSERT_TRUE(w.Finish());
  ASSERT_TRUE(file.Close());
  std::string written = tests::ReadFile(path);
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

}  // namespace
