// select: the text choices in the window layout (plates centred on SELECT_Y_POS) and in the
// full-screen layout (a plate per text row), hover, keyboard, confirmation and the jump.
#include "engine/choices.h"

#include <algorithm>

#include "engine/engine.h"
#include "graphics/masked_drawing.h"

namespace quill {
namespace {

constexpr std::string_view kChoiceShownSound = "SSE02";
constexpr std::string_view kChoiceTakenSound = "SSE01";
constexpr int kFlashSteps = 4, kReplayFlashSteps = 14;
constexpr int kFlashPeriodMs = 100;
// Text colours: window plates in the current colour, lit in red; full-screen plates in grey,
// lit in yellow.
constexpr int kWindowTextColour = 0, kWindowLitColour = 2;
constexpr int kFullTextColour = 7, kFullLitColour = 4;
// The keyboard puts the pointer near the plate's right end, 31 pixels into its row.
constexpr int kKeyPointerInset = 7, kKeyPointerTop = 31;

int PlateHeight(const Picture& plate) { return plate.height() / 2; }

}  // namespace

void Choices::StartUp() {
  PictureLoader& loader = engine_.picture_loader();
  loader.LoadPicture("sys_sw", plate_);
  loader.LoadPicture("sys_sw2", plate_lit_);
  if (engine_.config().SELECT_EXPAND != 0) {
    loader.LoadPicture("sys_sww", wide_plate_);
    loader.LoadPicture("sys_sww2", wide_plate_lit_);
  }
  clean_.Create(kScreenWidth, kScreenHeight);
  display_.Create(kScreenWidth, kScreenHeight);
}

void Choices::SelectCommand() {
  Engine& e = engine_;
  ValueBanks& banks = e.banks();
  if (e.skip_mode) {
    // Skipping on through the choice (BreakonSelect off): the skipped pages left no picture.
    e.composition().ComposeScene();
    e.composition().RebuildScreen();
    e.page_grid().page_empty = false;
  }
  e.sound_commands().PlayNamed(kChoiceShownSound);
  e.busy = true;
  e.choice_mode = e.Layout() != 0 ? kChoiceFullScreen : kChoiceWindow;
  plate_row_ = e.page_grid().row;

  SelectBlock block = ReadSelectBlock(
      e.main_script().script(), e.main_script().read_position,
      [&e](std::string_view condition) { return TestCondition(condition, e.banks(), e); },
      [&banks](int n) { return banks.NameSlot(n); });
  table_ = {};
  table_[0].resume = block.close;
  bool wide = !wide_plate_.empty() && !wide_plate_lit_.empty();
  const Picture& full_plate = wide ? wide_plate_ : plate_;
  const Picture& full_lit = wide ? wide_plate_lit_ : plate_lit_;
  const GameConfig& c = e.config();
  count_ = static_cast<int>(block.choices.size());
  for (int i = 1; i <= count_; ++i) {
    ChoiceEntry& entry = table_[i];
    entry.zone.name = std::move(block.choices[i - 1].text);
    entry.resume = block.choices[i - 1].resume;
    if (e.choice_mode == kChoiceFullScreen) {
      ClickZone& z = entry.zone;
      z.left = (kScreenWidth - full_plate.width()) / 2;
      z.right = z.left + full_plate.width();
      z.top = plate_row_ * c.TX2_PITCH_Y + c.TX2_OFS_Y;
      z.bottom = z.top + PlateHeight(full_plate);
      ++plate_row_;
    }
  }
  CopyPicture(clean_, 0, 0, e.screen());

  if (e.choice_mode == kChoiceFullScreen) {
    LayoutFullScreenChoices(full_plate, full_lit);
  } else {
    LayoutWindowChoices();
    if (banks.S(151) == kRecorderReplay) {
      hover_index_ = e.recorder().ReplayNext(banks);
      if (hover_index_ > count_) hover_index_ = 0;
      ConfirmChoice();
    }
  }
  if (e.choice_mode != kChoiceNone) {
    hover_index_ = -1;
    UpdateHover(e.pointer_x, e.pointer_y);
  }
  e.busy = false;
}

void Choices::LayoutFullScreenChoices(const Picture& plate, const Picture& lit) {
  Engine& e = engine_;
  Picture& screen = e.screen();
  Picture& highlight = e.pictures().choice_work;
  CopyPicture(highlight, 0, 0, screen);
  GlyphDrawing& glyphs = e.glyph_drawing();
  for (int i = 1; i <= count_; ++i) {
    const ClickZone& z = table_[i].zone;
    DrawMaskedStacked(screen, z.left, z.top, plate);
    DrawMaskedStacked(highlight, z.left, z.top, lit);
    int x = (z.left + z.right) / 2;
    glyphs.DrawGlyphText(z.name, x, screen, kFullTextColour, z.top + 5);
    glyphs.DrawGlyphText(z.name, x, highlight, kFullLitColour, z.top + 5);
  }
  glyphs.SetTextColour(0);
}

void Choices::LayoutWindowChoices() {
  Engine& e = engine_;
  const GameConfig& c = e.config();
  Picture& screen = e.screen();
  Picture& highlight = e.pictures().choice_work;
  choices_top_ = c.SELECT_Y_POS - (c.SELECT_Y_PITCH / 2) * count_;
  CopyPicture(highlight, 0, 0, screen);
  size_t longest = 0;
  for (int i = 1; i <= count_; ++i) longest = std::max(longest, table_[i].zone.name.size());
  // Without the wide plates (SELECT_EXPAND 0) every list takes the narrow ones.
  bool wide = static_cast<int64_t>(longest) >= 2 * static_cast<int64_t>(c.SELECT_EXPAND) &&
              !wide_plate_.empty() && !wide_plate_lit_.empty();
  const Picture& plate = wide ? wide_plate_ : plate_;
  const Picture& lit = wide ? wide_plate_lit_ : plate_lit_;
  plate_width_ = plate.width();
  plate_left_ = (kScreenWidth - plate_width_) / 2;
  int text_offset = plate_.height() / 4 - c.FONT_SIZE / 2 - 3;
  GlyphDrawing& glyphs = e.glyph_drawing();
  for (int n = 0; n < count_; ++n) {
    int y = n * c.SELECT_Y_PITCH + choices_top_;
    DrawMaskedStacked(screen, plate_left_, y, plate);
    DrawMaskedStacked(highlight, plate_left_, y, lit);
    const std::string& text = table_[n + 1].zone.name;
    glyphs.DrawGlyphText(text, kScreenWidth / 2, screen, kWindowTextColour, y + text_offset);
    glyphs.DrawGlyphText(text, kScreenWidth / 2, highlight, kWindowLitColour, y + text_offset);
  }
  glyphs.SetTextColour(0);
  e.platform().Present(screen);
}

// The band of row `row` (0-based) from the highlight buffer or the screen buffer onto the display.
void Choices::ShowRow(int row, bool lit) {
  Engine& e = engine_;
  int half = plate_width_ / 2;
  Rect band{kScreenWidth / 2 - half, row * e.config().SELECT_Y_PITCH + choices_top_, 2 * half,
            e.config().SELECT_Y_PITCH};
  e.platform().PresentRect(lit ? e.pictures().choice_work : e.screen(), band);
}

void Choices::ShowPlate(int i, bool lit) {
  Engine& e = engine_;
  const ClickZone& z = table_[i].zone;
  e.platform().PresentRect(lit ? e.pictures().choice_work : e.screen(),
                           Rect{z.left, z.top, z.right - z.left, z.bottom - z.top});
}

void Choices::UpdateHover(int x, int y) {
  Engine& e = engine_;
  int i = 0;
  if (e.choice_mode == kChoiceFullScreen) {
    for (int k = 1; k <= count_ && i == 0; ++k) {
      const ClickZone& z = table_[k].zone;
      if (z.left < x && x < z.right && z.top < y && y < z.bottom) i = k;
    }
  } else if (e.choice_mode == kChoiceWindow) {
    int pitch = e.config().SELECT_Y_PITCH;
    if (kScreenWidth / 2 - plate_width_ / 2 < x && x < kScreenWidth / 2 + plate_width_ / 2 &&
        choices_top_ < y && y < choices_top_ + pitch * count_ && pitch > 0) {
      i = (y - choices_top_) / pitch + 1;
    }
  } else {
    return;
  }
  if (i == hover_index_) return;
  for (int k = 1; k <= count_; ++k) {
    if (e.choice_mode == kChoiceFullScreen) {
      ShowPlate(k, k == i);
    } else {
      ShowRow(k - 1, k == i);
    }
  }
  hover_index_ = i;
}

void Choices::MoveChoicePointer(int direction) {
  Engine& e = engine_;
  if (e.choice_mode != kChoiceWindow || count_ == 0) return;
  int index = 0;
  if (direction < 0) {
    index = hover_index_ < 2 || hover_index_ > count_ ? 0 : hover_index_ - 2;
  } else {
    index = hover_index_ < 1 || hover_index_ >= count_ ? count_ - 1 : hover_index_;
  }
  // A row per step of SELECT_Y_PITCH, so the pointer lands on the row whatever the pitch.
  int pitch = e.config().SELECT_Y_PITCH;
  int x = plate_left_ + plate_width_ - kKeyPointerInset;
  int y = choices_top_ + (pitch > kKeyPointerTop ? kKeyPointerTop : pitch / 2) + pitch * index;
  e.platform().WarpPointer(x, y);
  e.PBMouseMove(x, y);
}

void Choices::FlashRow(int row) {
  Engine& e = engine_;
  int steps = e.banks().S(151) == kRecorderReplay ? kReplayFlashSteps : kFlashSteps;
  FrameClock& clock = e.frame_clock();
  clock.ClockStart();
  for (int step = 0; step < steps; ++step) {
    ShowRow(row, step % 2 == 1);
    clock.ClockWait(kFlashPeriodMs);
  }
}

void Choices::ConfirmChoice() {
  Engine& e = engine_;
  ValueBanks& banks = e.banks();
  if (hover_index_ <= 0 || hover_index_ > count_) return;
  if (e.choice_mode == kChoiceClickMap && !table_[hover_index_].enabled) return;
  std::string_view chosen_sound = banks.NameSlot(8);
  e.sound_commands().PlayNamed(banks.NameSlot(7).empty() ? kChoiceTakenSound : chosen_sound);
  if (banks.S(151) == kRecorderRecord) e.recorder().Record(banks, hover_index_);
  timeout_ticks_ = 0;
  timeout_choice_ = 0;
  switch (e.choice_mode) {
    case kChoiceWindow: {
      e.busy = true;
      FlashRow(hover_index_ - 1);
      e.busy = false;
      banks.SetS(15, 0);
      e.choice_mode = kChoiceNone;
      CopyPicture(e.screen(), 0, 0, clean_);
      e.platform().Present(e.screen());
      if (e.window_open) e.NewPage();
      JumpToChoice();
      return;
    }
    case kChoiceFullScreen:
      banks.SetS(15, 0);
      e.NewPage();
      JumpToChoice();
      e.choice_mode = kChoiceNone;
      return;
    case kChoiceClickMap: {
      const ClickZone& z = table_[hover_index_].zone;
      if (banks.S(15) == 1) {
        int w = z.right - z.left, h = z.bottom - z.top;
        CopyRect(e.screen(), z.left, z.top, e.parts_pressed(), z.left, z.top, w, h);
        e.platform().PresentRect(e.screen(), Rect{z.left, z.top, w, h});
      } else if (e.Layout() == 0) {
        e.platform().Present(e.screen());
      }
      banks.SetS(15, 0);
      JumpToChoice();
      EndClickMap();
      return;
    }
    default:
      return;
  }
}

void Choices::JumpToChoice() {
  Engine& e = engine_;
  e.main_script().read_position = table_[std::clamp(hover_index_, 0, kMaxChoices)].resume;
  e.banks().SetS(10, 0);
  e.fetch_line = true;
}

void Choices::CloseChoiceDisplay() {
  Engine& e = engine_;
  if (e.choice_mode == kChoiceWindow || e.choice_mode == kChoiceFullScreen) {
    CopyPicture(e.screen(), 0, 0, clean_);
    e.platform().Present(e.screen());
  } else if (e.choice_mode == kChoiceClickMap) {
    e.platform().Present(e.screen());
    EndClickMap();
  }
  e.choice_mode = kChoiceNone;
  timeout_ticks_ = 0;
  timeout_choice_ = 0;
  hover_index_ = 0;
}

}  // namespace quill
