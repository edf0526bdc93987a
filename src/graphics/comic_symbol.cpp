#include "graphics/comic_symbol.h"

#include "engine/engine.h"
#include "graphics/display_pieces.h"
#include "graphics/masked_drawing.h"
#include "graphics/split_fields.h"

namespace quill {

int ComicSymbol::X() const { return engine_.banks().S(32); }
int ComicSymbol::Y() const { return engine_.banks().S(33); }

void ComicSymbol::Command(std::string_view argument) {
  SplitResult split = SplitFields(argument);
  if (split.count == 0) return;
  // A name no archive holds keeps the previous symbol.
  engine_.picture_loader().LoadPicture(split.fields[0].text, symbol_);
  const int w = symbol_.width() / 2, h = symbol_.height();
  ValueBanks& banks = engine_.banks();
  if (split.count >= 2) mode_ = split.fields[1].number;
  if (split.count >= 3) {
    banks.SetS(32, split.fields[2].number);
    banks.SetS(33, split.fields[3].number);
  }
  active_ = true;
  CutOut(clean_, engine_.pictures().scene, X(), Y(), w, h);
  composite_ = clean_;
  restore_ = clean_;
  DrawMaskedPair(composite_, 0, 0, symbol_);
  if (mode_ == 1) {
    ShowOnDisplayAndScreen(engine_, composite_, X(), Y());
  } else {
    ShowOnDisplay(engine_, composite_, X(), Y());
  }
}

void ComicSymbol::Tick(uint32_t tick_counter) {
  if (!active_) return;
  if (mode_ == 1) {
    ShowOnDisplay(engine_, restore_, X(), Y());
  } else if (mode_ == 2 && tick_counter % 4 == 0) {
    // Four ticks on, four off.
    ShowOnDisplay(engine_, (tick_counter & 4) != 0 ? composite_ : restore_, X(), Y());
  }
}

void ComicSymbol::Remove() {
  if (!active_) return;
  ShowOnDisplay(engine_, clean_, X(), Y());
  active_ = false;
}

}  // namespace quill
