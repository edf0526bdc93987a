// The yes/no band, the notice band and the return to the title.
#include "engine/confirmations.h"

#include <algorithm>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"

namespace quill {
namespace {

// "はい", "いいえ"
constexpr std::string_view kYes = "\x82\xcd\x82\xa2";
constexpr std::string_view kNo = "\x82\xa2\x82\xa2\x82\xa6";
// "ＭＳ ゴシック": the face when neither the settings nor the configuration name one.
constexpr std::string_view kDefaultFace = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

constexpr uint32_t kBandWhite = 0x00FFFFFF;
constexpr uint32_t kBandBlack = 0x00000000;
constexpr uint32_t kBandGrey = 0x00808080;
constexpr uint32_t kBandYellow = 0x0000FFFF;  // red and green full, blue 0

constexpr int kBandTextHeight = 24;
constexpr int kYesX = 300, kNoX = 390, kAnswerY = 44;
constexpr int kNoticeTextHeight = 48;

constexpr std::string_view kTitleScript = "STITLE";

void Darken(Picture& band) {
  int h = band.height();
  for (int y = 0; y < h; ++y) {
    int from_edge = std::min(y, h - 1 - y);
    int factor = from_edge < 16 ? 255 - 12 * from_edge : 63;
    uint8_t* row = band.Row(y);
    for (int i = 0; i < band.stride(); ++i) row[i] = static_cast<uint8_t>((row[i] * factor) >> 8);
  }
}

}  // namespace

TextOutputFont Confirmations::Font(int height) const {
  TextOutputFont font;
  font.face_sjis = engine_.settings().Text(SettingId::FontName);
  if (font.face_sjis.empty()) font.face_sjis = engine_.config().FONT_NAME;
  if (font.face_sjis.empty()) font.face_sjis = std::string(kDefaultFace);
  font.height = height;
  return font;
}

void Confirmations::PresentStrip(const Picture& strip, int y) {
  if (scratch_.width() != kScreenWidth || scratch_.height() != kScreenHeight) {
    scratch_.Create(kScreenWidth, kScreenHeight);
  }
  CopyPicture(scratch_, 0, y, strip);
  engine_.platform().PresentRect(scratch_, Rect{0, y, strip.width(), strip.height()});
}

void Confirmations::ShowConfirm(std::string_view question, int action) {
  Picture& screen = engine_.screen();
  // A second question replaces the first: the strip to restore is still the untouched one.
  if (engine_.confirm_pending != kConfirmNone && !saved_strip_.empty()) {
    CopyPicture(screen, 0, kConfirmBandY, saved_strip_);
  }
  saved_strip_.Create(kScreenWidth, kConfirmBandHeight);
  CopyRect(saved_strip_, 0, 0, screen, 0, kConfirmBandY, kScreenWidth, kConfirmBandHeight);
  band_ = saved_strip_;
  engine_.menus_off = true;
  engine_.subsystems().UpdateMenus();

  Darken(band_);
  TextOutputFont font = Font(kBandTextHeight);
  int x = (kScreenWidth - text_.TextWidth(question, font)) / 2;
  text_.DrawText(band_, x, 12, question, font, kBandWhite);
  band_question_ = band_;
  text_.DrawText(band_, kYesX, kAnswerY, kYes, font, kBandGrey);
  text_.DrawText(band_, kNoX, kAnswerY, kNo, font, kBandYellow);

  yes_hot_ = false;
  engine_.confirm_pending = action;
  shown_band_ = band_;
  CopyPicture(screen, 0, kConfirmBandY, band_);
  PresentStrip(band_, kConfirmBandY);
}

void Confirmations::HoverConfirm(int x, int y) {
  bool hot = y >= 194 && y <= 223 && x >= 300 && x <= 369;
  if (hot == yes_hot_) return;
  yes_hot_ = hot;
  if (shown_band_.empty()) return;
  // The display only: the band drawn in the screen buffer keeps its first colours. The answers
  // are drawn afresh over the band without them, so their edges do not mix old and new colours.
  TextOutputFont font = Font(kBandTextHeight);
  shown_band_ = band_question_;
  text_.DrawText(shown_band_, kYesX, kAnswerY, kYes, font, hot ? kBandYellow : kBandGrey);
  text_.DrawText(shown_band_, kNoX, kAnswerY, kNo, font, hot ? kBandGrey : kBandYellow);
  PresentStrip(shown_band_, kConfirmBandY);
}

void Confirmations::AnswerConfirm(MouseButton button, bool silent) {
  if (!silent && !saved_strip_.empty()) {
    CopyPicture(engine_.screen(), 0, kConfirmBandY, saved_strip_);
    PresentStrip(saved_strip_, kConfirmBandY);
  }
  saved_strip_ = Picture();
  band_ = Picture();
  band_question_ = Picture();
  shown_band_ = Picture();
  engine_.menus_off = false;
  engine_.subsystems().UpdateMenus();
  engine_.subsystems().RedrawQuickButtons();
  int action = engine_.confirm_pending;
  bool yes = button != MouseButton::Right && yes_hot_;
  yes_hot_ = false;
  if (yes) {
    if (action == kConfirmQuickLoad) engine_.subsystems().LoadSlot(99, false);
    if (action == kConfirmTitle) ReturnToTitle();
  }
  engine_.confirm_pending = kConfirmNone;
}

void Confirmations::ShowNotice(std::string_view text, int ms) {
  Platform& platform = engine_.platform();
  engine_.menus_off = true;
  engine_.subsystems().UpdateMenus();

  // What the display shows is the screen buffer.
  Picture untouched(kScreenWidth, kNoticeBandHeight);
  CopyRect(untouched, 0, 0, engine_.screen(), 0, kNoticeBandY, kScreenWidth, kNoticeBandHeight);
  Picture working = untouched;
  Picture colour(kScreenWidth, kNoticeBandHeight);
  colour.Fill(128, 64, 0);
  size_t groups = static_cast<size_t>(working.stride()) / 8;
  for (int y = 0; y < kNoticeBandHeight; ++y) {
    int from_edge = std::min(y, kNoticeBandHeight - 1 - y);
    int weight = from_edge < 8 ? 20 * from_edge : 160;
    CrossFadeRow(working.Row(y), colour.Row(y), working.Row(y), groups, weight);
  }
  TextOutputFont font = Font(kNoticeTextHeight);
  int x = (kScreenWidth - text_.TextWidth(text, font)) / 2;
  text_.DrawText(working, x + 3, 6, text, font, kBandBlack);
  text_.DrawText(working, x, 3, text, font, kBandWhite);

  Picture shown(kScreenWidth, kNoticeBandHeight);
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  int level = 0;
  do {
    CrossFade(shown, working, untouched, level);
    PresentStrip(shown, kNoticeBandY);
    level += 16 * clock.ClockWait(20);
  } while (level < 256);
  PresentStrip(working, kNoticeBandY);

  if (ms > 0) platform.SleepMs(static_cast<uint32_t>(ms));

  clock.ClockStart();
  level = 240;
  while (level >= 0) {
    CrossFade(shown, working, untouched, level);
    PresentStrip(shown, kNoticeBandY);
    level -= 16 * clock.ClockWait(20);
  }
  PresentStrip(untouched, kNoticeBandY);

  engine_.menus_off = false;
  engine_.subsystems().UpdateMenus();
}

void Confirmations::ReturnToTitle() {
  Engine& e = engine_;
  SubsystemEntryPoints& sub = e.subsystems();
  ValueBanks& s = e.banks();
  e.background_animation().Stop();
  s.SetS(4, 0);
  e.sound_commands().SetMusic(0);
  s.SetS(151, 1);
  s.SetS(152, s.S(153));
  sub.ResetTitleMenus();
  e.extra_mode = 0;
  e.confirm_pending = kConfirmNone;
  if (e.choice_mode == 1) {
    e.choices().CloseChoiceDisplay();
  }
  if (e.window_open) sub.CloseWindow();
  e.window_open = false;
  e.window_state = 0;
  e.call_stack().Clear();
  e.set_current_script_name(kTitleScript);
  e.LoadScript(kTitleScript, ScriptTarget::Main);
  e.choice_mode = 0;
  e.wait_kind = kWaitNone;
  e.screen_mode = 0;
}

}  // namespace quill
