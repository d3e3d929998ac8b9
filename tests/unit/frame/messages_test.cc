// What the extractor says: exact texts, the caption and the style of every
// message, the error-code rules and the buffer limits.
#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/fake_message_boxes.h"
#include "unpack/engine/messages.h"
#include "unpack/frame/strings.h"

namespace {

class MessagesTest : public ::testing::Test {
 protected:
  // The one message shown since the last call.
  std::string Shown() {
    EXPECT_EQ(boxes_.shown.size(), 1u);
    if (boxes_.shown.empty()) return "";
    tests::ShownMessage m = boxes_.shown.back();
    boxes_.shown.clear();
    EXPECT_EQ(m.caption, "Tandrel");
    EXPECT_EQ(m.buttons(), platform::ui::kOk);
    EXPECT_EQ(m.icon(), platform::ui::kIconWarning);
    EXPECT_EQ(m.style, 0x30u);
    return m.text;
  }
  tests::FakeMessageBoxes boxes_;
  kivo::Messages messages_{boxes_, kivo::CompiledStrings()};
};

TEST_F(MessagesTest, FileErrorsMapToAccessDeniedDiskFullOrTheCodeInHex) {
  const std::string access =
      "Unable to write to a file.  Either the file already exists and is in use by another "
      "program, or the file exists and is read only,  or the destination directory is read "
      "only.  Try running this program in a different directory.";
  const std::string full =
      "Unable to continue extraction of files due to destination directory being out of disk "
      "space.  Please free some disk space and run this program again.";
  struct Case {
    std::uint32_t code;
    std::string text;
  };
  for (const Case& c : {Case{5, access}, Case{39, full}, Case{112, full},
                        Case{32, "Unable to access file (0020).  File extraction aborted."},
                        Case{2, "Unable to access file (0002).  File extraction aborted."},
                        Case{0xABCDE, "Unable to access file (ABCDE).  File extraction aborted."},
                        Case{0, "Unable to access file (0000).  File extraction aborted."}}) {
    messages_.ReportFileError(c.code);
    EXPECT_EQ(Shown(), c.text) << c.code;
  }
}

TEST_F(MessagesTest, FolderErrorsNameThePathExceptWhenTheDiskIsFull) {
  const char* path = "C:\\Program Files\\Tandrel\\setup";
  for (std::uint32_t code : {3u, 148u}) {
    messages_.ReportDirectoryError(code, path);
    EXPECT_EQ(Shown(), "The path specified, C:\\Program Files\\Tandrel\\setup, cannot be found or "
                       "used at this time.");
  }
  for (std::uint32_t code : {39u, 112u}) {
    messages_.ReportDirectoryError(code, path);
    EXPECT_EQ(Shown(), "Unable to continue creation of directories due to destination directory "
                       "being out of disk space.  Please free some disk space and run this program "
                       "again.");
  }
  for (std::uint32_t code : {5u, 183u, 32u}) {
    messages_.ReportDirectoryError(code, path);
    EXPECT_EQ(Shown(), "Unable to create the directory: C:\\Program Files\\Tandrel\\setup.");
  }
}

TEST_F(MessagesTest, TextsKeepTheirSpellingAndAPathWithPercentSignsIsNotAFormat) {
  messages_.ShowMessage(kivo::IDS_NO_MEMORY);
  EXPECT_EQ(Shown(), "Unabel to allocate memory for extraction process.  File extraction aborted.");
  messages_.ShowMessageWithText(kivo::IDS_DIR_READ_ONLY, "C:\\100%s\\%d");
  EXPECT_EQ(Shown(), "Unable to create the directory: C:\\100%s\\%d, the directory already exsits "
                     "and is read only. ");
}

TEST_F(MessagesTest, TheOverwriteQuestionShowsTheNameWhole) {
  platform::BoundedString<512> q;
  messages_.FormatOverwriteQuestion("Tom & Jerry\\read&me.txt", &q);
  EXPECT_STREQ(q.c_str(), "The file 'Tom & Jerry\\read&me.txt' already exists.  Do you want to "
                          "overwrite it?");
  EXPECT_TRUE(boxes_.shown.empty());
}

// A table with over-long texts, to see the limits of the buffers.
class LongStrings final : public platform::StringTable {
 public:
  std::uint32_t Load(std::uint32_t id, char* buffer, std::uint32_t capacity) const override {
    std::string text = id == kivo::IDS_CAPTION ? std::string(300, 'c')
                       : id == kivo::IDS_ACCESS_ERROR ? std::string(400, 'e') + "%04lX"
                       : id == kivo::IDS_FILE_IN_WAY ? std::string(300, 'f') + "%s"
                                                      : std::string(700, 'm');
    std::uint32_t n = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), capacity - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
    return n;
  }
};

TEST(MessageLimits, TextsAndCaptionsAreCutToTheirBuffers) {
  tests::FakeMessageBoxes boxes;
  LongStrings strings;
  kivo::Messages messages(boxes, strings);
  messages.ShowMessage(kivo::IDS_CORRUPT);
  messages.ReportFileError(32);
  messages.ShowMessageWithText(kivo::IDS_FILE_IN_WAY, std::string(400, 'p').c_str());
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].text, std::string(511, 'm'));
  EXPECT_EQ(boxes.shown[0].caption, std::string(127, 'c'));
  EXPECT_EQ(boxes.shown[1].text, std::string(255, 'e'));
  EXPECT_EQ(boxes.shown[2].text, std::string(300, 'f') + std::string(211, 'p'));
}

}  // namespace
