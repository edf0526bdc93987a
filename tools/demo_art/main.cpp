// demo_art OUTDIR: draws the demo game's pictures. Packed pictures go to OUTDIR/gra as PNG files
// (qlmtool pack encodes them), JPEG backgrounds to OUTDIR/gjp.
#include <stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/bmp_file.h"
#include "common/file_util.h"
#include "common/png_io.h"
#include "common/sjis.h"
#include "tools/cursor_encoder.h"
#include "tools/demo_art/art.h"
#include "tools/demo_art/effects_art.h"

namespace fs = std::filesystem;
using namespace quill;
using namespace quill::demo_art;

namespace {

bool WriteJpeg(const fs::path& path, const Picture& p) {
  std::vector<uint8_t> rgb(p.bytes().size());
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = p.bytes()[i + 2];
    rgb[i + 1] = p.bytes()[i + 1];
    rgb[i + 2] = p.bytes()[i];
  }
  return stbi_write_jpg(path.c_str(), p.width(), p.height(), 3, rgb.data(), 92) != 0;
}

bool WriteBmp(const fs::path& path, const Picture& p) {
  return WriteFileAtomic(path, EncodeBmp(p), nullptr);
}

// Image over dest through a grey mask of the same size, at (x, y).
void Over(Picture& dest, const Picture& image, const Picture& mask, int x, int y, int sy = 0,
          int h = -1) {
  if (h < 0) h = image.height();
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < image.width(); ++c) {
      int dx = x + c, dy = y + r;
      if (dx < 0 || dy < 0 || dx >= dest.width() || dy >= dest.height()) continue;
      const uint8_t* s = image.Pixel(c, sy + r);
      const uint8_t* m = mask.Pixel(c, r + (mask.height() == image.height() ? sy : 0));
      uint8_t* d = dest.Pixel(dx, dy);
      for (int k = 0; k < 3; ++k)
        d[k] = static_cast<uint8_t>((d[k] * (255 - m[k]) + s[k] * m[k]) >> 8);
    }
  }
}

Picture Rows(const Picture& p, int y, int h) {
  Picture out(p.width(), h);
  CopyRect(out, 0, 0, p, 0, y, p.width(), h);
  return out;
}

// A rough picture of a scene with the window, as the engine would compose it, to look at.
int Preview(const char* path) {
  Lettering letters;
  WindowLayout w;
  Picture screen = Room();
  StandingPicture a = Character(0, 0), b = Character(1, 1);
  Over(screen, a.image, a.mask, 250 - 160, 0);
  Over(screen, b.image, b.mask, 550 - 160, 0);
  Picture skin = WindowSkin(w);
  Picture top = Rows(skin, 0, w.height), bottom = Rows(skin, w.height, w.height);
  int wy = 600 - w.height;
  Over(screen, top, bottom, 0, wy);
  Picture q = QuickButtons(letters);
  Picture qmask = Rows(q, 48, 16);
  Over(screen, Rows(q, 0, 16), qmask, 20, wy + 156);
  Picture hover = Rows(q, 16, 16), active = Rows(q, 32, 16);
  Picture hover_mask = Rows(qmask, 0, 16);
  // Hover on the log button, auto shown active, and the gauge at level 4.
  Picture cut(56, 16), cut_mask(56, 16);
  CopyRect(cut, 0, 0, hover, 470, 0, 56, 16);
  CopyRect(cut_mask, 0, 0, qmask, 470, 0, 56, 16);
  Over(screen, cut, cut_mask, 20 + 470, wy + 156);
  CopyRect(cut, 0, 0, active, 0, 0, 56, 16);
  CopyRect(cut_mask, 0, 0, qmask, 0, 0, 56, 16);
  Over(screen, cut, cut_mask, 20, wy + 156);
  Picture bar = AutoBar();
  Picture bar_top = Rows(bar, 0, 12), bar_mask = Rows(bar, 12, 12);
  Picture part(7 * 16, 12), part_mask(7 * 16, 12);
  CopyRect(part, 0, 0, bar_top, 0, 0, 7 * 16, 12);
  CopyRect(part_mask, 0, 0, bar_mask, 0, 0, 7 * 16, 12);
  Over(screen, part, part_mask, 86, wy + 161);
  Picture small = SmallButton(letters);
  Over(screen, Rows(small, 0, 12), Rows(small, 24, 12), 752, wy + 24);
  Picture clickw = ClickWaitSheet(w);
  Picture icon(w.click_w, w.click_h), icon_mask(w.click_w, w.click_h);
  CopyRect(icon, 0, 0, clickw, 0, 0, w.click_w, w.click_h);
  CopyRect(icon_mask, 0, 0, clickw, 0, w.click_h, w.click_w, w.click_h);
  Over(screen, icon, icon_mask, 760, wy + 122);
  TextOutput text;
  TextOutputFont font{Utf8ToSjisLossy("ＭＳ ゴシック"), -25, false};
  std::string name = Utf8ToSjisLossy("葵");
  text.DrawText(screen, w.plate_x + w.plate_w / 2 - 12 - text.TextWidth(name, font) / 2,
                wy + w.plate_y + 5, name, font, 0x80C0FF);
  const char* lines[] = {"「おはよう。今日はいい天気だね」",
                         "窓の外には、どこまでも青い空が広がっていた。",
                         "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123"};
  for (int i = 0; i < 3; ++i) {
    std::string s = Utf8ToSjisLossy(lines[i]);
    text.DrawText(screen, 36 + (i == 0 ? 0 : 26), wy + 22 + 32 * (i + 1), s, font, 0xFFFFFF);
  }
  return WritePng(path, screen) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--preview") return Preview(argv[2]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_art OUTDIR | demo_art --preview OUT.png\n");
    return 2;
  }
  fs::path out = argv[1];
  std::error_code ec;
  fs::create_directories(out / "gra", ec);
  fs::create_directories(out / "gjp", ec);
  if (ec) {
    std::fprintf(stderr, "demo_art: %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }
  Lettering letters;
  if (!letters.available())
    std::fprintf(stderr, "demo_art: no Japanese font found; the pictures carry no lettering\n");

  bool ok = true;
  auto png = [&](const char* name, const Picture& p) {
    std::string error;
    if (!WritePng(out / "gra" / (std::string(name) + ".png"), p, &error)) {
      std::fprintf(stderr, "demo_art: %s: %s\n", name, error.c_str());
      ok = false;
    }
  };
  auto jpeg = [&](const char* name, const Picture& p) {
    if (!WriteJpeg(out / "gjp" / (std::string(name) + ".jpg"), p)) {
      std::fprintf(stderr, "demo_art: %s: cannot write the JPEG file\n", name);
      ok = false;
    }
  };

  WindowLayout layout;
  png("sys_tw", WindowSkin(layout));
  png("sys_tw1", TintMask(layout));
  png("sys_clickw", ClickWaitSheet(layout));
  png("sys_qbtn", QuickButtons(letters));
  png("sys_qbtn2", SmallButton(letters));
  png("sys_autobar", AutoBar());
  png("sys_sw", ChoicePlate(false));
  png("sys_sw2", ChoicePlate(true));
  png("sys_sww", ChoicePlate(false, 680, 32));
  png("sys_sww2", ChoicePlate(true, 680, 32));
  png("sys_meter", MeterSheet(letters));
  png("P01", StudyColourMap(letters));
  png("sys_cfg", SettingsScreen(letters, false));
  png("sys_cfg2", SettingsScreen(letters, true));
  png("sys_cfgknob", SettingsKnob());
  fs::create_directories(out / "icon", ec);
  for (int n = 1; n <= 12; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "MSCUR%02d.ani", n);
    std::string error;
    if (!WriteFileAtomic(out / "icon" / name, EncodeAnimatedCursor(DemoCursor(n)), &error)) {
      std::fprintf(stderr, "demo_art: %s: %s\n", name, error.c_str());
      ok = false;
    }
  }
  png("sys_bl_bar", BacklogBar());
  png("sys_bl_cur", BacklogThumb());
  png("sys_blVR", VoiceIcon());
  png("sys_blVR2", VoiceRowHighlight());
  if (!WriteBmp(out / "panic.bmp", PanicScreen(letters))) {
    std::fprintf(stderr, "demo_art: panic.bmp: cannot write the file\n");
    ok = false;
  }

  jpeg("A01", BlueSky());
  jpeg("A03", DuskStreet());
  png("A02", Room());
  png("A04", NightSky());
  png("ATITLE", TitleScreen(letters));
  png("OVR01", PetalOverlay());
  png("WIPE01", WipePattern());

  // Standing pictures and their masks (the name with M for B): B01/B03 Aoi calm and smiling,
  // B02/B04 Ren calm and smiling, B05 Chinatsu and B06 Minato.
  struct Cast {
    const char* image;
    const char* mask;
    int which, expression, palette;
  };
  const Cast cast[] = {{"B01", "M01", 0, 0, 0}, {"B02", "M02", 1, 0, 0}, {"B03", "M03", 0, 1, 0},
                       {"B04", "M04", 1, 1, 0}, {"B05", "M05", 0, 1, 1}, {"B06", "M06", 1, 0, 1}};
  for (const Cast& c : cast) {
    StandingPicture s = Character(c.which, c.expression, c.palette);
    png(c.image, s.image);
    png(c.mask, s.mask);
  }
  DrawEffectsArt(letters, png, jpeg);
  return ok ? 0 : 1;
}
