#include "graphics/background_animation.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"

namespace quill {
namespace {

constexpr int kPlayOncePeriodFactor = 30;  // milliseconds per speed unit

std::vector<std::string> Fields(std::string_view text) {
  std::vector<std::string> fields;
  size_t pos = 0;
  while (true) {
    size_t comma = text.find(',', pos);
    fields.emplace_back(text.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
    if (comma == std::string_view::npos) return fields;
    pos = comma + 1;
  }
}

const std::string& FieldAt(const std::vector<std::string>& fields, size_t i) {
  static const std::string kEmpty;
  return i < fields.size() ? fields[i] : kEmpty;
}

}  // namespace

BackgroundFrame& BackgroundAnimation::Slot(int i) {
  if (static_cast<int>(slots_.size()) <= i) {
    WindowGeometry g = engine_.message_window().Geometry();
    slots_.resize(static_cast<size_t>(i) + 1);
    BackgroundFrame& s = slots_.back();
    s.frame.Create(kScreenWidth, kScreenHeight);
    s.window_image.Create(g.width, g.height);
    s.clean.Create(g.width, g.height);
  }
  return slots_[static_cast<size_t>(i)];
}

void BackgroundAnimation::KeepCleanArea(BackgroundFrame& slot) {
  WindowGeometry g = engine_.message_window().Geometry();
  slot.clean.Fill(0, 0, 0);
  CopyRect(slot.clean, 0, 0, slot.frame, g.x, g.y, g.width, g.height);
}

int BackgroundAnimation::FrameAt(int position) const {
  int f =
      position >= 0 && position < sequence_length_ ? sequence_[static_cast<size_t>(position)] : 0;
  // A sequence may name frames that were never made: those show the first frame.
  return f >= 0 && f < static_cast<int>(slots_.size()) ? f : 0;
}

Picture& BackgroundAnimation::current_frame() { return slots_[FrameAt(position_)].frame; }

void BackgroundAnimation::ReadSequence(std::string_view text, bool letters) {
  sequence_length_ = 0;
  for (char c : text.substr(1)) {
    if (sequence_length_ >= kMaxPlaySequence) break;
    int f;
    if (!letters) {
      f = c - '0';
    } else if (c >= '0' && c <= '9') {
      f = c - '0';
    } else if (c >= 'A' && c <= 'Z') {
      f = 10 + c - 'A';
    } else {
      break;
    }
    sequence_[static_cast<size_t>(sequence_length_++)] = f;
  }
}

int BackgroundAnimation::LoadFrames(const std::vector<std::string>& fields, bool& once) {
  int i = 0;
  for (; i < kMaxBackgroundFrames; ++i) {
    const std::string& name = FieldAt(fields, static_cast<size_t>(i) + 1);
    if (name.empty()) break;
    if (name[0] == '#' || name[0] == '>') {
      ReadSequence(name, true);
      once = name[0] == '>';
      break;
    }
    BackgroundFrame& slot = Slot(i);
    // A picture no archive holds keeps the slot's previous frame.
    engine_.picture_loader().LoadPicture(name, slot.frame);
    if (slot.frame.width() != kScreenWidth || slot.frame.height() != kScreenHeight) {
      slot.frame.Resize(kScreenWidth, kScreenHeight);
    }
    KeepCleanArea(slot);
  }
  return i;
}

int BackgroundAnimation::MakeDisplacedFrames(const std::vector<std::string>& fields) {
  const Picture& screen = engine_.screen();
  int i = 0;
  for (; i < kMaxBackgroundFrames; ++i) {
    const size_t f = 2 + 3 * static_cast<size_t>(i);
    const std::string& level_text = FieldAt(fields, f);
    if (level_text.empty()) break;
    if (level_text[0] == '#') {
      ReadSequence(level_text, false);
      break;
    }
    const int level = ParseInt(level_text);
    const int x = ParseInt(FieldAt(fields, f + 1));
    const int y = ParseInt(FieldAt(fields, f + 2));
    BackgroundFrame& slot = Slot(i);
    CopyPicture(slot.frame, x, y, screen);
    const int shift = std::abs(x);
    if (level != 0 && shift < kScreenWidth) {
      // The displaced screen over the screen as it is, with the level on the displaced one.
      const size_t groups = static_cast<size_t>(kScreenWidth - shift) * 3 / 8;
      for (int r = std::max(0, -y); r < kScreenHeight && r + y < kScreenHeight; ++r) {
        CrossFadeRow(slot.frame.Pixel(std::max(x, 0), r), screen.Pixel(std::max(-x, 0), r + y),
                     screen.Row(r), groups, level);
      }
    }
    KeepCleanArea(slot);
  }
  return i;
}

void BackgroundAnimation::RedrawWindow() {
  engine_.message_window().InvalidateWindowCache();
  engine_.composition().RebuildScreen();
  engine_.platform().Present(engine_.screen());
  engine_.menus().UpdateMenus();
}

void BackgroundAnimation::End() {
  ScreenPictures& pics = engine_.pictures();
  if (!slots_.empty()) {
    BackgroundFrame& shown = slots_[FrameAt(position_)];
    WindowGeometry g = engine_.message_window().Geometry();
    engine_.composition().set_background_name("");
    pics.background = shown.frame;
    CopyPicture(pics.background, g.x, g.y, shown.clean);
    pics.scene = pics.background;
  }
  active_ = 0;
  RedrawWindow();
}

void BackgroundAnimation::Release() {
  active_ = 0;
  if (engine_.settings().Int(SettingId::MemorySaveMode) != 0) slots_.clear();
  RedrawWindow();
}

void BackgroundAnimation::PlayOnce() {
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  for (int k = 0; k < sequence_length_ && !engine_.platform().ShouldStop();) {
    engine_.platform().Present(slots_[FrameAt(k)].frame);
    k += clock.ClockWait(speed_ * kPlayOncePeriodFactor);
  }
  active_ = 0;
  engine_.window_open = false;
}

void BackgroundAnimation::Command(std::string_view argument) {
  const std::vector<std::string> fields = Fields(ToUpperSjis(UntilNul(argument)));
  const bool was_busy = engine_.busy;
  engine_.busy = true;
  const std::string& first = fields[0];
  if (first.starts_with("END")) {
    End();
  } else if (first.starts_with("RELEASE")) {
    Release();
  } else {
    const bool offsets = first.starts_with("OFS");
    const size_t speed_field = offsets ? 1 : 0;
    if (!FieldAt(fields, speed_field + 1).empty()) {
      speed_ = ParseInt(FieldAt(fields, speed_field));
      active_ = 0;
      for (int k = 0; k < kMaxPlaySequence; ++k) sequence_[static_cast<size_t>(k)] = k;
      sequence_length_ = 0;
      position_ = 0;
      bool once = false;
      const int made = offsets ? MakeDisplacedFrames(fields) : LoadFrames(fields, once);
      if (made > 0) {
        if (once) {
          PlayOnce();
        } else {
          if (sequence_length_ == 0) sequence_length_ = made;
          active_ = made;
          engine_.menus().UpdateMenus();
          engine_.composition().RebuildScreen();
        }
      }
    }
  }
  engine_.busy = was_busy;
}

void BackgroundAnimation::Frame(uint32_t frame_counter) {
  if (active_ == 0) return;
  // A speed below 1 steps every frame.
  const uint32_t period = static_cast<uint32_t>(std::max(speed_, 1));
  if (frame_counter % period != 0) return;
  position_ = sequence_length_ > 0 ? (position_ + 1) % sequence_length_ : 0;
  BackgroundFrame& shown = slots_[FrameAt(position_)];
  if (engine_.screen_mode == 0) {
    engine_.platform().Present(shown.frame);
  } else if (engine_.screen_mode == 1) {
    // The hide-window view: the frame without its window.
    WindowGeometry g = engine_.message_window().Geometry();
    engine_.screen() = shown.frame;
    CopyPicture(engine_.screen(), g.x, g.y, shown.clean);
    engine_.platform().Present(engine_.screen());
  }
}

bool BackgroundAnimation::RestoreWindowAreas() {
  if (active_ == 0) return false;
  WindowGeometry g = engine_.message_window().Geometry();
  for (int i = 0; i < active_; ++i) CopyPicture(slots_[i].frame, g.x, g.y, slots_[i].clean);
  return true;
}

}  // namespace quill
