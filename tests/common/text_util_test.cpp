#include "common/text_util.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(TextUtil, ParseIntFollowsTheScriptRule) {
  struct Case {
    const char* text;
    int32_t value;
    size_t consumed;
  };
  const Case cases[] = {
      {"42", 42, 2},       {"  -7x", -7, 4},  {"+3", 3, 2},         {"abc", 0, 0},
      {"", 0, 0},          {"- 5", 0, 0},     {"\t12 34", 12, 3},   {"4294967297", 1, 10},
  };
  for (const Case& c : cases) {
    size_t used = 99;
    EXPECT_EQ(ParseInt(c.text, &used), c.value) << c.text;
    EXPECT_EQ(used, c.consumed) << c.text;
  }
}

TEST(TextUtil, CaseFoldingLeavesShiftJisTrailBytesAlone) {
  // 0x83 0x61 is a katakana whose trail byte is 'a'.
  EXPECT_EQ(ToUpperSjis("ab\x83\x61z"), "AB\x83\x61Z");
  EXPECT_EQ(ToUpperAscii("main_2"), "MAIN_2");
  EXPECT_TRUE(EqualsIgnoreCase("Main", "mAIN"));
  EXPECT_FALSE(EqualsIgnoreCase("main", "mains"));
  EXPECT_TRUE(StartsWithIgnoreCase("ExitGame now", "exitgame"));
  EXPECT_EQ(UntilNul(std::string_view("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace quill
