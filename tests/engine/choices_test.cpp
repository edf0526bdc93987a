// select, clickmap and the recorder on the real engine (headless): geometry, hover, keys, the
// confirmation's jump, the time-out, zone cursors and pop-ups.
#include "engine/choices.h"

#include <gtest/gtest.h>

#include "platform/keys.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill::test {
namespace {

constexpr int kPlateW = 200, kPlateH = 30;
constexpr Bgr kPlate{200, 0, 0}, kLit{0, 0, 200};
// A plate drawn through its opaque mask: each byte × 255 / 256.
constexpr Bgr Drawn(Bgr c) { return {c.b * 255 >> 8, c.g * 255 >> 8, c.r * 255 >> 8}; }

// A stacked plate: the colour above, an opaque mask below.
Picture Plate(int w, int h, Bgr c) {
  Picture p(w, 2 * h);
  p.FillRect({0, 0, w, h}, static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g),
             static_cast<uint8_t>(c.r));
  p.FillRect({0, h, w, h}, 255, 255, 255);
  return p;
}

class ChoiceGame {
 public:
  explicit ChoiceGame(const std::string& config = "") {
    f_.game().Script(
        "_config",
        "SELECT_Y_POS:300\nSELECT_Y_PITCH:40\nSELECT_EXPAND:8\nFONT_SIZE:20\n"
        "TX2_OFS_Y:20\nTX2_PITCH_Y:40\nTX_PITCH_X:13\nTX_PITCH_Y:30\n"
        "MOJI_MAX_X:50\nMOJI_MAX_Y:4\nTX2_PITCH_X:13\nMOJI_MAX2_X:50\nMOJI_MAX2_Y:12\n" +
            config);
    f_.game()
        .Resource("mg_gra.qlm", "sys_sw", Packed(Plate(kPlateW, kPlateH, kPlate)))
        .Resource("mg_gra.qlm", "sys_sw2", Packed(Plate(kPlateW, kPlateH, kLit)))
        .Resource("mg_gra.qlm", "sys_sww", Packed(Plate(600, kPlateH, kPlate)))
        .Resource("mg_gra.qlm", "sys_sww2", Packed(Plate(600, kPlateH, kLit)));
  }
  ScriptFixture& fixture() { return f_; }
  FixtureGame& game() { return f_.game(); }

  Engine& Start(const std::string& main) {
    Engine& e = f_.StartMain(main);
    f_.Frames(3);
    return e;
  }
  // A click as the player makes it: the pointer moves there, then the button goes down.
  void Click(int x, int y) {
    Engine& e = f_.engine();
    e.OnMouseMove(x, y);
    e.OnMouseDown(MouseButton::Left, x, y);
    e.OnMouseUp(MouseButton::Left, x, y);
  }
  // Frames until the script holds at a page wait (or n frames).
  void RunToWait(int n = 200) {
    for (int i = 0; i < n && f_.engine().wait_kind == 0; ++i) f_.Frame();
  }
  // The last line of text the log holds (the page wait leaves an empty line after it).
  std::string LastLog() {
    std::vector<std::string> log = f_.Log();
    while (!log.empty() && log.back().empty()) log.pop_back();
    return log.empty() ? "" : log.back();
  }

 private:
  ScriptFixture f_;
};

constexpr const char* kThreeChoices =
    "*select\n{First\n一番目\n\\\n{(V001==1)Second\n二番目\n\\\n{Third\n三番目\n\\\n}\n"
    "後\n\\\n";

TEST(SelectTest, FalseConditionRenumbersAndTheSecondRunsTheThirdBlock) {
  ChoiceGame g;
  Engine& e = g.Start(kThreeChoices);
  ASSERT_EQ(e.choice_mode, kChoiceWindow);
  Choices& c = e.choices();
  ASSERT_EQ(c.count(), 2);
  EXPECT_EQ(c.entry(2).zone.name, "Third");
  // Two rows centred on 300: 280 and 320.
  EXPECT_EQ(c.choices_top(), 260);
  g.Click(400, 260 + 40 + 5);
  EXPECT_EQ(e.choice_mode, kChoiceNone);
  g.RunToWait();
  EXPECT_EQ(g.LastLog(), "三番目");
}

TEST(SelectTest, WindowLayoutGeometryAndHover) {
  ChoiceGame g;
  Engine& e = g.Start("*select\n{a\n{b\n{c\n{d\n}\n");
  Choices& c = e.choices();
  ASSERT_EQ(c.count(), 4);
  EXPECT_EQ(c.choices_top(), 220);
  EXPECT_EQ(c.plate_width(), kPlateW);  // short texts take the narrow plates
  EXPECT_EQ(c.plate_left(), 300);
  struct Case {
    int x, y, hover;
  };
  const Case cases[] = {{400, 220, 0}, {400, 221, 1}, {400, 259, 1}, {400, 260, 2}, {400, 379, 4},
                        {400, 380, 0}, {300, 250, 0}, {301, 250, 1}, {499, 250, 1}, {500, 250, 0}};
  for (const Case& k : cases) {
    e.OnMouseMove(k.x, k.y);
    EXPECT_EQ(c.hover_index(), k.hover) << k.x << "," << k.y;
  }
  // The hovered row shows the lit plate, the others the plain one; the plates are in the screen.
  e.OnMouseMove(400, 265);
  const Picture& shown = g.fixture().platform().display();
  EXPECT_EQ(At(shown, 310, 265), Drawn(kLit));
  EXPECT_EQ(At(shown, 310, 225), Drawn(kPlate));
  EXPECT_EQ(At(e.screen(), 310, 265), Drawn(kPlate));
}

TEST(SelectTest, WidePlatesForLongTextsAndTheFullScreenLayout) {
  ChoiceGame g;
  Engine& e = g.Start("*select\n{sixteen bytes!!!\n{b\n}\n");
  EXPECT_EQ(e.choices().plate_width(), 600);

  ChoiceGame full;
  Engine& f = full.Start("!S150=1\n*select\n{a\n{b\n}\n");
  ASSERT_EQ(f.choice_mode, kChoiceFullScreen);
  const ChoiceEntry& second = f.choices().entry(2);
  // Rows from the text row (0 here), TX2_PITCH_Y apart from TX2_OFS_Y, on the wide plate.
  EXPECT_EQ(
      (std::vector<int>{second.zone.left, second.zone.top, second.zone.right, second.zone.bottom}),
      (std::vector<int>{100, 60, 700, 90}));
  f.OnMouseMove(400, 75);
  EXPECT_EQ(f.choices().hover_index(), 2);
  EXPECT_EQ(At(full.fixture().platform().display(), 110, 75), Drawn(kLit));
}

TEST(SelectTest, NarrowPlatesWithoutWideOnes) {
  ChoiceGame g("SELECT_EXPAND:0\n");
  Engine& e = g.Start("*select\n{a long text of many bytes\n}\n");
  EXPECT_EQ(e.choices().plate_width(), kPlateW);
}

TEST(SelectTest, SlotTextResumesAfterTheDigit) {
  ChoiceGame g;
  Engine& e = g.Start("*string 3 スロット\n*select\n{$3\n続き\n\\\n}\n");
  ASSERT_EQ(e.choices().count(), 1);
  EXPECT_EQ(SjisToUtf8Lossy(e.choices().entry(1).zone.name), "スロット");
  int row = e.page_grid().row;
  g.Click(400, 300);
  g.RunToWait();
  EXPECT_EQ(g.LastLog(), "続き");
  EXPECT_EQ(e.page_grid().row, row + 2);  // the empty rest of the line, then the text
}

TEST(SelectTest, UpAndDownKeys) {
  ChoiceGame g;
  Engine& e = g.Start("*select\n{a\n{b\n{c\n}\n");
  Choices& c = e.choices();
  e.OnMouseMove(10, 10);
  struct Step {
    int key, hover;
  };
  const Step steps[] = {{kKeyDown, 3}, {kKeyUp, 2},   {kKeyUp, 1},  {kKeyUp, 1},
                        {kKeyDown, 2}, {kKeyDown, 3}, {kKeyDown, 3}};
  for (const Step& s : steps) {
    e.OnKeyDown(s.key);
    e.OnKeyUp(s.key);
    EXPECT_EQ(c.hover_index(), s.hover);
  }
  int x = 0, y = 0;
  g.fixture().platform().GetPointer(x, y);
  EXPECT_EQ(x, 300 + kPlateW - 7);
  EXPECT_EQ(y, c.choices_top() + 31 + 2 * 40);  // a row of SELECT_Y_PITCH per step
}

TEST(SelectTest, ClicksOutsideAndDuringTheDebounceDoNothing) {
  ChoiceGame g;
  Engine& e = g.Start("*select\n{a\n{b\n}\n");
  g.Click(100, 100);
  EXPECT_EQ(e.choice_mode, kChoiceWindow);
  g.Click(400, 290);  // within five passes of the last click
  EXPECT_EQ(e.choice_mode, kChoiceWindow);
  g.fixture().Frames(5);
  g.Click(400, 290);
  EXPECT_EQ(e.choice_mode, kChoiceNone);
}

TEST(SelectTest, ConfirmationFlashesTheRowAndRestoresTheScreen) {
  ChoiceGame g;
  Engine& e = g.Start("*select\n{a\n{b\n}\n");
  Picture before = e.screen();
  uint32_t t0 = g.fixture().platform().NowMs();
  g.Click(400, 290);
  EXPECT_GE(g.fixture().platform().NowMs() - t0, 400u);  // four steps of 100 ms
  EXPECT_EQ(At(g.fixture().platform().display(), 310, 290), At(before, 310, 100));
}

// Route recording: three choices, then the same route replayed from rec.
TEST(RecorderTest, RecordsARouteAndReplaysIt) {
  const std::string route =
      "*rec\n"
      "*select\n{a1\n!V010=1\n{a2\n!V010=2\n}\n"
      "*select\n{b1\n!V011=1\n{b2\n!V011=2\n{b3\n!V011=3\n}\n"
      "*select\n{c1\n!V012=1\n{c2\n!V012=2\n}\n"
      "!G1=V010*10+V011*10+V012\n"  // left to right: (a × 10 + b) × 10 + c
      "\\\n";
  ChoiceGame g;
  Engine& e = g.Start(route);
  const int clicks[][2] = {{400, 320}, {400, 340}, {400, 270}};  // 2, 3, 1
  for (const auto& c : clicks) {
    g.fixture().Frames(6);
    g.Click(c[0], c[1]);
  }
  g.RunToWait();
  EXPECT_EQ(e.banks().G(1), 231);
  EXPECT_EQ(e.banks().S(151), kRecorderRecord);
  EXPECT_EQ(e.banks().S(152), 3);
  EXPECT_EQ(e.recorder().recorded(1), 3);

  // Replay: S151 = 2 and back to the start; rec clears V and starts the replay over.
  e.banks().SetG(1, 0);
  e.banks().SetS(151, kRecorderReplay);
  e.main_script().read_position = 0;
  e.wait_kind = 0;
  g.RunToWait(400);
  EXPECT_EQ(e.banks().G(1), 231);
  // The route ran out at its last choice: recording went on and took that choice again.
  EXPECT_EQ(e.banks().S(151), kRecorderRecord);
  EXPECT_EQ(e.banks().S(152), 4);
  EXPECT_EQ(e.banks().S(153), 3);
}

TEST(RecorderTest, ReplayHandsOverToRecordingAfterTheLastChoice) {
  ChoiceGame g;
  Engine& e = g.Start("!V001=0\n\\\n*select\n{x1\n{x2\n}\n*select\n{y1\n{y2\n}\n\\\n");
  ValueBanks& b = e.banks();
  // Recorded {2, 1}: the first is replayed with a 14-step flash, the second hands over to
  // recording first and flashes 4 steps.
  e.recorder().Record(b, 2);
  e.recorder().Record(b, 1);
  b.SetS(151, kRecorderReplay);
  b.SetS(152, 2);
  b.SetS(153, 0);
  e.wait_kind = 0;
  uint32_t t0 = g.fixture().platform().NowMs();
  g.RunToWait(400);
  EXPECT_GE(g.fixture().platform().NowMs() - t0, 1400u + 400u);
  EXPECT_EQ(b.S(151), kRecorderRecord);
  EXPECT_EQ(b.S(152), 3);  // the second confirmation is recorded after the hand-over
  EXPECT_EQ(e.recorder().recorded(2), 1);
}

TEST(RecorderTest, TheTableLimitStopsRecording) {
  ValueBanks b;
  ChoiceRecorder r;
  b.SetS(151, kRecorderRecord);
  b.SetS(152, kRecordedChoiceLimit);
  r.Record(b, 1);
  EXPECT_EQ(b.S(151), kRecorderOff);
  EXPECT_EQ(b.S(152), kRecordedChoiceLimit);
  // A replay position outside the table replays nothing and records from the table's end.
  b.SetS(151, kRecorderReplay);
  b.SetS(153, 9999);
  EXPECT_EQ(r.ReplayNext(b), 0);
  EXPECT_EQ(b.S(151), kRecorderRecord);
  EXPECT_EQ(b.S(152), kRecordedChoiceLimit);
}

// A click map over a 800 × 700 parts picture: the colour map above, a pop-up strip below.
class ClickMapGame : public ChoiceGame {
 public:
  ClickMapGame() {
    Picture parts(800, 700);
    parts.FillRect({100, 100, 100, 100}, 0x4F, 0x2F, 0xF3);  // colour $F24 (low nibbles ignored)
    parts.FillRect({300, 100, 100, 100}, 0x10, 0xF0, 0x10);  // colour $1F1
    parts.FillRect({500, 100, 100, 100}, 0, 255, 255);       // *lamp's lit picture
    parts.FillRect({500, 300, 100, 100}, 255, 255, 0);       // #shelf's lit picture
    parts.FillRect({0, 600, 50, 50}, 255, 0, 255);           // #shelf's pop-up
    game().Resource("mg_gra.qlm", "ROOMMAP", Packed(parts));
    game().Script("map",
                  ":room\n6\n$F24,2\n$1f1,5\n*lamp,500,100,600,200\n"
                  "#shelf,500,300,600,400,0,600,50,650,10,10\n*door,650,300,750,400\n"
                  "timer,0,0,0,0\n");
  }
};

constexpr const char* kRoom =
    "*partsload ROOMMAP\n*clickmap "
    "room\n{\n赤\n\\\n{\n緑\n\\\n{\n灯\n\\\n{\n棚\n\\\n{\n扉\n\\\n{@5\n時間\n\\\n}\n";

TEST(ClickMapTest, ColourZonesShowTheirCursors) {
  ClickMapGame g;
  Engine& e = g.Start(kRoom);
  ASSERT_EQ(e.choice_mode, kChoiceClickMap);
  HeadlessPlatform& p = g.fixture().platform();
  struct Case {
    int x, y, hover, cursor;
  };
  // A rectangle zone keeps the cursor of the colour zone before it; no zone gives the arrow.
  const Case cases[] = {{150, 150, 1, 31},
                        {350, 150, 2, 34},
                        {550, 150, 3, 34},
                        {10, 500, 0, kDefaultCursor},
                        {150, 150, 1, 31}};
  for (const Case& c : cases) {
    e.OnMouseMove(c.x, c.y);
    EXPECT_EQ(e.choices().hover_index(), c.hover) << c.x;
    EXPECT_EQ(p.shown_cursor(), c.cursor) << c.x;
  }
  g.Click(150, 150);
  g.RunToWait();
  EXPECT_EQ(g.LastLog(), "赤");
  EXPECT_EQ(p.shown_cursor(), kDefaultCursor);  // the arrow again once the map is done
}

TEST(ClickMapTest, LitZonesAndPopUps) {
  ClickMapGame g;
  Engine& e = g.Start(kRoom);
  const Picture& shown = g.fixture().platform().display();
  const Bgr room = At(e.screen(), 550, 150);
  e.OnMouseMove(550, 150);
  EXPECT_EQ(At(shown, 550, 150), (Bgr{0, 255, 255}));
  e.OnMouseMove(550, 350);  // straight to the shelf: the lamp goes out, the pop-up shows
  EXPECT_EQ(At(shown, 550, 150), room);
  EXPECT_EQ(At(shown, 550, 350), (Bgr{255, 255, 0}));
  EXPECT_EQ(At(shown, 20, 20), (Bgr{255, 0, 255}));
  e.OnMouseMove(700, 350);  // the next zone: the pop-up stays
  EXPECT_EQ(e.choices().hover_index(), 5);
  EXPECT_EQ(At(shown, 20, 20), (Bgr{255, 0, 255}));
  e.OnMouseMove(450, 500);  // no zone: a whole redraw removes it
  EXPECT_EQ(At(shown, 20, 20), At(e.screen(), 20, 20));
}

TEST(ClickMapTest, TheTimeOutTakesItsChoice) {
  ClickMapGame g;
  Engine& e = g.Start(kRoom);
  // 5 × 20 ticks from the building (before the first tick), some of them gone already.
  int left = e.choices().timeout_ticks();
  EXPECT_EQ(left + static_cast<int>(e.tick_counter), 100);
  EXPECT_EQ(e.choices().timeout_choice(), 6);
  for (int tick = 0; tick < left - 1; ++tick) e.OnTimer();
  EXPECT_EQ(e.choice_mode, kChoiceClickMap);
  e.OnTimer();
  EXPECT_EQ(e.choice_mode, kChoiceNone);
  g.RunToWait();
  EXPECT_EQ(g.LastLog(), "時間");
}

TEST(ClickMapTest, SmallColourMapAndZonesOffTheScreen) {
  ChoiceGame g;
  Picture parts(100, 100);
  parts.Fill(0x0F, 0xF0, 0x0F);  // colour $0F0 everywhere the small map reaches
  g.game().Resource("mg_gra.qlm", "SMALL", Packed(parts));
  g.game().Script("map", ":m\n2\n$0F0,1\n*far,700,500,2000000000,-5\n");
  Engine& e = g.Start("*partsload SMALL\n*clickmap m\n{\n{\n}\n");
  e.OnMouseMove(50, 50);
  EXPECT_EQ(e.choices().hover_index(), 1);
  e.OnMouseMove(500, 200);  // outside the colour map: no colour there
  EXPECT_EQ(e.choices().hover_index(), 0);
  EXPECT_EQ(g.fixture().platform().shown_cursor(), kDefaultCursor);
  // The far zone reaches past the screen; lighting it copies what the parts picture has.
  e.OnMouseMove(750, 100);
  EXPECT_EQ(e.choices().hover_index(), 2);
  g.fixture().Frames(6);
  g.Click(750, 100);
  EXPECT_EQ(e.choice_mode, kChoiceNone);
}

TEST(ClickMapTest, MissingMapGivesNoZones) {
  ChoiceGame g;
  Engine& e = g.Start("*clickmap nowhere\n{\nx\n}\n");
  EXPECT_EQ(e.choice_mode, kChoiceClickMap);
  EXPECT_EQ(e.choices().count(), 0);
  g.Click(400, 300);
  EXPECT_EQ(e.choice_mode, kChoiceClickMap);
}

TEST(SwitchTest, TakesTheDefaultWhenNoCaseHolds) {
  ChoiceGame g;
  Engine& e = g.Start("!V001=2\n*switch\n{(V001==1)\n一\n\\\n{\n既定\n\\\n{(V001==2)\n二\n\\\n}\n");
  g.RunToWait();
  EXPECT_EQ(g.LastLog(), "既定");
  (void)e;
}

TEST(CgfullTest, MarksEveryListedPicture) {
  ChoiceGame g;
  Engine& e = g.Start("\\\n*cgfull\n\\\n");
  e.gallery_pictures().list = {"CG01", "CG02", "CG03"};
  e.wait_kind = 0;
  g.RunToWait();
  EXPECT_TRUE(e.gallery_pictures().seen.Test(2));
  EXPECT_FALSE(e.gallery_pictures().seen.Test(3));
}

}  // namespace
}  // namespace quill::test
