// The one Windows name rule every program and tool takes: the answer for
// each kind of name, and which answer wins when a name breaks two rules.
#include "platform/windows_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::name::Refusal;

TEST(WindowsName, EachNameGetsTheFirstRuleItBreaks) {
  struct Case {
    std::string name;
    Refusal answer;
  };
  const Case cases[] = {
      // Stored as they stand: near misses of every rule.
      {"a.txt", Refusal::kNone},
      {".profile", Refusal::kNone},
      {"..a", Refusal::kNone},
      {"a b.txt", Refusal::kNone},
      {"Caf\xE9.txt", Refusal::kNone},
      {"a !#$%&'()+,-;=@[]^_`{}~\x7F.b", Refusal::kNone},
      {"NULL.txt", Refusal::kNone},
      {"con-fig", Refusal::kNone},
      {"COM", Refusal::kNone},
      {"COM10", Refusal::kNone},
      {"CONOUT", Refusal::kNone},
      {"COM\xB1", Refusal::kNone},
      {"LPT\xB4", Refusal::kNone},
      {std::string(255, 'a'), Refusal::kNone},
      // No names at all.
      {"", Refusal::kNotAName},
      {".", Refusal::kNotAName},
      {"..", Refusal::kNotAName},
      // Too long is told before what else is wrong.
      {std::string(256, 'a'), Refusal::kTooLong},
      {std::string(300, '?'), Refusal::kTooLong},
      // Characters no Windows name holds.
      {"a\"b", Refusal::kForbiddenCharacter},
      {"a*b", Refusal::kForbiddenCharacter},
      {"a/b", Refusal::kForbiddenCharacter},
      {"a:b", Refusal::kForbiddenCharacter},
      {"a<b", Refusal::kForbiddenCharacter},
      {"a>b", Refusal::kForbiddenCharacter},
      {"a?b", Refusal::kForbiddenCharacter},
      {"a\\b", Refusal::kForbiddenCharacter},
      {"a|b", Refusal::kForbiddenCharacter},
      {"tab\there", Refusal::kForbiddenCharacter},
      {"\x1F", Refusal::kForbiddenCharacter},
      {" a?. ", Refusal::kForbiddenCharacter},
      // Dots and blanks Windows or FAT drop.
      {"a.", Refusal::kTrailingDotOrBlank},
      {"a ", Refusal::kTrailingDotOrBlank},
      {"...", Refusal::kTrailingDotOrBlank},
      {". ", Refusal::kTrailingDotOrBlank},
      {" .", Refusal::kTrailingDotOrBlank},
      {"NUL.", Refusal::kTrailingDotOrBlank},
      {" lead.txt", Refusal::kLeadingBlank},
      {" NUL", Refusal::kLeadingBlank},
      // Devices, with or without an extension, blanks before the dot.
      {"CON", Refusal::kDevice},
      {"con.txt", Refusal::kDevice},
      {"prn", Refusal::kDevice},
      {"Aux.tar.gz", Refusal::kDevice},
      {"NUL .txt", Refusal::kDevice},
      {"PRN  .x", Refusal::kDevice},
      {"CONIN$", Refusal::kDevice},
      {"conout$.log", Refusal::kDevice},
      {"Clock$", Refusal::kDevice},
      {"COM0", Refusal::kDevice},
      {"com1", Refusal::kDevice},
      {"LPT9.log", Refusal::kDevice},
      {"lpt0", Refusal::kDevice},
      {"COM\xB9", Refusal::kDevice},
      {"LPT\xB2.txt", Refusal::kDevice},
      {"COM\xB3", Refusal::kDevice},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::name::WhyRefused(c.name.data(), static_cast<std::uint32_t>(c.name.size())), c.answer);
  }
}

}  // namespace
