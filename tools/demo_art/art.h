#pragma once
// The demo game's pictures, drawn from code at build time.
#include <string>
#include <string_view>

#include "common/picture.h"
#include "platform/platform.h"
#include "text/text_output.h"
#include "tools/demo_art/canvas.h"

namespace quill::demo_art {

// The message window's geometry; demo/scripts/_config.txt gives the engine the same numbers.
struct WindowLayout {
  int width = 800, height = 180;    // TXW_SIZE_X, TXW_SIZE_Y
  int plate_x = 24, plate_y = 4;    // NP_OFS_X/Y relative to the window
  int plate_w = 200, plate_h = 36;  // NP_SZ_X, NP_SZ_Y
  int panel_top = 40;               // the text panel below the name plate
  int click_w = 24, click_h = 24;   // CLICK_WAIT_SIZE_X/Y
  int click_frames = 8;             // CLICK_WAIT_PAT
};

// Text drawn with the engine's own text output, given in UTF-8.
class Lettering {
 public:
  // Coverage of the text (0-1 per pixel) in a w × h field, top-left of the text at (x, y).
  Layer Coverage(int w, int h, int x, int y, std::string_view utf8, int em_height,
                 bool bold = false);
  int Width(std::string_view utf8, int em_height, bool bold = false);
  // True when a Japanese face was found (otherwise every text is empty).
  bool available();

 private:
  TextOutputFont Font(int em_height, bool bold) const;
  TextOutput output_;
};

// Paints `colour` over `target` wherever the coverage layer is set, at (dx, dy).
void PaintCoverage(Layer& target, const Layer& coverage, Rgb colour, float opacity = 1, int dx = 0,
                   int dy = 0);
// A box blur of the coverage (radius in pixels), for soft shadows and glows.
Layer Blurred(const Layer& coverage, int radius);

// Backgrounds, 800 × 600.
Picture BlueSky();
Picture Room();
Picture DuskStreet();
Picture NightSky();
Picture TitleScreen(Lettering& letters);
// Falling petals: the image in the left half, its mask in the right half (1600 × 600).
Picture PetalOverlay();
// A grey rule picture for the pattern wipe.
Picture WipePattern();

// Standing pictures: which 0 (a girl) or 1 (a boy); expression 0 calm, 1 smiling; palette 0 or
// 1 gives two different people of each figure.
struct StandingPicture {
  Picture image, mask;
};
StandingPicture Character(int which, int expression, int palette = 0);
Layer CharacterLayer(int which, int expression, int palette = 0);

// System pictures.
Picture WindowSkin(const WindowLayout& layout);      // sys_tw: colour above, mask below
Picture TintMask(const WindowLayout& layout);        // sys_tw1
Picture ClickWaitSheet(const WindowLayout& layout);  // sys_clickw
Picture QuickButtons(Lettering& letters);            // sys_qbtn: normal, hover, active, mask
Picture SmallButton(Lettering& letters);             // sys_qbtn2
Picture AutoBar();                                   // sys_autobar
// sys_sw, sys_sw2; wider and lower for sys_sww, sys_sww2 (a text row of the full-screen layout).
Picture ChoicePlate(bool highlighted, int width = 480, int height = 44);

// The choices' pictures (choice_pictures.cpp).
Picture MeterSheet(Lettering& letters);  // sys_meter: eleven levels of 240 × 95, mask on the right
// The study's parts picture: the colour zones and the lit desk and shelf over the room (A02)
// in the upper 800 × 600, the album's pop-up below at (0, 600), 280 × 110.
Picture StudyColourMap(Lettering& letters);
AnimatedCursor DemoCursor(int n);  // MSCUR01 … MSCUR12: an arrow with a pulsing ring
Picture BacklogBar();         // sys_bl_bar: normal, hover, pressed, mask side by side
Picture BacklogThumb();       // sys_bl_cur: image above, mask below
Picture VoiceIcon();          // sys_blVR
Picture VoiceRowHighlight();  // sys_blVR2
// The panic screen, written beside the archives as panic.bmp.
Picture PanicScreen(Lettering& letters);

// The simple settings screen (settings_pictures.cpp): sys_cfg normal, sys_cfg2 every item lit;
// sys_cfgknob, the volume knob with its mask on the right.
Picture SettingsScreen(Lettering& letters, bool lit);
Picture SettingsKnob();

}  // namespace quill::demo_art
