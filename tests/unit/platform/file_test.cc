// The file owner the logic holds: it closes what it owns exactly once, hands
// a file over on a move, and every call reports its own result, which a
// later failure cannot overwrite.
#include "platform/file.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/memory_file_system.h"

namespace {

using platform::File;
using platform::OpenMode;
namespace error = platform::error;

struct Files {
  tests::MemoryFileSystem storage;
  tests::FaultyFileSystem faults{storage};
};

TEST(File, ClosesWhatItOwnsOnceAndHandsItOverOnAMove) {
  Files fs;
  fs.storage.AddFile("C:\\a.txt", "abc");
  {
    File a;
    ASSERT_TRUE(a.Open(fs.faults, "C:\\a.txt", OpenMode::kReadShared));
    File b = std::move(a);
    EXPECT_FALSE(a.is_open());
    EXPECT_TRUE(b.is_open());
    File c;
    ASSERT_TRUE(c.Open(fs.faults, "C:\\a.txt", OpenMode::kReadShared));
    c = std::move(b);  // what c held is closed first
    EXPECT_EQ(fs.faults.OpenHandleCount(), 1);
    char buffer[4] = {};
    std::uint32_t got = 0;
    ASSERT_TRUE(c.Read(buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 3u);
    // Opening again closes the file held before.
    ASSERT_TRUE(c.Open(fs.faults, "C:\\a.txt", OpenMode::kReadShared));
    EXPECT_EQ(fs.faults.OpenHandleCount(), 1);
  }
  EXPECT_EQ(fs.faults.OpenHandleCount(), 0) << "closed when its owner went";
  EXPECT_EQ(fs.faults.OperationCount(tests::Op::kClose), 3u) << "each handle closed once";
}

TEST(File, EveryCallReportsItsOwnResultAndCloseReportsTheClose) {
  Files fs;
  File missing;
  platform::Status opened = missing.Open(fs.faults, "C:\\none\\x.txt", OpenMode::kReadShared);
  EXPECT_FALSE(opened);
  EXPECT_EQ(opened.code(), error::kPathNotFound);
  EXPECT_FALSE(missing.is_open());
  EXPECT_TRUE(missing.Close()) << "nothing to close";

  fs.storage.AddDirectory("C:\\out");
  File out;
  ASSERT_TRUE(out.Open(fs.faults, "C:\\out\\new.txt", OpenMode::kCreateAlways));
  fs.faults.SetFault({.at = 1, .code = error::kDiskFull, .kinds = std::uint32_t(tests::Op::kWrite)});
  std::uint32_t put = 0;
  platform::Status written = out.Write("data", 4, &put);
  // A later failure of another kind leaves the earlier result as it was.
  fs.faults.SetFault({.at = 1, .code = error::kAccessDenied, .kinds = std::uint32_t(tests::Op::kClose)});
  platform::Status closed = out.Close();
  EXPECT_EQ(written.code(), error::kDiskFull);
  EXPECT_EQ(closed.code(), error::kAccessDenied);
  EXPECT_FALSE(out.is_open()) << "closed whatever the close said";
  EXPECT_EQ(fs.faults.OpenHandleCount(), 0);
  EXPECT_TRUE(out.Close()) << "and never closed twice";
}

}  // namespace
