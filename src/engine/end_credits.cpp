#include "engine/end_credits.h"

#include <algorithm>
#include <string_view>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/display_pieces.h"

namespace quill {
namespace {

constexpr int kFirstSteps = 65;         // the background is drawn on the first steps
constexpr int kSecondEntrySteps = 130;  // and again from the second entry's line on
constexpr int kFadeRows = 128;
constexpr int kBottomFadeEnd = 479;
constexpr int kCreditsFontHeight = 30;
// "ＭＳ 明朝"
constexpr std::string_view kCreditsFace = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";

// Pixels of the panel row whose blue byte is set turn grey `level`.
void GreyRow(Picture& panel, int row, int level) {
  uint8_t* p = panel.Row(row);
  for (int x = 0; x < panel.width(); ++x, p += 3) {
    if (p[0] != 0) p[0] = p[1] = p[2] = static_cast<uint8_t>(level);
  }
}

}  // namespace

Picture DrawCredits(Engine& engine, const std::vector<std::string>& lines) {
  const int count = static_cast<int>(lines.size());
  Picture credits(kCreditsWidth, kCreditLinePitch * count + kScreenHeight - 20);
  TextOutputFont font;
  font.face_sjis = std::string(kCreditsFace);
  font.height = kCreditsFontHeight;
  TextOutput& out = engine.text_output();
  for (int i = 0; i < count; ++i) {
    out.DrawText(credits, 0, kScreenHeight + kCreditLinePitch * i, lines[static_cast<size_t>(i)],
                 font, 0xFFFFFF);
  }
  // One bit per pixel: a glyph's edge is either white or black.
  for (uint8_t& b : credits.bytes()) b = b >= 128 ? 255 : 0;
  return credits;
}

void EndCredits(Engine& engine) {
  if (!engine.LoadScript("endroll", ScriptTarget::Aux)) return;
  std::optional<EndCreditsScript> script = ReadEndCredits(engine.aux_script().script());
  if (!script) return;
  Picture credits = DrawCredits(engine, script->lines);
  Picture panel(kCreditsPanelWidth, kScreenHeight);
  Platform& platform = engine.platform();
  FrameClock& clock = engine.frame_clock();
  const int count = static_cast<int>(script->lines.size());
  const int64_t second_entry_y = static_cast<int64_t>(kCreditLinePitch) * script->second_entry;
  int background_steps = kFirstSteps;
  for (int y = 0; y < kCreditLinePitch * count + kScreenHeight; y += 2) {
    const uint32_t deadline =
        platform.NowMs() + static_cast<uint32_t>(std::max(script->step_ms, 0));
    if (y == second_entry_y) background_steps = kSecondEntrySteps;
    if (background_steps > 0) {
      --background_steps;
      platform.PresentRect(engine.pictures().background, Rect{0, 0, kCreditsPanelX, kScreenHeight});
    }
    // Rows past the credits picture show black.
    CutOut(panel, credits, kCreditsWidth - kCreditsPanelWidth, y, kCreditsPanelWidth,
           kScreenHeight);
    for (int r = 0; r < kFadeRows; ++r) GreyRow(panel, r, 2 * r);
    for (int k = 0; k < kFadeRows; ++k) GreyRow(panel, kBottomFadeEnd - k, 2 * k);
    ShowOnDisplay(engine, panel, kCreditsPanelX, 0);
    clock.WaitUntil(deadline);
    platform.PumpMessages();
    if (engine.exit_requested || platform.ShouldStop()) break;
  }
}

}  // namespace quill
