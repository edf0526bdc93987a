// The toolbar and popup menus: which controls UpdateMenus enables, and what choosing each does.
#include "engine/menus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/sjis.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using C = MenuControl;
using ::testing::ElementsAre;

// A headless platform whose popup menus answer with a chosen control and remember how they
// were opened.
class MenuPlatform : public HeadlessPlatform {
 public:
  MenuPlatform(std::filesystem::path game, std::filesystem::path home)
      : HeadlessPlatform(std::move(game), {}), home_(std::move(home)) {}

  int RunPopupMenu(PopupMenuKind kind, const std::vector<MenuEntry>& entries, int x,
                   int y) override {
    opened.push_back(Opened{kind, entries, x, y});
    return answer;
  }
  void ToolbarChanged() override { ++toolbar_changes; }
  bool AskOkCancel(std::string_view, std::string_view) override { return close_answer; }
  std::filesystem::path ConfigFolder() override { return home_ / "config"; }
  std::filesystem::path DataFolder() override { return home_ / "data"; }

  struct Opened {
    PopupMenuKind kind;
    std::vector<MenuEntry> entries;
    int x, y;
  };
  std::vector<Opened> opened;
  int answer = -1;
  int toolbar_changes = 0;
  bool close_answer = false;

 private:
  std::filesystem::path home_;
};

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FixtureGame game(dir_.path() / "game");
    game.Script("main", "\\\n");
    game.Write();
    platform_ = std::make_unique<MenuPlatform>(game.folder(), dir_.path());
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    ASSERT_TRUE(engine_->FormCreate());
    engine_->AppIdle();            // loads "main"
    engine_->banks().SetS(28, 1);  // saving allowed
  }

  Engine& engine() { return *engine_; }
  Menus& menus() { return engine_->menus(); }
  MenuPlatform& platform() { return *platform_; }
  int S(int i) { return engine_->banks().S(i); }
  void SetS(int i, int v) { engine_->banks().SetS(i, v); }

  // Captions (UTF-8) of entries, with "-" marking the disabled ones.
  static std::vector<std::string> Captions(const std::vector<MenuEntry>& entries) {
    std::vector<std::string> out;
    for (const MenuEntry& e : entries) {
      out.push_back((e.enabled ? "" : "-") + SjisToUtf8Lossy(e.caption));
    }
    return out;
  }

  test::TempDir dir_;
  std::unique_ptr<MenuPlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

constexpr C kSaveItems[] = {C::kToolSave, C::kRcQuickSave, C::kRcSave};
constexpr C kLoadItems[] = {C::kToolLoad, C::kToolSaveEdit, C::kRcQuickLoad, C::kRcLoad};
constexpr C kAlwaysOn[] = {C::kToolExit, C::kToolSettings, C::kRcSettings, C::kRcLog};

TEST_F(MenusTest, SaveAndLoadFollowS000AndS028) {
  struct Case {
    int s000, s028;
    bool save, load;
  };
  const Case cases[] = {
      {0, 1, true, true},  {1, 1, false, true}, {2, 1, false, false}, {3, 1, false, false},
      {0, 0, false, true}, {1, 0, false, true}, {3, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "S000=" << c.s000 << " S028=" << c.s028);
    // Start from the opposite state, so that each rule has to act.
    for (C item : kSaveItems) menus().SetEnabled(item, !c.save);
    for (C item : kLoadItems) menus().SetEnabled(item, !c.load);
    for (C item : kAlwaysOn) menus().SetEnabled(item, false);
    SetS(0, c.s000);
    SetS(28, c.s028);
    menus().UpdateMenus();
    for (C item : kSaveItems) EXPECT_EQ(menus().Enabled(item), c.save) << Menus::Name(item);
    for (C item : kLoadItems) EXPECT_EQ(menus().Enabled(item), c.load) << Menus::Name(item);
    for (C item : kAlwaysOn) EXPECT_TRUE(menus().Enabled(item)) << Menus::Name(item);
    EXPECT_TRUE(menus().panel_enabled());
  }
}

TEST_F(MenusTest, ScriptAssignmentsOfS000AndS028UpdateTheMenus) {
  SetS(0, 0);
  menus().UpdateMenus();
  ASSERT_TRUE(menus().Enabled(C::kRcSave));
  // The assignment hook runs UpdateMenus for S000 and S028 only.
  Assign("S000=1", engine().banks(), engine());
  EXPECT_FALSE(menus().Enabled(C::kToolSave));
  EXPECT_FALSE(menus().Enabled(C::kRcQuickSave));
  EXPECT_TRUE(menus().Enabled(C::kRcLoad));
  Assign("S000=0;S028=0", engine().banks(), engine());
  EXPECT_FALSE(menus().Enabled(C::kRcSave));
  EXPECT_TRUE(menus().Enabled(C::kRcQuickLoad));
}

constexpr C kOffDuringBand[] = {C::kToolExit,     C::kToolSettings, C::kToolSave,    C::kToolLoad,
                                C::kToolSaveEdit, C::kRcQuickLoad,  C::kRcQuickSave, C::kRcLoad,
                                C::kRcSave,       C::kRcSettings};

TEST_F(MenusTest, BandOrNoticeDisablesTheToolbarAndTheSaveAndLoadItems) {
  SetS(0, 0);
  engine().menus_off = true;
  int changes = platform().toolbar_changes;
  menus().UpdateMenus();
  EXPECT_GT(platform().toolbar_changes, changes) << "the window is told to redraw the toolbar";
  for (C item : kOffDuringBand) EXPECT_FALSE(menus().Enabled(item)) << Menus::Name(item);
  EXPECT_FALSE(menus().panel_enabled());
  EXPECT_TRUE(menus().Enabled(C::kRcLog));
  EXPECT_TRUE(menus().Enabled(C::kRcAuto));
  for (const MenuEntry& b : menus().ToolbarButtons()) EXPECT_FALSE(b.enabled);
  // A click reaching a disabled panel does nothing.
  menus().ToolbarButtonClicked(static_cast<int>(C::kToolExit));
  EXPECT_TRUE(platform().opened.empty());

  engine().menus_off = false;
  menus().UpdateMenus();
  for (C item : kOffDuringBand) EXPECT_TRUE(menus().Enabled(item)) << Menus::Name(item);
  EXPECT_THAT(Captions(menus().ToolbarButtons()), ElementsAre("終了", "読込", "記録", "設定"));
}

TEST_F(MenusTest, AnsweringTheBandEnablesTheMenusAgain) {
  SetS(0, 0);
  menus().UpdateMenus();
  menus().Activate(C::kRcQuickLoad);
  ASSERT_EQ(engine().confirm_pending, 1);
  ASSERT_FALSE(menus().panel_enabled());
  engine().confirmations().AnswerConfirm(MouseButton::Right, false);  // "no"
  EXPECT_EQ(engine().confirm_pending, 0);
  EXPECT_TRUE(menus().panel_enabled());
  for (C item : kOffDuringBand) EXPECT_TRUE(menus().Enabled(item)) << Menus::Name(item);
}

TEST_F(MenusTest, ReturnToTitleAsksWithTheBandWhichDisablesTheMenus) {
  for (C item : {C::kSysTitle, C::kRcTitle}) {
    SCOPED_TRACE(Menus::Name(item));
    engine().confirmations().AnswerConfirm(MouseButton::Right, false);
    ASSERT_TRUE(menus().panel_enabled());
    menus().Activate(item);
    EXPECT_EQ(engine().confirm_pending, 3);
    EXPECT_FALSE(menus().panel_enabled());
    EXPECT_FALSE(menus().Enabled(C::kRcSave));
  }
}

TEST_F(MenusTest, QuickLoadAsksBeforeLoading) {
  SetS(0, 0);
  menus().UpdateMenus();
  menus().Activate(C::kRcQuickLoad);
  EXPECT_EQ(engine().confirm_pending, 1);
}

TEST_F(MenusTest, AutoModeFromTheMenu) {
  struct Case {
    int s027, level;
  };
  for (Case c : {Case{0, 4}, Case{7, 7}}) {
    SCOPED_TRACE(c.s027);
    SetS(26, 0);
    SetS(27, c.s027);
    menus().Activate(C::kRcAuto);
    EXPECT_EQ(S(26), c.level);
    EXPECT_EQ(engine().AutoLevel(), c.level);
    EXPECT_EQ(S(27), c.level);
  }
}

TEST_F(MenusTest, SkipFromTheMenu) {
  ASSERT_FALSE(engine().skip_mode);
  menus().Activate(C::kRcSkip);
  EXPECT_TRUE(engine().skip_mode);
  EXPECT_EQ(S(60), 2);
}

TEST_F(MenusTest, DisabledItemDoesNothing) {
  SetS(27, 0);
  SetS(26, 0);
  menus().SetEnabled(C::kRcAuto, false);
  menus().Activate(C::kRcAuto);
  EXPECT_EQ(S(26), 0);
}

TEST_F(MenusTest, RightClickMenuOpensBesideThePointerWithItsFourItemsEnabled) {
  SetS(0, 2);  // no saving or loading
  menus().UpdateMenus();
  for (C item : {C::kRcAuto, C::kRcSkip, C::kRcHideWindow, C::kRcReplayVoice}) {
    menus().SetEnabled(item, false);
  }
  engine().subsystems().OpenRightClickMenu(100, 200);
  ASSERT_EQ(platform().opened.size(), 1u);
  const MenuPlatform::Opened& o = platform().opened[0];
  EXPECT_EQ(o.kind, PopupMenuKind::RightClick);
  EXPECT_EQ(o.x, 116);
  EXPECT_EQ(o.y, 200);
  EXPECT_THAT(Captions(o.entries),
              ElementsAre("自動送り", "スキップ", "ログ", "ウィンドウ消去", "直前の音声を再生",
                          "-クイックロード", "-クイックセーブ", "-ロード", "-セーブ", "設定",
                          "タイトルへ戻る", "終了"));
  // Dismissed without a choice: the flag stays until a click or the next right click.
  EXPECT_TRUE(engine().popup_open);
}

TEST_F(MenusTest, MostRightClickItemsClearThePopupFlag) {
  struct Case {
    C item;
    bool flag_after;
  };
  const Case cases[] = {
      {C::kRcAuto, true},         {C::kRcSkip, true},       {C::kRcTitle, true},
      {C::kRcExit, true},         {C::kRcLog, false},       {C::kRcHideWindow, false},
      {C::kRcReplayVoice, false}, {C::kRcQuickSave, false}, {C::kRcSettings, false},
      {C::kRcLoad, false},        {C::kRcSave, false},      {C::kRcQuickLoad, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Menus::Name(c.item));
    // The backlog and the hidden window that the items before opened hold the menus.
    engine().log_view().CloseLogView();
    engine().screen_pauses().ShowWindow();
    if (engine().confirm_pending != 0)
      engine().confirmations().AnswerConfirm(MouseButton::Right, false);
    SetS(0, 0);
    menus().UpdateMenus();
    engine().popup_open = false;
    platform().answer = static_cast<int>(c.item);
    menus().OpenRightClickMenu(10, 10);
    EXPECT_EQ(engine().popup_open, c.flag_after);
  }
}

TEST_F(MenusTest, AChoiceFromAnotherMenuIsIgnored) {
  SetS(26, 0);
  SetS(27, 3);
  platform().answer = static_cast<int>(C::kRcAuto);  // not an item of the system menu
  menus().Activate(C::kToolExit);
  ASSERT_EQ(platform().opened.size(), 1u);
  EXPECT_EQ(S(26), 0);
}

TEST_F(MenusTest, ExitButtonEndsAutoAndSkipAndOpensTheSystemMenu) {
  SetS(26, 5);
  engine().skip_mode = true;
  menus().Activate(C::kToolExit);
  EXPECT_EQ(S(26), 0);
  EXPECT_FALSE(engine().skip_mode);
  ASSERT_EQ(platform().opened.size(), 1u);
  EXPECT_EQ(platform().opened[0].kind, PopupMenuKind::System);
  EXPECT_THAT(Captions(platform().opened[0].entries), ElementsAre("タイトルへ戻る", "ゲーム終了"));

  // The replay items appear when a replay shows them.
  menus().SetVisible(C::kSysSceneSkip, true);
  menus().SetVisible(C::kSysReplayEnd, true);
  menus().Activate(C::kToolExit);
  ASSERT_EQ(platform().opened.size(), 2u);
  EXPECT_THAT(Captions(platform().opened[1].entries),
              ElementsAre("タイトルへ戻る", "ゲーム終了", "シーンスキップ", "回想モード終了"));
  engine().subsystems().ResetTitleMenus();
  EXPECT_FALSE(menus().Visible(C::kSysSceneSkip));
  EXPECT_FALSE(menus().Visible(C::kSysReplayEnd));
}

TEST_F(MenusTest, BusyIgnoresTheExitAndSettingsButtons) {
  engine().busy = true;
  SetS(26, 5);
  menus().Activate(C::kToolExit);
  menus().Activate(C::kToolSettings);
  EXPECT_TRUE(platform().opened.empty());
  EXPECT_EQ(S(26), 5);
  engine().busy = false;
  menus().Activate(C::kToolSettings);
  EXPECT_EQ(S(26), 0) << "the settings button ends auto mode first";
}

TEST_F(MenusTest, GameExitFromTheSystemMenuClosesAfterTheQuestion) {
  platform().answer = static_cast<int>(C::kSysExit);
  platform().close_answer = false;
  menus().Activate(C::kToolExit);
  EXPECT_FALSE(engine().closed()) << "Cancel keeps the game";
  platform().close_answer = true;
  menus().Activate(C::kToolExit);
  EXPECT_TRUE(engine().closed());
}

TEST_F(MenusTest, ReturnToTitleResetsTheSaveAndLoadItems) {
  for (C item : {C::kRcQuickLoad, C::kRcQuickSave, C::kRcLoad, C::kRcSave}) {
    menus().SetEnabled(item, false);
  }
  menus().SetVisible(C::kSysSceneSkip, true);
  menus().ResetTitleMenus();
  for (C item : {C::kRcQuickLoad, C::kRcQuickSave, C::kRcLoad, C::kRcSave}) {
    EXPECT_TRUE(menus().Enabled(item)) << Menus::Name(item);
  }
  EXPECT_FALSE(menus().Visible(C::kSysSceneSkip));
}

TEST_F(MenusTest, StateDumpListsEveryControl) {
  SetS(0, 1);
  menus().UpdateMenus();
  const std::string s = menus().StateJson().dump();
  EXPECT_THAT(s, ::testing::HasSubstr(
                     R"("toolbar_save":{"caption":"記録","enabled":false,"visible":true})"));
  EXPECT_THAT(
      s, ::testing::HasSubstr(
             R"("toolbar_save_edit":{"caption":"セーブ編集","enabled":true,"visible":false})"));
}

}  // namespace
}  // namespace quill
