// The name entry: the check of a name, the dialog's placement, its buttons and what they take
// and store; and `setname` answered from a headless scenario.
#include "text/name_entry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

namespace quill::test {
namespace {

TEST(NameEntryTest, ANameIsOneToEightBytesOfTwoByteCharacters) {
  struct Case {
    const char* utf8;
    bool valid;
  };
  const Case cases[] = {
      {"山田", true},
      {"やまだ太", true},     // four full-width characters: 8 bytes
      {"やまだ太郎", false},  // five: 10 bytes
      {"山田a", false},       // a one-byte letter
      {"ヤマダ", true},
      {"ﾔﾏﾀﾞ", false},   // half-width katakana are one byte each
      {"ＡＢ１", true},  // full-width letters and digits
      {"", false},
      {"山\xF0\x9F\x98\x80", false},  // a character Shift-JIS cannot hold
      {"山\xE2\x82\xAC", false},      // nor the euro sign
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidNameUtf8(c.utf8), c.valid) << c.utf8;
  }
  // In Shift-JIS: a lead byte without its second byte is not a character.
  EXPECT_FALSE(IsValidName("\x8e\x52\x8e"));
  EXPECT_FALSE(IsValidName("\x8e\x52\x8e\x52\x8e\x52\x8e\x52\x8e"));  // 9 bytes
}

TEST(NameEntryTest, TheDialogOpensOverTheMainWindowAndInsideTheDesktop) {
  struct Case {
    const char* what;
    int main_left, main_top;
    int left, top;
  };
  // The dialog 275 × 96 over an 800 × 624 window on a 1920 × 1080 desktop.
  const Case cases[] = {
      {"centred", 100, 50, 362, 314},
      {"centred, truncated", 101, 51, 363, 315},
      {"the window off the left and top edges", -700, -600, 0, 0},
      {"the window past the right and bottom edges", 1800, 1000, 1645, 984},
  };
  for (const Case& c : cases) {
    DialogPlacement p = PlaceOverWindow(c.main_left, c.main_top, 800, 624, 275, 96, 1920, 1080);
    EXPECT_EQ(p.left, c.left) << c.what;
    EXPECT_EQ(p.top, c.top) << c.what;
  }
}

// The engine's names, recording what the dialog takes and when it stores.
class Names : public NameTarget {
 public:
  std::string NameInUse(int slot) override { return slot_[slot]; }
  void TakeName(int slot, std::string_view sjis) override {
    slot_[slot] = std::string(sjis);
    events.push_back("take " + std::to_string(slot) + " " + SjisToUtf8Lossy(sjis));
  }
  void StoreNames() override { events.push_back("store"); }
  std::string slot_[2] = {Utf8ToSjisLossy("春野"), Utf8ToSjisLossy("ひなた")};
  std::vector<std::string> events;
};

TEST(NameEntryTest, OkTakesValidNamesAndPutsBackARefusedOne) {
  Names names;
  NameEntryForm form(names, Utf8ToSjisLossy("山田"), Utf8ToSjisLossy("太郎"));
  form.FormShow(0, 0, 800, 624, 1920, 1080);
  EXPECT_EQ(form.edit1, "春野");
  EXPECT_EQ(form.edit2, "ひなた");

  form.edit1 = "あいうえお";  // nine bytes or more: refused, the name in use comes back
  form.Button1Click();
  EXPECT_FALSE(form.closed());
  EXPECT_EQ(form.edit1, "春野");
  EXPECT_TRUE(names.events.empty());

  // A valid family name is taken even when the given name is then refused; nothing is stored.
  form.edit1 = "秋山";
  form.edit2 = "ab";
  form.Button1Click();
  EXPECT_FALSE(form.closed());
  EXPECT_EQ(form.edit2, "ひなた");
  EXPECT_EQ(names.events, (std::vector<std::string>{"take 0 秋山"}));

  // "デフォルト" only fills the edits; "ＯＫ" then takes both and stores them, in that order.
  form.Button2Click();
  EXPECT_EQ(form.edit1, "山田");
  EXPECT_EQ(form.edit2, "太郎");
  EXPECT_EQ(names.events.size(), 1u);
  form.Button1Click();
  EXPECT_TRUE(form.closed());
  EXPECT_EQ(names.events,
            (std::vector<std::string>{"take 0 秋山", "take 0 山田", "take 1 太郎", "store"}));
}

TEST(NameEntryTest, SetnameAnsweredHeadlessSetsTheSlotsTheStoreAndS006) {
  TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  FixtureGame game(dir / "game");
  game.Script("_config",
              "TITLE:名前\nMAKER_REG:QuillTests\nGAME_ID:NameEntry\nDEFAULT_NAME:春野\n"
              "DEFAULT_NAME2:ひなた\n");
  game.Script("main", "*setname\n＄０、\n\\\n*setname\n＄０\n\\\n");
  game.Write();
  std::ofstream(dir / "run.scenario") << "100 state out/open.json\n"
                                         "200 dialog name やまだ太郎\n"  // refused
                                         "300 state out/refused.json\n"
                                         "400 dialog name 山田 太郎\n"
                                         "500 state out/named.json\n"
                                         "600 click 400 300\n"
                                         "900 dialog default\n"
                                         "1000 dialog ok\n"
                                         "1100 state out/defaults.json\n"
                                         "1200 quit\n";
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.scenario").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  nlohmann::json open = ReadJson(dir / "out/open.json");
  EXPECT_EQ(open["busy"], true);
  EXPECT_EQ(open["name_dialog"]["family"], "春野");
  EXPECT_EQ(open["name_dialog"]["given"], "ひなた");
  nlohmann::json refused = ReadJson(dir / "out/refused.json");
  EXPECT_EQ(refused["name_dialog"]["family"], "春野");
  EXPECT_EQ(refused["name_slots"][0], "春野");

  nlohmann::json named = ReadJson(dir / "out/named.json");
  EXPECT_TRUE(named["name_dialog"].is_null());
  EXPECT_EQ(named["name_slots"][0], "山田");
  EXPECT_EQ(named["name_slots"][1], "太郎");
  EXPECT_EQ(named["S"][6], 1);
  EXPECT_EQ(named["settings"]["PlayerName"], "山田");
  EXPECT_EQ(named["busy"], false);

  nlohmann::json defaults = ReadJson(dir / "out/defaults.json");
  EXPECT_EQ(defaults["name_slots"][0], "春野");
  EXPECT_EQ(defaults["S"][6], 0);
  // The store holds the names for the next run.
  std::string store = ReadText(dir / "config/quill/QuillTests/NameEntry.ini");
  EXPECT_NE(store.find("春野"), std::string::npos) << store;
  EXPECT_NE(store.find("ひなた"), std::string::npos) << store;
}

}  // namespace
}  // namespace quill::test
