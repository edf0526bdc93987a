// The pictures of the demo's simple settings screen: the screen in its normal look, the same
// layout with every item lit, and the volume knob. demo/scripts/_config.txt gives the engine the
// same rectangles (CFG_*).
#include "tools/demo_art/art.h"

namespace quill::demo_art {
namespace {

struct Item {
  int x1, y1, x2, y2;
  const char* caption;
};

// CFG_WM_WIN … CFG_DETAIL, CFG_VOL_CVTEST, CFG_VOL_DEFAULT.
constexpr Item kItems[] = {
    {300, 90, 440, 130, "ウィンドウ"}, {460, 90, 600, 130, "全画面"},
    {300, 150, 440, 190, "通常"},      {460, 150, 600, 190, "高速"},
    {300, 210, 440, 250, "通常"},      {460, 210, 600, 250, "高速"},
    {300, 270, 440, 310, "止める"},    {460, 270, 600, 310, "止めない"},
    {600, 540, 740, 580, "閉じる"},    {440, 540, 580, 580, "詳細"},
    {620, 376, 740, 404, "テスト"},    {620, 496, 740, 524, "初期値"},
};
constexpr const char* kRows[] = {"画面", "画面効果", "文字速度", "未読で止める"};
constexpr const char* kBars[] = {"全体音量", "ボイス", "効果音", "BGM"};
// CFG_VOL1 … CFG_VOL4 and CFG_VOL_BAR.
constexpr int kBarX = 300, kBarY[] = {340, 380, 420, 460}, kBarW = 300, kBarH = 24;

void Box(Layer& l, float x0, float y0, float x1, float y1, Rgb c, float r, float opacity = 1) {
  l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, y0, x1, y1, r); }, c, opacity);
}

void Label(Layer& l, Lettering& letters, const char* text, int x, int y, int w, int h, Rgb c,
           int em = 20) {
  int tw = letters.Width(text, em);
  Layer cover = letters.Coverage(w, h, (w - tw) / 2, (h - em) / 2 - 2, text, em);
  PaintCoverage(l, cover, c, 1, x, y);
}

}  // namespace

Picture SettingsScreen(Lettering& letters, bool lit) {
  Layer l(kScreenWidth, kScreenHeight);
  l.Paint([](float, float y) { return Mix(Hex(0x18223f), Hex(0x0b1024), y / 600.0f); });
  Box(l, 40, 30, 760, 590, Hex(0x222e55), 18, 0.9f);
  Label(l, letters, "設定", 40, 36, 720, 40, Hex(0xf3f6ff), 26);
  for (int r = 0; r < 4; ++r) {
    Label(l, letters, kRows[r], 60, 90 + 60 * r, 220, 40, Hex(0xc9d6f5));
  }
  for (int i = 0; i < 4; ++i) {
    Label(l, letters, kBars[i], 60, kBarY[i] - 8, 220, 40, Hex(0xc9d6f5));
    Box(l, kBarX, kBarY[i] + 8, kBarX + kBarW, kBarY[i] + kBarH - 8, Hex(0x0c1226), 4);
  }
  for (const Item& it : kItems) {
    Rgb fill = lit ? Hex(0xf0b84a) : Hex(0x3a4a7a);
    Rgb text = lit ? Hex(0x1b1408) : Hex(0xe6ecff);
    Box(l, it.x1 + 2, it.y1 + 2, it.x2 - 2, it.y2 - 2, fill, 10);
    Label(l, letters, it.caption, it.x1, it.y1, it.x2 - it.x1, it.y2 - it.y1, text, 18);
  }
  return l.ToPicture();
}

Picture SettingsKnob() {
  Layer l(24, 24);
  l.Fill([](float x, float y) { return CircleSdf(x, y, 12, 12, 10); },
         [](float x, float y) { return Mix(Hex(0xffffff), Hex(0xf0b84a), (x + y) / 40.0f); });
  Picture colour = l.ColourPicture(), mask = l.MaskPicture();
  return SideBySide({&colour, &mask});
}

}  // namespace quill::demo_art
