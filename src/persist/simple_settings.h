#pragma once
// The simple settings screen: a picture screen drawn from the `_config` keys CFG_*, four option
// pairs, four volume knobs, close, detail, voice test and defaults. It owns the pointer while it
// is open; the script stays stopped until it closes.
#include <array>
#include <nlohmann/json_fwd.hpp>

#include "common/picture.h"
#include "graphics/game_config.h"

namespace quill {

class Engine;
class SettingsScreens;

// The screen's items, in the order the pointer finds them.
enum class SimpleItem : int {
  None = -1,
  WindowMode = 0,
  FullScreen,
  GraphicsNormal,
  GraphicsFast,
  TextNormal,
  TextFast,
  StopUnread,
  NoStop,
  Close,
  Detail,
  VoiceTest,
  Defaults,
  Bar0,
  Bar1,
  Bar2,
  Bar3,
};

// The volume under the pointer at x on a bar whose left edge is bar_x: −3000 up to half a knob
// in, 0 from half a knob before the right edge, linear between.
int KnobValue(int bar_x, int bar_width, int knob_width, int x);

class SimpleSettings {
 public:
  SimpleSettings(Engine& engine, SettingsScreens& screens) : engine_(engine), screens_(screens) {}

  void Open();
  bool open() const { return open_; }
  void MouseMove(int x, int y);
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);

  SimpleItem hover() const { return hover_; }
  int dragging() const { return dragging_; }
  // Slider i: 0 the master volume, 1 Vol1, 2 Vol2, 3 Vol3.
  int Volume(int i) const;
  SimpleItem ItemAt(int x, int y) const;

  // The state dump's `simple_settings` value: null while closed.
  nlohmann::ordered_json StateJson() const;

 private:
  void Draw();
  void Close();
  void SetVolume(int i, int v);
  int KnobWidth() const { return knob_.width() / 2; }
  int KnobValueOf(int i, int x) const;
  void ShowItem(SimpleItem item, bool lit);  // a button's rectangle straight onto the display
  const GameConfig::Rect& RectOf(SimpleItem item) const;

  Engine& engine_;
  SettingsScreens& screens_;
  bool open_ = false;
  Picture kept_screen_;
  Picture base_, lit_, knob_;
  SimpleItem hover_ = SimpleItem::None;
  SimpleItem pressed_ = SimpleItem::None;
  int dragging_ = -1;
};

}  // namespace quill
