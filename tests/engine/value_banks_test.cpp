#include "engine/value_banks.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(FlagBankTest, BitLayoutIsLeastSignificantFirst) {
  FlagBank bank(1024);
  bank.Set(0, true);
  bank.Set(9, true);
  bank.Set(15, true);
  EXPECT_EQ(bank.bytes()[0], 0x01);
  EXPECT_EQ(bank.bytes()[1], 0x82);
  EXPECT_TRUE(bank.Test(9));
  EXPECT_FALSE(bank.Test(8));
  bank.Set(9, false);
  EXPECT_EQ(bank.bytes()[1], 0x80);
  bank.ClearAll();
  EXPECT_FALSE(bank.Test(0));
  EXPECT_FALSE(bank.Test(15));
}

TEST(FlagBankTest, OutOfRangeFlagsReadZeroAndIgnoreWrites) {
  FlagBank bank(10000);
  EXPECT_EQ(bank.bytes().size(), 1250u);
  for (int n : {-1, 10000, 10007, 1 << 30}) {
    bank.Set(n, true);
    EXPECT_FALSE(bank.Test(n)) << n;
  }
  for (uint8_t b : bank.bytes()) EXPECT_EQ(b, 0);
  bank.Set(9999, true);
  EXPECT_TRUE(bank.Test(9999));
  EXPECT_EQ(bank.bytes()[1249], 0x80);
}

TEST(ValueBanksTest, BanksMapOntoTheirCells) {
  ValueBanks banks;
  banks.SetV(999, 7);
  banks.SetS(0, -3);
  banks.SetS(999, 11);
  banks.SetG(9, 42);
  EXPECT_EQ(banks.cells[999], 7);
  EXPECT_EQ(banks.cells[2000], -3);
  EXPECT_EQ(banks.cells[2999], 11);
  EXPECT_EQ(banks.cells[3009], 42);
  // Out of range: reads 0, writes land nowhere.
  banks.SetV(1000, 5);
  banks.SetG(10, 5);
  banks.SetS(-1, 5);
  EXPECT_EQ(banks.V(1000), 0);
  EXPECT_EQ(banks.G(10), 0);
  EXPECT_EQ(banks.S(-1), 0);
  EXPECT_EQ(banks.cells[1000], 0);
  EXPECT_EQ(banks.cells[1999], 0);

  banks.SetV(0, 1);
  banks.ClearV();
  EXPECT_EQ(banks.V(0), 0);
  EXPECT_EQ(banks.V(999), 0);
  EXPECT_EQ(banks.S(999), 11);
  EXPECT_EQ(banks.G(9), 42);
}

TEST(ValueBanksTest, NameSlotsCutAtWholeCharacters) {
  struct Case {
    std::string input;
    std::string stored;
  };
  const std::string a63(63, 'a');
  const std::string kana = "\x82\xa0";  // a two-byte character
  std::string kana31;
  for (int i = 0; i < 31; ++i) kana31 += kana;  // 62 bytes
  const Case cases[] = {
      {"Taro", "Taro"},
      {a63, a63},
      {a63 + "b", a63},
      {kana31 + kana, kana31},              // the 32nd character would need bytes 62-63
      {"a" + kana31 + kana, "a" + kana31},  // exactly 63 bytes
      {std::string("ab\0cd", 5), "ab"},
      {"ab\x82", "ab"},  // a lead byte with no trail byte is dropped
      {"", ""},
  };
  ValueBanks banks;
  for (const Case& c : cases) {
    banks.SetNameSlot(3, c.input);
    EXPECT_EQ(banks.NameSlot(3), c.stored) << c.input;
    EXPECT_EQ(banks.name_slots[3][63], '\0');
  }
  // Found by fuzzing ("*string 2 " with no text): a view without data empties the slot.
  banks.SetNameSlot(3, "x");
  banks.SetNameSlot(3, std::string_view());
  EXPECT_EQ(banks.NameSlot(3), "");
  banks.SetNameSlot(10, "x");
  banks.SetNameSlot(-1, "x");
  EXPECT_EQ(banks.NameSlot(10), "");
  EXPECT_EQ(banks.NameSlot(-1), "");
}

TEST(ValueBanksTest, NameSlotWithoutNulReadsToSlotEnd) {
  ValueBanks banks;
  banks.name_slots[0].fill('z');
  EXPECT_EQ(banks.NameSlot(0), std::string(64, 'z'));
}

}  // namespace
}  // namespace quill
