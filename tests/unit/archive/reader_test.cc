// Finding the signature, validating, and the codec at its exact offsets.
#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/faulty_file_system.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/unit/archive/hand_built.h"
#include "unpack/archive/format.h"
#include "unpack/archive/reader.h"

namespace {

using tests::BuildArchive;
using tests::HandBuiltEntry;

class ArchiveFile : public ::testing::Test {
 protected:
  // `bytes` as a file opened through `files` (the layer with short reads by default).
  platform::File OpenWith(const std::string& bytes) { return OpenWith(bytes, fs_); }
  platform::File OpenWith(const std::string& bytes, platform::FileSystem& files) {
    disk_.AddFile("C:\\a.exe", bytes);
    platform::File file;
    EXPECT_TRUE(file.Open(files, "C:\\a.exe", platform::OpenMode::kReadShared));
    return file;
  }
  static std::uint32_t Position(platform::File& file) {
    std::uint32_t at = 0xFFFFFFFF;
    EXPECT_TRUE(file.Tell(&at));
    return at;
  }
  bool Valid(const std::string& bytes, std::uint32_t offset = 0) {
    platform::File file = OpenWith(bytes, disk_);
    return kivo::ValidateArchive(file, offset);
  }
  tests::MemoryFileSystem disk_;
  tests::FaultyFileSystem fs_{disk_};  // short reads when a test asks for them
};

TEST_F(ArchiveFile, SignatureIsFoundAtItsExactOffsetWhereverItStarts) {
  for (std::uint32_t at : {0u, 1u, 7u, 24u, 25u, 30u, 31u, 32u, 33u, 63u, 64u, 100u, 1000u}) {
    SCOPED_TRACE(at);
    std::string bytes(at, 'x');
    bytes += tests::kArchiveSignature + std::string(10, 'y');
    platform::File file = OpenWith(bytes, disk_);
    ASSERT_TRUE(kivo::FindArchiveStart(file));
    EXPECT_EQ(Position(file), at);
  }
}

TEST_F(ArchiveFile, SignatureSearchTakesTheFirstOfTwoAndSurvivesShortReads) {
  std::string bytes = std::string(45, 'a') + tests::kArchiveSignature + std::string(70, 'b') +
                      tests::kArchiveSignature;
  fs_.SetReadLimit(5);
  platform::File file = OpenWith(bytes);
  ASSERT_TRUE(kivo::FindArchiveStart(file));
  EXPECT_EQ(Position(file), 45u);
}

TEST_F(ArchiveFile, NoSignatureMeansNotFound) {
  std::string almost = std::string(40, 'z') + tests::kArchiveSignature.substr(0, 7);
  for (const std::string& bytes : {almost, std::string()}) {
    platform::File file = OpenWith(bytes);
    EXPECT_FALSE(kivo::FindArchiveStart(file)) << bytes.size();
  }
  // The two words in the other order are not the signature.
  std::string swapped = tests::kArchiveSignature.substr(4) + tests::kArchiveSignature.substr(0, 4);
  platform::File file = OpenWith(swapped + std::string(40, 'q'));
  EXPECT_FALSE(kivo::FindArchiveStart(file));
}

TEST_F(ArchiveFile, BareAndAppendedArchivesValidate) {
  std::vector<HandBuiltEntry> entries{{"a.txt", "alpha"}, {"d\\b.bin", std::string(40000, '\x9C')}};
  EXPECT_TRUE(Valid(BuildArchive(entries)));
  tests::HandBuiltOptions o;
  o.image = std::string(53248, 'M');
  EXPECT_TRUE(Valid(BuildArchive(entries, o), 53248));
}

// Each kind of damage the header and the checksum show is refused and named.
TEST_F(ArchiveFile, ValidationRefusesEachKindOfDamageAndSaysWhich) {
  using kivo::ArchiveFault;
  std::vector<HandBuiltEntry> entries{{"ONE.TXT", "one"}, {"TWO.TXT", "two \xE9"}};
  const std::string good = BuildArchive(entries);
  tests::HandBuiltOptions zero;
  zero.count = 0;
  std::string data = good;
  data.back() ^= 0x01;
  std::string record = good;
  record[800 + 308 + 270] ^= 0x40;  // a creation-time byte of the second record
  std::string size = good;
  size[800 + 308 + 260] ^= 0x01;
  tests::HandBuiltOptions unsignedSum;
  unsignedSum.unsignedChecksum = true;
  struct Case {
    const char* what;
    std::string bytes;
    ArchiveFault fault;
  };
  const Case cases[] = {
      {"count 0", BuildArchive(entries, zero), ArchiveFault::kNoEntries},
      {"one byte appended", good + "!", ArchiveFault::kSizeMismatch},
      {"one byte cut", good.substr(0, good.size() - 1), ArchiveFault::kSizeMismatch},
      {"header cut short", good.substr(0, 700), ArchiveFault::kUnreadable},
      {"data byte", data, ArchiveFault::kChecksum},
      {"record byte", record, ArchiveFault::kChecksum},
      {"size byte", size, ArchiveFault::kChecksum},
      {"unsigned fold", BuildArchive(entries, unsignedSum), ArchiveFault::kChecksum},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::File file = OpenWith(c.bytes, disk_);
    kivo::ArchiveCheck check;
    EXPECT_FALSE(kivo::CheckArchive(file, 0, &check));
    EXPECT_EQ(check.fault, c.fault);
    if (c.fault == ArchiveFault::kSizeMismatch) {
      EXPECT_EQ(check.statedSize, good.size());
      EXPECT_EQ(check.fileSize, c.bytes.size());
    }
    EXPECT_FALSE(Valid(c.bytes));
  }
}

TEST_F(ArchiveFile, ReservedHeaderBytesAreNotChecked) {
  std::string good = BuildArchive({{"a.txt", "alpha"}});
  for (std::size_t at : {8u, 11u, 288u, 500u, 799u}) {
    std::string changed = good;
    changed[at] = '\x5A';
    EXPECT_TRUE(Valid(changed)) << at;
  }
  // An all-low data area has the same checksum either way.
  tests::HandBuiltOptions unsignedSum;
  unsignedSum.unsignedChecksum = true;
  std::string low = BuildArchive({{"a.txt", "alpha", {1, 2, 3}}}, unsignedSum);
  EXPECT_EQ(tests::FoldBytes(low, 800), tests::FoldBytes(low, 800, false));
  EXPECT_TRUE(Valid(low));
}

TEST_F(ArchiveFile, ValidationRestoresTheReadPositionEitherWay) {
  std::string good = BuildArchive({{"a.txt", "alpha"}});
  for (const std::string& bytes : {good, good + "x"}) {
    platform::File file = OpenWith(bytes, disk_);
    ASSERT_TRUE(file.Seek(800));
    kivo::ValidateArchive(file, 0);
    EXPECT_EQ(Position(file), 800u);
  }
}

TEST_F(ArchiveFile, AFileOfFourGibibytesOrMoreIsNeverValid) {
  // The stored size is 32-bit: a file 4 GiB longer would match it.
  std::string good = BuildArchive({{"a.txt", "alpha"}});
  fs_.SetSizeSurplus(0x100000000ull);
  platform::File file = OpenWith(good);
  EXPECT_FALSE(kivo::ValidateArchive(file, 0));
}

TEST(ArchiveCodec, DecodesEveryFieldAtItsOffset) {
  HandBuiltEntry e{"dir\\name.txt", std::string(5, 'd'), {0x0102030405060708ull, 0x1112131415161718ull,
                                                  0x2122232425262728ull}, 0x21};
  std::string bytes = BuildArchive({e}, {"", "Welcome.exe"});
  kivo::ArchiveHeader h;
  kivo::DecodeHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), &h);
  EXPECT_EQ(h.signatureLow, kivo::kSignatureLow);
  EXPECT_EQ(h.signatureHigh, kivo::kSignatureHigh);
  EXPECT_EQ(h.count, 1u);
  EXPECT_STREQ(h.programName, "Welcome.exe");
  EXPECT_EQ(h.totalSize, bytes.size());
  EXPECT_EQ(h.checksum, tests::FoldBytes(bytes, 800));

  std::string record = bytes.substr(800, 308);
  record.replace(13, 21, "garbage after the NUL");  // carries no meaning
  kivo::ArchiveEntry a;
  kivo::DecodeEntry(reinterpret_cast<const std::uint8_t*>(record.data()), &a);
  kivo::EntryRecord r = kivo::ToRecord(a);
  EXPECT_STREQ(r.name, "dir\\name.txt");
  EXPECT_EQ(r.sizeLow, 5u);
  EXPECT_EQ(r.sizeHigh, 0u);
  EXPECT_EQ(r.creation, 0x0102030405060708ull);
  EXPECT_EQ(r.lastAccess, 0x1112131415161718ull);
  EXPECT_EQ(r.lastWrite, 0x2122232425262728ull);
  EXPECT_EQ(r.attributes, 0x21u);
  EXPECT_EQ(r.reserved0 | r.reserved1, 0u);
}

TEST(ArchiveNames, OnlyNamesWindowsStoresAsTheyStandBelowTheTargetAreAccepted) {
  for (const char* good : {"a.txt", "dir\\a.txt", "a\\b\\c\\d.bin", "..a", "a..b", "a b.txt",
                           ".profile", "dir.d\\x", "NULL.txt", "COM10", "con-fig\\aux_",
                           "LPT", "nul_\\x", "Caf\xE9.txt"}) {
    EXPECT_TRUE(kivo::IsAcceptableEntryName(good)) << good;
  }
  for (const char* bad : {"", "\\abs.txt", "C:\\x", "c:x", "\\\\server\\share\\x", "..",
                          "..\\x", "a\\..\\..\\x", "a\\..", "a\\\\..\\x", "a\\", "a\\\\b",
                          ".\\x", ".. \\x", "a\\. .\\b", "a/b", "../x", "file:stream",
                          // Windows drops trailing dots and blanks, FAT leading blanks too.
                          "a..", "a.", "a ", "dir.\\x", "dir \\x", " lead", "a\\ lead",
                          // Devices, in any component, with or without an extension.
                          "CON", "con.txt", "a\\Nul\\b", "NUL .txt", "com1", "LPT9.log",
                          "aux.tar.gz", "CONIN$", "clock$", "COM\xB9",
                          // Characters no Windows name may hold.
                          "a<b", "a>b", "a\"b", "a|b", "a?b", "a*", "a\x01" "b", "tab\there",
                          "\\\\?\\C:\\x", "\\\\.\\COM1"}) {
    EXPECT_FALSE(kivo::IsAcceptableEntryName(bad)) << bad;
  }
}

}  // namespace
