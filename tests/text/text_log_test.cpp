// The text log: 200 completed lines kept, 69 bytes a line.
#include "text/text_log.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(TextLogTest, KeepsTheLast200Lines) {
  TextLog log;
  for (int i = 0; i < 250; ++i) {
    log.AppendText("line " + std::to_string(i));
    log.EndLogLine();
  }
  EXPECT_EQ(log.line_count(), 200);
  EXPECT_EQ(log.Line(0), "line 50");
  EXPECT_EQ(log.Line(199), "line 249");
  EXPECT_EQ(log.CurrentLine(), "");
  EXPECT_EQ(log.write_position(), 200 * kTextLogLineBytes);
  log.AppendText("now");
  EXPECT_EQ(log.Line(200), "now");
}

TEST(TextLogTest, ALineHoldsAt69BytesAndNeverSplitsACharacter) {
  TextLog log;
  log.AppendText(std::string(80, 'a'));
  EXPECT_EQ(log.CurrentLine(), std::string(69, 'a'));
  log.EndLogLine();
  log.AppendText(std::string(68, 'b') + "\x82\xa0");  // the two-byte character does not fit
  EXPECT_EQ(log.CurrentLine(), std::string(68, 'b'));
  log.EndLogLine();
  EXPECT_EQ(log.Line(0), std::string(69, 'a'));  // the full line did not run into the next
  EXPECT_EQ(log.Line(1), std::string(68, 'b'));
  EXPECT_EQ(log.line_count(), 2);
}

TEST(TextLogTest, EmptyLinesCount) {
  TextLog log;
  log.EndLogLine();
  log.EndLogLine();
  EXPECT_EQ(log.line_count(), 2);
  EXPECT_EQ(log.Line(0), "");
}

TEST(TextLogTest, RestoreClampsDamagedCounters) {
  struct Case {
    int count, position, expected_count, expected_position;
  } cases[] = {
      {3, 3 * 70 + 5, 3, 3 * 70 + 5},
      {500, 0, 200, 200 * 70},
      {-4, -9, 0, 0},
      {2, 10000, 2, 2 * 70 + 69},
  };
  for (const Case& c : cases) {
    TextLog log;
    log.Restore(c.count, c.position);
    EXPECT_EQ(log.line_count(), c.expected_count);
    EXPECT_EQ(log.write_position(), c.expected_position);
    log.AppendText("x");  // writing stays inside the record
    EXPECT_LE(log.write_position(), (log.line_count() + 1) * kTextLogLineBytes - 1);
  }
}

}  // namespace
}  // namespace quill
