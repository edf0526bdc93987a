#include "engine/expressions.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace quill {
namespace {

class RecordingHost : public ExpressionHost {
 public:
  int32_t NextRandom() override {
    ++random_draws;
    return random_value;
  }
  void DeveloperLog(int kind, std::string_view text) override {
    logs.push_back(std::to_string(kind) + ":" + std::string(text));
  }
  void SystemCellAssigned(int index) override { system_cells.push_back(index); }
  void TraceAssignment(std::string_view item) override { traces.emplace_back(item); }

  int32_t random_value = 32767;
  int random_draws = 0;
  std::vector<std::string> logs;
  std::vector<int> system_cells;
  std::vector<std::string> traces;
};

const std::string kInvalidLog = "3:" + std::string(kInvalidExpressionMessage);
const std::string kAssignErrorLog = "3:" + std::string(kAssignmentErrorMessage);

class ExpressionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    banks.SetV(1, -1);
    banks.SetV(5, 77);
    banks.SetV(10, 5);
    banks.SetV(11, 41);
    banks.SetV(999, 1000);  // a pointer past the V bank
    banks.SetS(3, 9);
    banks.SetG(5, -4);
    banks.F.Set(5, true);
    banks.E.Set(999, true);
    banks.T.Set(9999, true);
  }
  ValueBanks banks;
  RecordingHost host;
};

TEST_F(ExpressionsTest, EvaluatesLeftToRight) {
  struct Case {
    std::string text;
    int32_t value;
    bool invalid;
  };
  const Case cases[] = {
      {"", 0, false},
      {"42", 42, false},
      {"2+3*4", 20, false},
      {"7/2", 3, false},
      {"-7/2", -3, false},
      {"-7%2", -1, false},
      {"5/0", 0, false},
      {"5%0", 0, false},
      {"12_&10", 8, false},
      {"12_|3", 15, false},
      {"12_X10", 6, false},
      {"1_2", 12, false},  // a lone "_" is skipped
      {"5_", 5, false},
      {"6/-2", -2, false},  // "-" is an operator: (6 / 0) - 2
      // Terminators end the text.
      {"3+4;V011", 7, false},
      {"3=4", 3, false},
      {"5!1", 5, false},
      {"2&1", 2, false},
      {"6,1", 6, false},
      {"6<1", 6, false},
      {"6>1", 6, false},
      {"6]1", 6, false},
      {"6|1", 6, false},
      {std::string("6") + '\0' + "9", 6, false},
      // Bank operands.
      {"V011+1", 42, false},
      {"S003*2", 18, false},
      {"G5", -4, false},
      {"P010", 77, false},
      {"P999", 0, false},  // V999 = 1000 points outside the V bank
      {"F005+F006", 1, false},
      {"E999", 1, false},
      {"T9999+T0000", 1, false},
      {"V0012", -8, false},  // digits after an operand are appended: V001 * 10 + 2
      {"V11+1", 42, false},  // a short index is what its digits give
      {"V1", -1, false},
      {"G56", -34, false},    // G takes one digit: G5 * 10 + 6
      {"T99999", 19, false},  // T9999 * 10 + 9
      // Invalid bytes make the whole expression 0.
      {"V011 + 1", 0, true},
      {"v011", 0, true},
      {"(1)", 0, true},
      {"1+a", 0, true},
      {"V+1", 0, true},  // a bank letter with no index
      {"G", 0, true},
      {"\x82\x50", 0, true},
  };
  for (const Case& c : cases) {
    RecordingHost h;
    EXPECT_EQ(EvalExpression(c.text, banks, h), c.value) << c.text;
    EXPECT_EQ(h.logs,
              c.invalid ? std::vector<std::string>{kInvalidLog} : std::vector<std::string>{})
        << c.text;
  }
}

TEST_F(ExpressionsTest, ArithmeticWrapsAtThirtyTwoBits) {
  struct Case {
    std::string text;
    int32_t value;
  };
  const Case cases[] = {
      {"2147483647+1", INT_MIN},
      {"0-2147483647-2", INT_MAX},
      {"65536*65536", 0},
      {"65536*32768", INT_MIN},
      {"4294967297", 1},                 // the literal itself wraps
      {"0-2147483647-1/V001", INT_MIN},  // INT_MIN / -1
      {"0-2147483647-1%V001", 0},        // INT_MIN % -1
      {"7/V001", -7},
      {"7%V001", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvalExpression(c.text, banks, host), c.value) << c.text;
  }
  EXPECT_TRUE(host.logs.empty());
}

TEST_F(ExpressionsTest, RandomOperand) {
  struct Case {
    std::string text;
    int32_t value;
  };
  // The fake generator always gives 32767.
  const Case cases[] = {
      {"R10", 7},
      {"R1", 0},
      {"R0", 0},  // a divisor of 0 gives 0
      {"R00", 0},
      {"R1234567", 32767 % 1234567},
      {"R10000+1", 2768},
      {"R12345678", 32767 * 10 + 8},  // seven digits at most, the eighth is appended
      {"R;", 32767 % (';' - '0')},    // the byte after R is a digit whatever it is
      {"RA", 32767 % ('A' - '0')},
      {"R+5", 32767 % (('+' - '0') * 10 + 5)},  // a negative divisor
      {"R", 0},                                 // nothing after R
      {std::string("R") + '\0' + "5", 0},       // the NUL still ends the text
  };
  for (const Case& c : cases) {
    RecordingHost h;
    EXPECT_EQ(EvalExpression(c.text, banks, h), c.value) << c.text;
    EXPECT_EQ(h.random_draws, 1) << c.text;
    EXPECT_TRUE(h.logs.empty()) << c.text;
  }
  RecordingHost h;
  h.random_value = 12345;
  EXPECT_EQ(EvalExpression("R100+R1000", banks, h), 45 + 345);
  EXPECT_EQ(h.random_draws, 2);
}

TEST_F(ExpressionsTest, AssignCarriesOutEveryItem) {
  banks.SetV(2, 9);
  Assign("V001=V002+1;F003=1;G3=7", banks, host);
  EXPECT_EQ(banks.V(1), 10);
  EXPECT_TRUE(banks.F.Test(3));
  EXPECT_EQ(banks.G(3), 7);
  EXPECT_EQ(host.traces, (std::vector<std::string>{"V001=V002+1", "F003=1", "G3=7"}));
  EXPECT_TRUE(host.logs.empty());
}

TEST_F(ExpressionsTest, AssignNormalisesWholeCharacters) {
  // Lower case, blanks and the full-width space go; "\x82\x81" followed by "@" is a two-byte
  // character and a "@", not a full-width space, and its trail byte is not folded.
  Assign(
      " v001 =\t5 ;\x81\x40"
      "f003\x81\x40=\x81\x40"
      "1;v002=\x82\x81@",
      banks, host);
  EXPECT_EQ(banks.V(1), 5);
  EXPECT_TRUE(banks.F.Test(3));
  EXPECT_EQ(banks.V(2), 0);  // the two-byte character makes the value invalid
  EXPECT_EQ(host.traces, (std::vector<std::string>{"V001=5", "F003=1", "V002=\x82\x81@"}));
  EXPECT_EQ(host.logs, std::vector<std::string>{kInvalidLog});
}

TEST_F(ExpressionsTest, AssignPerBankRules) {
  struct Case {
    std::string list;
    bool error;
  };
  banks.F.Set(6, true);
  const Case cases[] = {
      {"F005=2", false},  // neither 0 nor 1: F005 stays set, no error
      {"F006=0", false},  {"E005=1", false}, {"E999=0", false}, {"E006=2", true},
      {"T1234=1", false}, {"T9999=5", true}, {"X001=1", true},  {"V=5", true},  // no index digits
      {"", true},         // an empty item has no bank letter
      {"P010=9", false},  // V010 = 5, so this writes V005
      {"P999=3", false},  // V999 = 1000: the write is ignored
      {"V12=4", false},   // a short index is what its digits give
      {"V003+8", false},  // the byte after the index is taken as "=" unseen
      {"V004", false},    // no value text: 0
      {"G7=-3", false},
  };
  for (const Case& c : cases) {
    RecordingHost h;
    Assign(c.list, banks, h);
    EXPECT_EQ(h.logs,
              c.error ? std::vector<std::string>{kAssignErrorLog} : std::vector<std::string>{})
        << c.list;
    EXPECT_EQ(h.traces.size(), c.error ? 0u : 1u) << c.list;
  }
  EXPECT_TRUE(banks.F.Test(5));
  EXPECT_FALSE(banks.F.Test(6));
  EXPECT_TRUE(banks.E.Test(5));
  EXPECT_FALSE(banks.E.Test(999));
  EXPECT_FALSE(banks.E.Test(6));
  EXPECT_TRUE(banks.T.Test(1234));
  EXPECT_TRUE(banks.T.Test(9999));  // unchanged by the failed T9999=5
  EXPECT_EQ(banks.V(5), 9);
  EXPECT_EQ(banks.V(12), 4);
  EXPECT_EQ(banks.V(3), 8);
  EXPECT_EQ(banks.V(4), 0);
  EXPECT_EQ(banks.G(7), -3);
  for (int i = 1000; i < 2000; ++i) ASSERT_EQ(banks.cells[i], 0) << i;
}

TEST_F(ExpressionsTest, AssignReportsEverySystemCell) {
  Assign("S000=1;S028=0;S100=5;V001=2", banks, host);
  EXPECT_EQ(host.system_cells, (std::vector<int>{0, 28, 100}));
  EXPECT_EQ(banks.S(0), 1);
  EXPECT_EQ(banks.S(100), 5);
}

TEST_F(ExpressionsTest, AssignErrorInOneItemKeepsTheOthers) {
  Assign("V001=7;E005=2;V002=8;", banks, host);
  EXPECT_EQ(banks.V(1), 7);
  EXPECT_EQ(banks.V(2), 8);
  EXPECT_FALSE(banks.E.Test(5));
  // E005=2 and the empty item after the last ";".
  EXPECT_EQ(host.logs, (std::vector<std::string>{kAssignErrorLog, kAssignErrorLog}));
  EXPECT_EQ(host.traces, (std::vector<std::string>{"V001=7", "V002=8"}));
}

TEST_F(ExpressionsTest, Conditions) {
  struct Case {
    std::string text;
    bool result;
  };
  banks.SetV(1, 3);
  banks.SetV(10, 4);
  banks.F.Set(2, true);
  const Case cases[] = {
      {"(V001>=3&F002=1)", true},
      {"(V001>3)", false},
      {"(V001<3)", false},
      {"(V001<4)", true},
      {"(V001<=3)", true},
      {"(V001>=4)", false},
      {"(V001==3)", true},
      {"(V001!=3)", false},
      {"(V001!3)", false},
      {"(V001!=4)", true},
      // "=<" is "=" with an expression that starts with "<": V001 = 0.
      {"(V001=<3)", false},
      {"(V000=<3)", true},
      // Blanks go and lower case is folded; a tab stays and spoils its expression.
      {"(V010 + 1 = 5)", true},
      {"( v010+1=5 )", true},
      {"(V001=\t3)", false},
      {"(V000=\t3)", true},
      // Left to right: the first "&" after a false comparison decides, as does the first "|"
      // after a true one.
      {"(V001=0&V001=3|V001=3)", false},
      {"(V001=3|V001=0&V001=0)", true},
      {"(V001=3&V001=0|V001=3)", true},
      {"(V001=0,V001=3)", true},  // "," just goes on
      {"(V001=3,V001=0)", false},
      // No "(", no ")" or text after the ")".
      {"V001=3", true},
      {"(V001=3", true},
      {"(V001=3)V001=0", true},
      // A value with no comparison is true when non-zero; a value straight before a connector
      // likewise; a bare value after a comparison adds nothing.
      {"(V001)", true},
      {"(V000)", false},
      {"()", false},
      {"", false},
      {"(V001&V010=4)", true},
      {"(V000&V010=4)", false},
      {"(V000|V010=4)", true},
      {"(V001=0|5)", false},
      {"(V001=3&)", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TestCondition(c.text, banks, host), c.result) << c.text;
  }
}

TEST_F(ExpressionsTest, ConditionStopsEvaluatingAtTheDecidingConnector) {
  RecordingHost h;
  EXPECT_FALSE(TestCondition("(V000=1&R10=R10)", banks, h));
  EXPECT_EQ(h.random_draws, 0);
  EXPECT_TRUE(TestCondition("(V000=0|R10=R10)", banks, h));
  EXPECT_EQ(h.random_draws, 0);
  EXPECT_TRUE(TestCondition("(V000=0&R10=7)", banks, h));
  EXPECT_EQ(h.random_draws, 1);
}

TEST_F(ExpressionsTest, ConditionIsCutAtOneHundredBytes) {
  // 98 bytes of "0+0+...+0=0", then "&V001=1": the cut leaves "&V", whose bank letter has no
  // index, so only the first comparison counts.
  std::string head;
  while (head.size() < 96) head += "0+";
  head.resize(96);
  head += "=0";
  ASSERT_EQ(head.size(), 98u);
  banks.SetV(1, 0);
  EXPECT_TRUE(TestCondition("(" + head + "&V001=1)", banks, host));
  // Spaces are dropped before they count.
  EXPECT_FALSE(TestCondition("(" + std::string(50, ' ') + "0=0&V001=1)", banks, host));
  banks.SetV(1, 1);
  EXPECT_TRUE(TestCondition("(" + std::string(50, ' ') + "0=0&V001=1)", banks, host));
}

}  // namespace
}  // namespace quill
