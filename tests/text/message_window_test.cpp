// The message window on a running engine: pixels on the screen buffer and the display.
#include "text/message_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/text/message_window_fixture.h"

namespace quill::test {
namespace {

struct Placed {
  std::string ch;  // UTF-8
  int row, column;
};

// The window over the scene with the given characters drawn where they belong, in order.
Picture ExpectedPage(Engine& e, const std::vector<Placed>& chars) {
  Picture expected = e.pictures().scene;
  CopyPicture(expected, kWinX, kWinY, e.message_window().window_image());
  for (const Placed& p : chars) {
    e.glyph_renderer().RenderGlyph(Utf8ToSjisLossy(p.ch));
    e.glyph_drawing().PutGlyph(expected, WindowFixture::CellX(p.column),
                               WindowFixture::CellY(p.row));
  }
  return expected;
}

// True when the rows [y0, y1) of two pictures are the same.
bool SameRows(const Picture& a, const Picture& b, int y0, int y1) {
  for (int y = y0; y < y1; ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.stride(), b.Row(y))) return false;
  }
  return true;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// 25 あ fill row 1 from column 2 to column 50; the next character is met at column 52.
std::vector<Placed> FullRow() {
  std::vector<Placed> chars;
  for (int k = 0; k < 25; ++k) chars.push_back({"あ", 1, 2 + 2 * k});
  return chars;
}
std::vector<Placed> Plus(std::vector<Placed> a, const std::vector<Placed>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(MessageWindowTest, TypedCharactersLandInTheirCellsOnTheScreenAndTheDisplay) {
  struct Case {
    const char* what;
    std::string line;
    std::vector<Placed> chars;
    int continue_waits = 0;  // released as a click would
  } cases[] = {
      {"indent", "あいう", {{"あ", 1, 2}, {"い", 1, 4}, {"う", 1, 6}}},
      {"bracket", "「あい", {{"「", 1, 0}, {"あ", 1, 2}, {"い", 1, 4}}},
      {"hanging 。", Repeat("あ", 25) + "。", Plus(FullRow(), {{"。", 1, 52}})},
      {"wrap", Repeat("あ", 25) + "い", Plus(FullRow(), {{"い", 2, 2}})},
      {"dropped space", Repeat("あ", 25) + "。　い",
       Plus(FullRow(), {{"。", 1, 52}, {"い", 2, 2}})},
      // (a new page, as the first character of a closed window starts one, ends the wide advance)
      {"wide advance",
       "え\n[2]あい[1]う",
       {{"え", 1, 2}, {"あ", 2, 2}, {"い", 2, 5}, {"う", 2, 8}}},
      {"new page mark", "あい▽う\nえ", {{"え", 1, 2}}},
      {"percent", "あ%い", {{"あ", 1, 2}, {"い", 1, 4}}},
      {"percent 3", "あ%3い", {{"あ", 1, 2}, {"い", 1, 4}}},
      {"page mark mid-line", "あ▼い\nう", {{"あ", 1, 2}}},
      {"continue mark mid-line", "あ〓い", {{"あ", 1, 2}, {"い", 1, 4}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowFixture f;
    Engine& e = f.StartWith(c.line + "\n\\\n");
    f.FramesToWait();
    for (int k = 0; k < c.continue_waits; ++k) {
      ASSERT_EQ(e.wait_kind, kWaitContinue);
      e.wait_kind = 0;
      f.FramesToWait();
    }
    ASSERT_EQ(e.wait_kind, kWaitPage);
    Picture expected = ExpectedPage(e, c.chars);
    const Picture& screen = e.pictures().screen;
    // Rows 1 and 2 of the page (the name plate and the quick-button strip lie elsewhere).
    int y0 = WindowFixture::CellY(1), y1 = WindowFixture::CellY(2) + kGlyphCellHeight;
    EXPECT_TRUE(SameRows(screen, expected, y0, y1)) << WindowFixture::Keep(screen, c.what);
    EXPECT_TRUE(SameRows(f.platform().display(), screen, y0, y1))
        << WindowFixture::Keep(f.platform().display(), std::string(c.what) + "-display");
  }
}

TEST(MessageWindowTest, TheWindowIsTheSkinBlendedOverTheScene) {
  WindowFixture f;
  Engine& e = f.StartWith("あ\n\\\n");
  f.FramesToWait();
  Bgr window = WindowFixture::WindowOver(WindowFixture::kScene);
  // Away from the text, the plate and the icon: inside the window, and the scene above it.
  EXPECT_EQ(At(e.pictures().screen, 600, 500), window);
  EXPECT_EQ(At(f.platform().display(), 600, 500), window);
  EXPECT_EQ(At(f.platform().display(), 600, kWinY - 1), WindowFixture::kScene);
  EXPECT_EQ(At(f.platform().display(), 600, kWinY), window);
  EXPECT_TRUE(e.message_window().window_cache_valid());
  EXPECT_TRUE(e.window_open);
  EXPECT_EQ(e.window_state, 1);
}

TEST(MessageWindowTest, ThePlateTakesTheSpeakersColour) {
  struct Case {
    std::string lines;  // up to the name line
    const char* name;   // on the plate
    uint32_t colour;    // red in the low byte
  } cases[] = {{">ユキ", "ユキ", 0x0000FF},
               {">ハル", "ハル", 0x00FF00},
               {">ナツ", "ナツ", 0xFFFFFF},  // not in the table: white
               {"*string 0 ユキ\n>＄０", "ユキ", 0x0000FF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    WindowFixture f;
    Engine& e = f.StartWith(c.lines + "\nあ\n\\\n");
    f.FramesToWait();
    EXPECT_EQ(static_cast<uint32_t>(e.banks().S(37)), c.colour);
    EXPECT_EQ(SjisToUtf8Lossy(e.message_window().speaker_name()), c.name);
    // The plate: the clean plate with the name centred on it in the speaker's colour.
    Picture plate = e.message_window().clean_plate();
    e.glyph_drawing().DrawGlyphText(Utf8ToSjisLossy(c.name), kPlateW / 2 - 12, plate, 0, 5);
    Picture shown(kPlateW, kPlateH);
    CopyRect(shown, 0, 0, f.platform().display(), kPlateX, kPlateY, kPlateW, kPlateH);
    EXPECT_TRUE(shown == plate) << WindowFixture::Keep(shown, std::string("plate-") + c.name);
    // The brightest pixel of the typed character is the speaker's colour at full coverage.
    const Picture& screen = e.pictures().screen;
    Bgr brightest{0, 0, 0};
    for (int y = WindowFixture::CellY(1); y < WindowFixture::CellY(1) + kGlyphCellHeight; ++y) {
      for (int x = WindowFixture::CellX(2); x < WindowFixture::CellX(2) + kGlyphCellWidth; ++x) {
        Bgr p = At(screen, x, y);
        if (p.b + p.g + p.r > brightest.b + brightest.g + brightest.r) brightest = p;
      }
    }
    Bgr full{static_cast<int>((c.colour >> 16) & 0xFF) * 255 >> 8,
             static_cast<int>((c.colour >> 8) & 0xFF) * 255 >> 8,
             static_cast<int>(c.colour & 0xFF) * 255 >> 8};
    EXPECT_EQ(brightest, full);
  }
  // While the page-back view shows an old page the plate is yellow whoever speaks.
  WindowFixture f;
  Engine& e = f.StartWith(">ユキ\nあ\n\\\n");
  f.FramesToWait();
  e.screen_mode = 9;
  e.message_window().DrawNamePlate(Utf8ToSjisLossy("ユキ"));
  EXPECT_EQ(static_cast<uint32_t>(e.banks().S(37)), 0x00FFFFu);
}

TEST(MessageWindowTest, ANewPageBringsBackTheClearWindowAndWhiteText) {
  WindowFixture f;
  Engine& e = f.StartWith(">ユキ\nあいう\n\\\nえ\n\\\n");
  f.FramesToWait();
  e.wait_kind = 0;
  e.NewPage();
  EXPECT_EQ(static_cast<uint32_t>(e.banks().S(37)), 0xFFFFFFu);
  EXPECT_TRUE(e.message_window().speaker_name().empty());
  Picture clean = ExpectedPage(e, {});
  EXPECT_TRUE(SameRows(f.platform().display(), clean, kWinY, kWinY + kWinH))
      << WindowFixture::Keep(f.platform().display(), "new-page");
  f.FramesToWait();
  EXPECT_TRUE(SameRows(e.pictures().screen, ExpectedPage(e, {{"え", 1, 2}}), kWinY, kWinY + kWinH));
}

TEST(MessageWindowTest, RedrawPageRepaintsThePageOverAFreshWindow) {
  WindowFixture f;
  Engine& e = f.StartWith(">ハル\n「あい<るび>う\n\\\n");
  f.FramesToWait();
  Picture before = e.pictures().screen;
  e.message_window().InvalidateWindowCache();
  e.pictures().screen.Fill(0, 0, 0);
  e.subsystems().ComposeWindow();
  e.subsystems().PresentWindow();
  // Everything but the ruby, which lives only until the page is drawn again.
  Picture after = e.pictures().screen;
  Picture expected = before;
  Picture page = ExpectedPage(e, {{"「", 1, 0}, {"あ", 1, 2}, {"い", 1, 4}, {"う", 1, 6}});
  CopyRect(expected, 0, kWinY, page, 0, kWinY, kWinW, kWinH);
  Picture plate = e.message_window().clean_plate();
  e.glyph_drawing().DrawGlyphText(Utf8ToSjisLossy("ハル"), kPlateW / 2 - 12, plate, 0, 5);
  CopyPicture(expected, kPlateX, kPlateY, plate);
  EXPECT_TRUE(SameRows(after, expected, kWinY, kWinY + kWinH))
      << WindowFixture::Keep(after, "redraw");
  EXPECT_FALSE(SameRows(before, after, WindowFixture::CellY(1) - 7, WindowFixture::CellY(1)))
      << "the ruby above the text is gone after the redraw";
}

TEST(MessageWindowTest, RubyIsDrawnWhiteAboveTheIndentedText) {
  WindowFixture f;
  Engine& e = f.StartWith("え\n<かな>漢字\n\\\n");
  f.FramesToWait();
  // At the start of row 2 the reading starts 3 pixels right of column 2, 7 pixels above the row.
  int x0 = WindowFixture::CellX(2) + 3, y0 = WindowFixture::CellY(2) - 7;
  Bgr window = WindowFixture::WindowOver(WindowFixture::kScene);
  int lit = 0;
  for (int y = y0; y < y0 + 7; ++y) {
    for (int x = x0; x < x0 + 30; ++x) {
      Bgr p = At(f.platform().display(), x, y);
      EXPECT_EQ(p, At(e.pictures().screen, x, y));
      // White over the window: every channel moves up by the same share of its distance.
      if (p.r > window.r + 20) {
        ++lit;
        EXPECT_GT(p.g, window.g);
        EXPECT_GT(p.b, window.b);
      }
    }
  }
  EXPECT_GT(lit, 5);
  // Nothing left of the reading.
  EXPECT_EQ(At(f.platform().display(), x0 - 2, y0 + 4), window);
}

TEST(MessageWindowTest, TheTintRecoloursTheMaskedPartsOfTheSkin) {
  WindowFixture f;
  Engine& e = f.StartWith("あ\n\\\n");
  MessageWindow& w = e.message_window();
  // The player's colours equal the game's own: the skin is left as it is.
  EXPECT_EQ(At(w.skin(), 10, 10), kSkinColour);
  EXPECT_EQ(At(w.skin(), 10, kWinH + 10), (Bgr{kSkinOpacity, kSkinOpacity, kSkinOpacity}));

  Settings& s = e.settings();
  s.SetInt(SettingId::TXBG_R, 250);
  s.SetInt(SettingId::TXBG_G, 0);
  s.SetInt(SettingId::TXBG_B, 40);
  s.SetInt(SettingId::TXBG_A, 200);
  w.TintWindowSkin();
  EXPECT_FALSE(w.window_cache_valid());
  // Under the tint mask (255): (old × 0 + colour × 255) / 256; elsewhere untouched.
  EXPECT_EQ(At(w.skin(), 10, 10), (Bgr{40 * 255 >> 8, 0, 250 * 255 >> 8}));
  EXPECT_EQ(At(w.skin(), kTintedWidth + 10, 10), kSkinColour);
  EXPECT_EQ(At(w.skin(), 10, kWinH + 10), (Bgr{199, 199, 199}));
  EXPECT_EQ(At(w.skin(), kTintedWidth + 10, kWinH + 10),
            (Bgr{kSkinOpacity, kSkinOpacity, kSkinOpacity}));

  f.FramesToWait();
  Bgr scene = WindowFixture::kScene;
  auto mix = [](int s, int c, int m) { return (s * (255 - m) + c * m) >> 8; };
  Bgr tinted{mix(scene.b, 39, 199), mix(scene.g, 0, 199), mix(scene.r, 249, 199)};
  EXPECT_EQ(At(f.platform().display(), 300, 580), tinted);
  EXPECT_EQ(At(f.platform().display(), 600, 580), WindowFixture::WindowOver(scene));
}

TEST(MessageWindowTest, TheClickIconAnimatesOnTheDisplayOnly) {
  WindowFixture f;
  Engine& e = f.StartWith("あ\n\\\n");
  f.FramesToWait();
  MessageWindow& w = e.message_window();
  const Picture& display = f.platform().display();
  Bgr under = At(e.pictures().screen, kIconX + 5, kIconY + 5);
  for (int tick = 0; tick < 10; ++tick) {
    e.OnTimer();
    int frame = (w.icon_counter() >> kIconTiming) % kIconFrames;
    Bgr c = IconFrameColour(frame);
    // The sheet's mask is opaque: (screen × 0 + icon × 255) / 256.
    EXPECT_EQ(At(display, kIconX + 5, kIconY + 5),
              (Bgr{c.b * 255 >> 8, c.g * 255 >> 8, c.r * 255 >> 8}))
        << "counter " << w.icon_counter();
    EXPECT_FALSE(w.icon_erased());
    EXPECT_EQ(At(e.pictures().screen, kIconX + 5, kIconY + 5), under);
  }
  w.EraseClickIcon();
  EXPECT_TRUE(w.icon_erased());
  EXPECT_EQ(At(display, kIconX + 5, kIconY + 5), under);
  // Without the icon the screen and the display agree again.
  EXPECT_TRUE(SameRows(display, e.pictures().screen, 0, kScreenHeight));
}

TEST(MessageWindowTest, TheClickIconSitsAtTheTextCursorInTheFullScreenLayout) {
  WindowFixture f;
  Engine& e = f.StartWith("*mode 1\nあい\n\\\n");
  f.FramesToWait();
  ASSERT_EQ(e.Layout(), 1);
  e.OnTimer();
  // The line has ended: the cursor is at column 0 of the next row.
  int x = kTx2OfsX, y = e.page_grid().row * kPitch2Y + kTx2OfsY;
  int frame = (e.message_window().icon_counter() >> kIconTiming) % kIconFrames;
  Bgr c = IconFrameColour(frame);
  EXPECT_EQ(At(f.platform().display(), x + 3, y + 3),
            (Bgr{c.b * 255 >> 8, c.g * 255 >> 8, c.r * 255 >> 8}));
  EXPECT_NE(At(f.platform().display(), kIconX + 5, kIconY + 5),
            (Bgr{c.b * 255 >> 8, c.g * 255 >> 8, c.r * 255 >> 8}));
}

TEST(MessageWindowTest, TheFullScreenLayoutDarkensTheSceneAndPlacesTextWithoutIndent) {
  WindowFixture f;
  Engine& e = f.StartWith("*mode 1\nあい\n\\\n");
  f.FramesToWait();
  ASSERT_EQ(e.Layout(), 1);
  EXPECT_EQ(e.window_state, 2);
  EXPECT_TRUE(e.window_open);
  // TXBG_A2 defaults to TXW_ALPHA2 (100): each channel × 155 / 256.
  Bgr scene = WindowFixture::kScene;
  Bgr dark{scene.b * 155 >> 8, scene.g * 155 >> 8, scene.r * 155 >> 8};
  EXPECT_EQ(At(f.platform().display(), 700, 500), dark);
  Picture expected = e.pictures().full_overlay;
  for (auto [ch, column] : {std::pair{"あ", 0}, std::pair{"い", 2}}) {
    e.glyph_renderer().RenderGlyph(Utf8ToSjisLossy(ch));
    e.glyph_drawing().PutGlyph(expected, column * kPitch2X + kTx2OfsX, kTx2OfsY);
  }
  EXPECT_TRUE(SameRows(e.pictures().screen, expected, 0, kTx2OfsY + kGlyphCellHeight))
      << WindowFixture::Keep(e.pictures().screen, "full-screen");
  EXPECT_TRUE(SameRows(f.platform().display(), expected, 0, kTx2OfsY + kGlyphCellHeight));
  // A rebuild lays the overlay again and redraws the page from the grid.
  e.pictures().screen.Fill(0, 0, 0);
  e.subsystems().RebuildScreen();
  EXPECT_TRUE(SameRows(e.pictures().screen, expected, 0, kTx2OfsY + kGlyphCellHeight))
      << WindowFixture::Keep(e.pictures().screen, "full-screen-redraw");
}

// Configurations and pictures that do not fit together: everything drawn stays inside the
// pictures, and the game goes on.
TEST(MessageWindowTest, ConfigurationsThatDoNotFit) {
  auto with = [](const std::string& extra) { return WindowConfig() + extra; };
  struct Case {
    const char* what;
    std::string config;
    bool pictures;
  } cases[] = {
      {"no window pictures", WindowConfig(), false},
      {"window past the bottom", with("TXW_OFS_Y:500\n"), true},
      {"window left of the screen", with("TXW_OFS_X:-300\n"), true},
      {"window larger than its skin", with("TXW_SIZE_X:900\nTXW_SIZE_Y:700\n"), true},
      {"plate outside the window", with("NP_OFS_X:790\nNP_OFS_Y:-20\n"), true},
      {"icon off the screen", with("CLICK_WAIT_OFS_X:790\nCLICK_WAIT_OFS_Y:-10\n"), true},
      {"no icon frames", with("CLICK_WAIT_PAT:0\nCLICK_WAIT_TIMING:-3\n"), true},
      {"icon larger than its sheet", with("CLICK_WAIT_SIZE_X:64\nCLICK_WAIT_SIZE_Y:64\n"), true},
      {"nothing configured", "TITLE:x\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowFixture f(c.config, c.pictures);
    Engine& e = f.StartWith(">ユキ\n" + Repeat("あ", 30) + "\n=\n*mode 1\nい\n\\\n");
    f.FramesToWait();
    for (int tick = 0; tick < 6; ++tick) e.OnTimer();
    e.message_window().EraseClickIcon();
    e.message_window().InvalidateWindowCache();
    e.subsystems().RebuildScreen();
    e.wait_kind = 0;
    f.FramesToWait();
    EXPECT_EQ(e.wait_kind, kWaitPage);
    EXPECT_EQ(e.Layout(), 1);
    for (int tick = 0; tick < 6; ++tick) e.OnTimer();
    e.wait_kind = 0;
    e.NewPage();
  }
}

TEST(MessageWindowTest, TheFirstFullScreenPageCrossFadesIn) {
  WindowFixture f;
  Bgr scene{0, 0, 250};
  Engine& e = f.StartWith("*mode 1\nあ\n\\\n", scene);
  int fade_frames = 0;
  f.platform().on_present = [&](int) { fade_frames += e.transition_running; };
  f.platform().shown.clear();
  f.FramesToWait();
  // 24 levels per 40 ms step from the scene to the darkened scene: 0, 24, … 240, then the end
  // picture.
  int dark = scene.r * 155 >> 8;
  std::vector<int> reds;
  for (const auto& s : f.platform().shown) reds.push_back(s.probe.r);
  std::vector<int> expected;
  for (int level = 0; level < 256; level += 24) {
    expected.push_back((level * dark + (256 - level) * scene.r) >> 8);
  }
  expected.push_back(dark);
  EXPECT_THAT(reds, ::testing::IsSupersetOf(expected));
  EXPECT_GE(fade_frames, 11);
  EXPECT_EQ(reds.back(), dark);
}

TEST(MessageWindowTest, AClickOnAContinueWaitErasesTheIconAndKeepsTheText) {
  WindowFixture f;
  Engine& e = f.StartWith("あ\n=\nい\n\\\n");
  f.FramesToWait();
  ASSERT_EQ(e.wait_kind, kWaitContinue);
  e.OnTimer();
  e.OnTimer();
  ASSERT_FALSE(e.message_window().icon_erased());
  e.OnMouseDown(MouseButton::Left, 400, 300);
  e.OnMouseUp(MouseButton::Left, 400, 300);
  EXPECT_EQ(e.wait_kind, 0);
  EXPECT_TRUE(e.message_window().icon_erased());
  EXPECT_TRUE(SameRows(f.platform().display(), e.pictures().screen, 0, kScreenHeight));
  f.FramesToWait();
  EXPECT_TRUE(SameRows(e.pictures().screen, ExpectedPage(e, {{"あ", 1, 2}, {"い", 2, 2}}),
                       WindowFixture::CellY(1), WindowFixture::CellY(3)));
}

TEST(MessageWindowTest, WinOpenFadesInOverTenMillisecondSteps) {
  WindowFixture f;
  Engine& e = f.StartWith("*win_open\nあ\n\\\n");
  RecordingPlatform& p = f.platform();
  p.probe_x = 600;
  p.probe_y = 500;
  std::vector<RecordingPlatform::Shown> fade;
  p.on_present = [&](int n) {
    if (e.transition_running) fade.push_back(p.shown[n - 1]);
  };
  e.StepScript();  // the win_open line and the first character
  Bgr window = WindowFixture::WindowOver(WindowFixture::kScene);
  // From the scene to the window: level 0, 8, … 248 at 10 ms steps, then the window.
  ASSERT_EQ(fade.size(), 32u);
  int scene = WindowFixture::kScene.b;
  for (int k = 0; k < 32; ++k) {
    EXPECT_EQ(fade[k].probe.b, (8 * k * window.b + (256 - 8 * k) * scene) >> 8) << "step " << k;
    EXPECT_EQ(fade[k].time - fade[0].time, 10u * k);
  }
  EXPECT_EQ(p.shown.back().probe, window);
  EXPECT_TRUE(e.window_open);
  EXPECT_FALSE(e.busy);
  EXPECT_FALSE(e.transition_running);
  EXPECT_EQ(At(p.display(), 600, 500), window);
}

TEST(MessageWindowTest, SkipModeOpensAndClosesTheWindowWithoutAFade) {
  WindowFixture f;
  Engine& e = f.StartWith("*win_open\n*win_close\n*win_open\n=\n");
  e.skip_mode = true;
  int fade_frames = 0;
  f.platform().on_present = [&](int) { fade_frames += e.transition_running; };
  e.StepScript();
  EXPECT_EQ(fade_frames, 0);
  EXPECT_TRUE(e.window_open);
  EXPECT_EQ(At(f.platform().display(), 600, 500), WindowFixture::WindowOver(WindowFixture::kScene));
}

TEST(MessageWindowTest, AClickEndsTheFadeWithTheFinalPicture) {
  WindowFixture f;
  Engine& e = f.StartWith("*win_open\nあ\n\\\n");
  RecordingPlatform& p = f.platform();
  p.probe_x = 600;
  p.probe_y = 500;
  // A click during the fade sets the interruption value, as the pointer handler does.
  int fade_frames = 0;
  p.on_present = [&](int) {
    if (!e.transition_running) return;
    EXPECT_TRUE(e.busy);
    if (++fade_frames == 5) e.transition_interrupt = 1;
  };
  e.StepScript();
  EXPECT_EQ(fade_frames, 5);
  EXPECT_EQ(p.shown.back().probe, WindowFixture::WindowOver(WindowFixture::kScene));
  EXPECT_TRUE(e.window_open);
}

TEST(MessageWindowTest, WinCloseFadesToTheSceneAndOnlyInTheWindowLayout) {
  {
    WindowFixture f;
    Engine& e = f.StartWith("あ\n=\n*win_close\n\\\n");
    f.FramesToWait();
    ASSERT_EQ(e.wait_kind, kWaitContinue);
    e.wait_kind = 0;
    f.platform().shown.clear();
    f.FramesToWait();
    EXPECT_FALSE(e.window_open);
    EXPECT_EQ(e.window_state, 0);
    EXPECT_FALSE(e.message_window().window_cache_valid());
    EXPECT_TRUE(e.page_grid().page_empty);
    EXPECT_GE(f.platform().shown.size(), 33u);
    EXPECT_TRUE(e.pictures().screen == e.pictures().scene);
    EXPECT_TRUE(f.platform().display() == e.pictures().scene);
  }
  {
    WindowFixture f;
    Engine& e = f.StartWith("*mode 1\nあ\n=\n*win_close\n\\\n");
    f.FramesToWait();
    e.wait_kind = 0;
    Picture before = f.platform().display();
    f.FramesToWait();
    EXPECT_TRUE(e.window_open);
    EXPECT_EQ(e.window_state, 2);
    EXPECT_TRUE(f.platform().display() == before);
  }
}

TEST(MessageWindowTest, ModeOneTwiceChangesNothingTheSecondTime) {
  WindowFixture f;
  Engine& e = f.StartWith("あ\n=\n*mode 1\n=\n*mode 1\n=\n");
  f.FramesToWait();
  e.wait_kind = 0;
  f.FramesToWait();
  ASSERT_EQ(e.Layout(), 1);
  EXPECT_EQ(e.window_state, 2);
  EXPECT_FALSE(e.message_window().window_cache_valid());
  Picture display = f.platform().display();
  Picture screen = e.pictures().screen;
  PageGrid grid = e.page_grid();
  e.wait_kind = 0;
  f.FramesToWait();
  EXPECT_EQ(e.Layout(), 1);
  EXPECT_EQ(e.window_state, 2);
  EXPECT_TRUE(f.platform().display() == display);
  EXPECT_TRUE(e.pictures().screen == screen);
  EXPECT_EQ(e.page_grid().Row(1), grid.Row(1));
  EXPECT_EQ(e.page_grid().column, grid.column);
  EXPECT_EQ(e.page_grid().row, grid.row);
}

TEST(MessageWindowTest, TypingShowsOneCharacterPerFrameUntilFinishNow) {
  struct Case {
    const char* what;
    std::string line;
    int frames_for_all;  // frames until all five characters are on the display
  } cases[] = {{"one by one", "あいうえお", 5}, {"delay 0", "[delay 0]あいうえお", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowFixture f;
    f.StartWith(c.line + "\n\\\n");
    Bgr window = WindowFixture::WindowOver(WindowFixture::kScene);
    auto drawn = [&] {
      // A glyph's cell no longer shows the bare window at the cell's middle column.
      int n = 0;
      for (int k = 0; k < 5; ++k) {
        int x0 = WindowFixture::CellX(2 + 2 * k), y0 = WindowFixture::CellY(1);
        bool any = false;
        for (int y = y0; y < y0 + kGlyphCellHeight && !any; ++y) {
          for (int x = x0; x < x0 + 13 && !any; ++x) {
            any = At(f.platform().display(), x, y) != window;
          }
        }
        n += any;
      }
      return n;
    };
    for (int frame = 1; frame <= c.frames_for_all; ++frame) {
      f.Frame();
      EXPECT_EQ(drawn(), std::min(frame * 5 / c.frames_for_all, 5)) << "frame " << frame;
    }
  }
  // A click while typing: the rest of the line comes in the next frame.
  WindowFixture f;
  Engine& e = f.StartWith("あいうえお\n\\\n");
  f.Frame();
  f.Frame();
  EXPECT_EQ(e.page_grid().page_chars, 2);
  e.finish_now = true;
  f.Frame();
  EXPECT_EQ(e.page_grid().page_chars, 5);
}

TEST(MessageWindowTest, AutoModeTurnsTheFullPageAfterItsTicks) {
  // Level 5, 100 characters on the page: 100 / 17 + 12 ticks.
  WindowFixture g;
  Engine& e2 = g.StartWith(Repeat("あ", 25) + "\n" + Repeat("あ", 25) + "\n" + Repeat("あ", 25) +
                           "\n" + Repeat("あ", 25) + "\n\\\nい\n\\\n");
  e2.banks().SetS(26, 5);
  g.FramesToWait();
  ASSERT_EQ(e2.page_grid().page_chars, 100);
  EXPECT_EQ(e2.auto_wait_ticks, 17);
  for (int tick = 1; tick < 17; ++tick) e2.OnTimer();
  EXPECT_EQ(e2.wait_kind, kWaitPage);
  e2.OnTimer();
  EXPECT_EQ(e2.wait_kind, 0);
  EXPECT_EQ(e2.page_grid().page_chars, 0);
  EXPECT_TRUE(SameRows(g.platform().display(), ExpectedPage(e2, {}), WindowFixture::CellY(1),
                       WindowFixture::CellY(4)));
}

}  // namespace
}  // namespace quill::test
