#include "persist/simple_settings.h"

#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "graphics/masked_drawing.h"
#include "persist/settings_screens.h"

namespace quill {
namespace {

constexpr int kSliderCount = 4;
constexpr int kMinVolume = -3000;

// The state dump's names of the items: their `_config` keys.
constexpr const char* kItemNames[] = {
    "CFG_WM_WIN",    "CFG_WM_FULL", "CFG_GM_NORMAL",  "CFG_GM_FAST",
    "CFG_TM_NORMAL", "CFG_TM_FAST", "CFG_MS_STOP",    "CFG_MS_NONE",
    "CFG_CLOSE",     "CFG_DETAIL",  "CFG_VOL_CVTEST", "CFG_VOL_DEFAULT",
    "CFG_VOL1",      "CFG_VOL2",    "CFG_VOL3",       "CFG_VOL4"};

bool Inside(const GameConfig::Rect& r, int x, int y) {
  return r[0] <= x && x < r[2] && r[1] <= y && y < r[3];
}

SimpleItem Bar(int i) { return static_cast<SimpleItem>(static_cast<int>(SimpleItem::Bar0) + i); }

bool IsButton(SimpleItem item) {
  return item == SimpleItem::Close || item == SimpleItem::Detail || item == SimpleItem::VoiceTest ||
         item == SimpleItem::Defaults;
}

}  // namespace

int KnobValue(int bar_x, int bar_width, int knob_width, int x) {
  int d = x - bar_x;
  int h = knob_width / 2;
  if (d <= h) return kMinVolume;
  if (d < bar_width - h) return (d - h) * -kMinVolume / (bar_width - knob_width) + kMinVolume;
  return 0;
}

const GameConfig::Rect& SimpleSettings::RectOf(SimpleItem item) const {
  const GameConfig& c = engine_.config();
  const GameConfig::Rect* rects[] = {&c.CFG_WM_WIN,  &c.CFG_WM_FULL,    &c.CFG_GM_NORMAL,
                                     &c.CFG_GM_FAST, &c.CFG_TM_NORMAL,  &c.CFG_TM_FAST,
                                     &c.CFG_MS_STOP, &c.CFG_MS_NONE,    &c.CFG_CLOSE,
                                     &c.CFG_DETAIL,  &c.CFG_VOL_CVTEST, &c.CFG_VOL_DEFAULT};
  return *rects[static_cast<int>(item)];
}

int SimpleSettings::Volume(int i) const {
  if (i == 0) return screens_.master_volume();
  return engine_.settings().Int(SettingAt(SettingId::Vol1, i - 1));
}

void SimpleSettings::SetVolume(int i, int v) {
  if (i == 0) {
    screens_.set_master_volume(v);
  } else {
    engine_.settings().SetInt(SettingAt(SettingId::Vol1, i - 1), v);
  }
}

int SimpleSettings::KnobValueOf(int i, int x) const {
  const GameConfig& c = engine_.config();
  return KnobValue(c.CFG_VOL_X[i], c.CFG_VOL_BAR[0], KnobWidth(), x);
}

void SimpleSettings::Open() {
  Engine& e = engine_;
  kept_screen_ = e.screen();
  const GameConfig& c = e.config();
  e.picture_loader().LoadPicture(c.CFG_GRA[0], base_);
  e.picture_loader().LoadPicture(c.CFG_GRA[1], lit_);
  e.picture_loader().LoadPicture(c.CFG_VOL_KNOB, knob_);
  open_ = true;
  hover_ = pressed_ = SimpleItem::None;
  dragging_ = -1;
  Draw();
  e.platform().Present(e.screen());
}

void SimpleSettings::Draw() {
  Engine& e = engine_;
  const GameConfig& c = e.config();
  const Settings& s = e.settings();
  Picture& screen = e.screen();
  if (!base_.empty()) CopyPicture(screen, 0, 0, base_);
  auto light = [&](SimpleItem item) {
    const GameConfig::Rect& r = RectOf(item);
    if (!lit_.empty()) CopyRect(screen, r[0], r[1], lit_, r[0], r[1], r[2] - r[0], r[3] - r[1]);
  };
  light(s.Int(SettingId::SMode) != 0 ? SimpleItem::FullScreen : SimpleItem::WindowMode);
  light(s.Int(SettingId::GMode) != 0 ? SimpleItem::GraphicsFast : SimpleItem::GraphicsNormal);
  light(e.one_by_one ? SimpleItem::TextNormal : SimpleItem::TextFast);
  light(e.seen ? SimpleItem::StopUnread : SimpleItem::NoStop);
  // The lit button under the pointer stays lit through a redraw.
  if (IsButton(hover_) && pressed_ == SimpleItem::None) light(hover_);
  if (!knob_.empty()) {
    int w = c.CFG_VOL_BAR[0];
    int k = KnobWidth();
    for (int i = 0; i < kSliderCount; ++i) {
      int x = c.CFG_VOL_X[i] + (w - k) * (Volume(i) - kMinVolume) / -kMinVolume;
      DrawMaskedPair(screen, x, c.CFG_VOL_Y[i], knob_);
    }
  }
}

SimpleItem SimpleSettings::ItemAt(int x, int y) const {
  for (int i = 0; i <= static_cast<int>(SimpleItem::VoiceTest); ++i) {
    auto item = static_cast<SimpleItem>(i);
    if (Inside(RectOf(item), x, y)) return item;
  }
  if (Inside(RectOf(SimpleItem::Defaults), x, y)) return SimpleItem::Defaults;
  const GameConfig& c = engine_.config();
  for (int i = 0; i < kSliderCount; ++i) {
    if (c.CFG_VOL_X[i] <= x && x < c.CFG_VOL_X[i] + c.CFG_VOL_BAR[0] && c.CFG_VOL_Y[i] <= y &&
        y < c.CFG_VOL_Y[i] + c.CFG_VOL_BAR[1]) {
      return Bar(i);
    }
  }
  return SimpleItem::None;
}

void SimpleSettings::ShowItem(SimpleItem item, bool lit) {
  const Picture& from = lit ? lit_ : base_;
  if (from.empty()) return;
  const GameConfig::Rect& r = RectOf(item);
  Rect area{r[0], r[1], r[2] - r[0], r[3] - r[1]};
  Picture& screen = engine_.screen();
  CopyRect(screen, area.x, area.y, from, area.x, area.y, area.w, area.h);
  engine_.platform().PresentRect(screen, area);
}

void SimpleSettings::MouseMove(int x, int y) {
  if (!open_) return;
  if (dragging_ >= 0) {
    int v = KnobValueOf(dragging_, x);
    if (v != Volume(dragging_)) {
      SetVolume(dragging_, v);
      screens_.ApplyVolumes();
      Draw();
      engine_.platform().Present(engine_.screen());
    }
    return;
  }
  SimpleItem item = ItemAt(x, y);
  if (item == hover_) return;
  if (IsButton(hover_)) ShowItem(hover_, false);
  if (IsButton(item)) ShowItem(item, true);
  hover_ = item;
}

void SimpleSettings::MouseDown(int x, int y) {
  if (!open_) return;
  Engine& e = engine_;
  Settings& s = e.settings();
  SimpleItem item = ItemAt(x, y);
  hover_ = item;
  switch (item) {
    case SimpleItem::None:
      return;
    case SimpleItem::WindowMode:
    case SimpleItem::FullScreen:
      s.SetInt(SettingId::SMode, item == SimpleItem::FullScreen);
      break;
    case SimpleItem::GraphicsNormal:
    case SimpleItem::GraphicsFast:
      s.SetInt(SettingId::GMode, item == SimpleItem::GraphicsFast);
      break;
    case SimpleItem::TextNormal:
    case SimpleItem::TextFast:
      e.one_by_one = item == SimpleItem::TextNormal;
      break;
    case SimpleItem::StopUnread:
    case SimpleItem::NoStop:
      e.seen = item == SimpleItem::StopUnread;
      s.SetInt(SettingId::Seen, e.seen);
      break;
    case SimpleItem::VoiceTest:
      screens_.PlayVoiceTest();
      pressed_ = item;
      ShowItem(item, false);
      return;
    case SimpleItem::Defaults: {
      pressed_ = item;
      const GameConfig& c = e.config();
      SetVolume(1, c.VOLUME1);
      SetVolume(2, c.VOLUME2);
      SetVolume(3, c.VOLUME3);
      screens_.ApplyVolumes();
      break;
    }
    case SimpleItem::Close:
      e.script_enabled = true;
      e.busy = false;
      Close();
      return;
    case SimpleItem::Detail:
      Close();
      screens_.ShowDialog();
      screens_.ApplySettings();
      e.script_enabled = true;
      e.busy = false;
      return;
    default: {
      int i = static_cast<int>(item) - static_cast<int>(SimpleItem::Bar0);
      SetVolume(i, KnobValueOf(i, x));
      screens_.ApplyVolumes();
      dragging_ = i;
      break;
    }
  }
  Draw();
  e.platform().Present(e.screen());
}

void SimpleSettings::MouseUp(int x, int y) {
  if (!open_) return;
  dragging_ = -1;
  SimpleItem was = pressed_;
  pressed_ = SimpleItem::None;
  if (was != SimpleItem::None && ItemAt(x, y) == was) ShowItem(was, true);
}

void SimpleSettings::Close() {
  Engine& e = engine_;
  e.screen() = kept_screen_;
  kept_screen_ = Picture();
  base_ = lit_ = knob_ = Picture();
  open_ = false;
  hover_ = pressed_ = SimpleItem::None;
  dragging_ = -1;
  const Settings& s = e.settings();
  {
    std::optional<SettingsStore::Batch> batch;
    if (SettingsStore* store = e.settings_store()) batch.emplace(*store);
    for (SettingId id : {SettingId::GMode, SettingId::SMode, SettingId::Seen}) {
      screens_.Write(id, s.Int(id));
    }
    screens_.Write(SettingId::Delay, e.one_by_one ? 0 : 1);
    for (int i = 1; i <= 3; ++i) screens_.Write(SettingAt(SettingId::Vol1, i - 1), Volume(i));
  }
  screens_.SwitchDisplay();
  e.menus_off = false;
  e.subsystems().UpdateMenus();
  e.platform().Present(e.screen());
}

nlohmann::ordered_json SimpleSettings::StateJson() const {
  if (!open_) return nullptr;
  nlohmann::ordered_json hover =
      hover_ == SimpleItem::None ? nlohmann::ordered_json() : kItemNames[static_cast<int>(hover_)];
  return {{"hover", hover}, {"dragging", dragging_}};
}

}  // namespace quill
