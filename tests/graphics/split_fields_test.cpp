#include "graphics/split_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

struct SplitCase {
  const char* what;
  std::string argument;
  int count;
  std::vector<std::pair<std::string, int32_t>> fields;  // the first ones, text and number
};

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, FieldsAndNumbers) {
  const SplitCase& c = GetParam();
  SplitResult r = SplitFields(c.argument);
  EXPECT_EQ(r.count, c.count) << c.what;
  for (size_t i = 0; i < c.fields.size(); ++i) {
    EXPECT_EQ(r.fields[i].text, c.fields[i].first) << c.what << " field " << i;
    EXPECT_EQ(r.fields[i].number, c.fields[i].second) << c.what << " field " << i;
  }
}

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.what; }

std::string Fields(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? "," : "") + std::to_string(i + 1);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SplitFieldsTest,
    ::testing::Values(
        SplitCase{"an empty argument has no fields", "", 0, {}},
        SplitCase{"\"0\" is the number 0", "0", 1, {{"0", 0}}},
        SplitCase{"a text that reads as 0 and does not start with 0 has no number",
                  "INIT",
                  1,
                  {{"INIT", kNoFieldNumber}}},
        SplitCase{"blanks before a field are skipped, commas and colons separate",
                  "  B01,  -30 :7,, x",
                  5,
                  {{"B01", kNoFieldNumber},
                   {"-30 ", -30},
                   {"7", 7},
                   {"", kNoFieldNumber},
                   {"x", kNoFieldNumber}}},
        SplitCase{"only blanks make one empty field", "   ", 1, {{"", kNoFieldNumber}}},
        SplitCase{"a field keeps 30 characters",
                  std::string(40, 'A') + ",5",
                  2,
                  {{std::string(30, 'A'), kNoFieldNumber}, {"5", 5}}},
        SplitCase{"33 fields count 33; the table keeps 32", Fields(33), 33, {{"1", 1}, {"2", 2}}}));

TEST(SplitFieldsTest, TheThirtySecondFieldIsTheLastKept) {
  SplitResult r = SplitFields(Fields(33));
  EXPECT_EQ(r.fields[kMaxSplitFields - 1].text, "32");
}

}  // namespace
}  // namespace quill
