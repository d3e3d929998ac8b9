// Both string tables: the texts users see, and (on Windows) the STRINGTABLE
// resources holding exactly the compiled-in texts.
#include <gtest/gtest.h>

#include <string>

#include "diskmaker/resources/strings.h"
#include "unpack/frame/strings.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/message_boxes.h"
#endif

namespace {

std::string Load(const platform::StringTable& table, std::uint32_t id, std::uint32_t cap = 1024) {
  char buffer[1024];
  table.Load(id, buffer, cap);
  return buffer;
}

TEST(StringTables, HoldTheProductsTextsToTheLetter) {
  const auto& w = wendmark::CompiledStrings();
  for (std::uint32_t id : {104u, 109u, 119u, 127u, 132u}) EXPECT_EQ(Load(w, id), "Tandrel's disk maker");
  EXPECT_EQ(Load(w, wendmark::IDS_CHOICE).substr(0, 11), "\n\nYou may:\n");
  EXPECT_EQ(Load(w, wendmark::IDS_INSERT_PROMPT),
            "Please label a blank, formatted 1.44MB floppy disk '%s' and place it in drive %c:.");
  const auto& k = kivo::CompiledStrings();
  EXPECT_EQ(Load(k, kivo::IDS_CAPTION), "Tandrel");
  EXPECT_EQ(Load(k, kivo::IDS_DIR_READ_ONLY),
            "Unable to create the directory: %s, the directory already exsits and is read only. ");
  EXPECT_EQ(Load(k, kivo::IDS_NO_MEMORY).substr(0, 6), "Unabel");
}

TEST(StringTables, LoadCutsToTheBufferAndMissingIdsAreEmpty) {
  const auto& k = kivo::CompiledStrings();
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(k.Load(kivo::IDS_CAPTION, buffer, 5), 4u);
  EXPECT_STREQ(buffer, "Tand");
  EXPECT_EQ(k.Load(999, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
}

#ifdef _WIN32
TEST(StringTables, ResourcesMatchTheCompiledTexts) {
  platform::win32::ResourceStringTable resources(GetModuleHandleA(nullptr));
  int checked = 0;
  for (std::uint32_t id = 1; id < 200; ++id) {
    const char* wendmark = wendmark::CompiledStrings().Find(id);
    const char* kivo = kivo::CompiledStrings().Find(id);
    const char* expected = wendmark != nullptr ? wendmark : kivo;
    SCOPED_TRACE(id);
    EXPECT_EQ(Load(resources, id), expected != nullptr ? expected : "");
    checked += expected != nullptr;
  }
  EXPECT_EQ(checked, 19 + 35);
}
#endif

}  // namespace
