// The engine's read-ahead over the archive: whatever sizes the system's
// reads come in, the pieces asked for come out whole and in order, the
// system is asked again only when the buffer runs short, and an end or a
// failure is told apart.
#include "unpack/engine/archive_input.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/logging_file_system.h"
#include "tests/fakes/memory_file_system.h"

namespace {

using kivo::ArchiveInput;

constexpr std::uint32_t kCapacity = 32768;

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + (i >> 9)) & 0xFF);
  return s;
}

// Storage, faults and the log of what the input asked for.
struct Files {
  tests::MemoryFileSystem storage;
  tests::FaultyFileSystem faults{storage};
  tests::LoggingFileSystem log{faults};
};

class Input : public ::testing::Test {
 protected:
  // Reads `bytes` from offset `at`, as the engine reads from the table on.
  // A fresh file system each time, so that its log holds this file's reads.
  void Open(const std::string& bytes, std::uint32_t at = 0, std::uint32_t readLimit = 0) {
    bytes_ = bytes;
    file_ = platform::File();  // closed through the file system it came from
    fs_ = std::make_unique<Files>();
    fs_->faults.SetReadLimit(readLimit);
    fs_->storage.AddFile("C:\\a.exe", bytes);
    ASSERT_TRUE(file_.Open(fs_->log, "C:\\a.exe", platform::OpenMode::kReadShared));
    ASSERT_TRUE(file_.Seek(at));
    input_.Start(&file_, buffer_.data(), kCapacity);
  }
  std::string Take(std::uint32_t count) {
    const std::uint8_t* p = nullptr;
    EXPECT_EQ(input_.Peek(count, &p), ArchiveInput::kReady) << count;
    if (p == nullptr) return {};
    std::string s(reinterpret_cast<const char*>(p), count);
    input_.Consume(count);
    return s;
  }
  int Reads() const {
    int n = 0;
    for (const std::string& line : fs_->log.Log()) n += line.rfind("Read ", 0) == 0;
    return n;
  }

  std::unique_ptr<Files> fs_;
  platform::File file_;
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kCapacity);
  ArchiveInput input_;
  std::string bytes_;
};

TEST_F(Input, PiecesComeOutWholeAndInOrderWhateverTheReadsReturn) {
  // Records, small files, nothing, whole blocks and odd remainders, so that
  // pieces straddle the end of the buffer at every kind of offset.
  const std::uint32_t pieces[] = {308, 308, 308, 5, 0, 32768, 1, 4096, 32768, 32767, 17, 308, 20000};
  std::size_t total = 0;
  for (std::uint32_t n : pieces) total += n;
  for (std::uint32_t limit : {0u, 1u, 307u, 308u, 4096u, 32767u}) {
    SCOPED_TRACE("reads of at most " + std::to_string(limit));
    Open(std::string(800, 'H') + Pattern(total), 800, limit);
    std::size_t at = 800;
    for (std::uint32_t n : pieces) {
      ASSERT_EQ(Take(n), bytes_.substr(at, n)) << "piece at " << at;
      at += n;
    }
  }
}

TEST_F(Input, ManySmallPiecesCostOneReadPerBufferful) {
  // The table of 200 entries and 100 small files: about 70 KiB.
  std::string bytes = Pattern(200 * 308 + 100 * 100);
  Open(bytes);
  for (int i = 0; i < 200; ++i) Take(308);
  for (int i = 0; i < 100; ++i) Take(100);
  EXPECT_LE(Reads(), 3);
}

TEST_F(Input, SkippingWorksInsideTheBufferAndBeyondIt) {
  Open(Pattern(200000));
  EXPECT_EQ(Take(10), bytes_.substr(0, 10));
  ASSERT_TRUE(input_.Skip(20));  // already read
  EXPECT_EQ(Take(10), bytes_.substr(30, 10));
  ASSERT_TRUE(input_.Skip(100000));  // mostly not read yet
  EXPECT_EQ(Take(10), bytes_.substr(100040, 10));
  ASSERT_TRUE(input_.Skip(32768 - 10));  // exactly what the buffer still holds
  EXPECT_EQ(Take(32768), bytes_.substr(100040 + 32768, 32768));
}

TEST_F(Input, AnEndAndAFailedReadAreToldApart) {
  Open(Pattern(500));
  EXPECT_EQ(Take(400), bytes_.substr(0, 400));
  const std::uint8_t* p = nullptr;
  EXPECT_EQ(input_.Peek(101, &p), ArchiveInput::kEnded);
  EXPECT_EQ(Take(100), bytes_.substr(400, 100)) << "what was there is still there";

  Open(Pattern(70000));
  EXPECT_EQ(Take(32768), bytes_.substr(0, 32768));
  fs_->faults.SetFault({.at = 1, .code = platform::error::kSharingViolation,
                        .kinds = static_cast<std::uint32_t>(tests::Op::kRead)});
  EXPECT_EQ(input_.Peek(1, &p), ArchiveInput::kFailed);
  EXPECT_EQ(input_.failure().code(), platform::error::kSharingViolation);
}

}  // namespace
