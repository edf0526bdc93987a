#include "graphics/screen_objects.h"

#include <algorithm>
#include <string>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/display_pieces.h"

namespace quill {
namespace {

enum class Sub { Load, Del, Set, Era, BoardMake, BoardEnd, BoardReset, BoardSet, BoardShow, Fix };

struct SubName {
  std::string_view word;
  Sub sub;
};
// Matched as prefixes in this order.
constexpr SubName kSubs[] = {{"load ", Sub::Load},         {"del ", Sub::Del},
                             {"set ", Sub::Set},           {"era ", Sub::Era},
                             {"b_make", Sub::BoardMake},   {"b_end", Sub::BoardEnd},
                             {"b_reset", Sub::BoardReset}, {"b_set ", Sub::BoardSet},
                             {"b_show", Sub::BoardShow},   {"fix", Sub::Fix}};

// The numbered fields after the sub-command: each starts after the next comma; where the comma
// is missing the same text is read again (so a missing Y repeats X). WAIT alone is 0 then.
struct Fields {
  std::string_view n, x, y;
  std::string_view wait;
  bool has_wait = false;
};

Fields ReadFields(std::string_view text) {
  // "fix" has no blank of its own: the blank before the numbers is skipped as numbers skip it.
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  Fields f;
  auto next = [](std::string_view t, bool* found) {
    size_t comma = t.find(',');
    if (found) *found = comma != std::string_view::npos;
    return comma == std::string_view::npos ? t : t.substr(comma + 1);
  };
  f.n = text;
  f.x = next(f.n, nullptr);
  f.y = next(f.x, nullptr);
  f.wait = next(f.y, &f.has_wait);
  return f;
}

}  // namespace

void ScreenObjects::Reset() {
  for (ScreenObject& o : objects_) o = ScreenObject{};
  board_ = Picture{};
  board_made_ = false;
}

void ScreenObjects::Compose(ScreenObject& object, const Picture& under, int x, int y) {
  const Picture& p = object.picture;
  const int w = p.width(), h = p.height() / 2;
  CutOut(object.composite, under, x, y, w, h);
  const size_t groups = static_cast<size_t>(w) * 3 / 8;
  for (int r = 0; r < h; ++r) {
    uint8_t* row = object.composite.Row(r);
    MaskedBlendRow(row, row, p.Row(r), p.Row(h + r), groups);
  }
}

void ScreenObjects::Command(std::string_view argument) {
  argument = UntilNul(argument);
  const SubName* match = nullptr;
  for (const SubName& s : kSubs) {
    if (StartsWithIgnoreCase(argument, s.word)) {
      match = &s;
      break;
    }
  }
  if (!match) return;
  Engine& e = engine_;
  const std::string_view text = argument.substr(match->word.size());
  const Fields f = ReadFields(text);
  auto eval = [&e](std::string_view t) { return EvalExpression(t, e.banks(), e); };
  FrameClock& clock = e.frame_clock();
  auto numbered = [&]() -> ScreenObject* {
    int n = eval(f.n);
    // Numbers outside the table name no object.
    return n >= 0 && n < kObjectCount ? &objects_[static_cast<size_t>(n)] : nullptr;
  };

  switch (match->sub) {
    case Sub::Load: {
      ScreenObject* o = numbered();
      if (!o) return;
      o->created = true;
      std::string_view rest = f.x;
      std::string name(rest.substr(0, rest.find(',')));
      e.picture_loader().LoadPicture(name, o->picture);
      o->composite.Create(o->picture.width(), o->picture.height() / 2);
      return;
    }
    case Sub::Del: {
      ScreenObject* o = numbered();
      if (o && o->created) *o = ScreenObject{};
      return;
    }
    case Sub::Set:
    case Sub::Fix:
    case Sub::Era: {
      ScreenObject* o = numbered();
      if (!o) return;
      clock.ClockStart();
      const int x = eval(f.x), y = eval(f.y);
      if (o->created) {
        if (match->sub == Sub::Era) {
          CutOut(o->composite, e.screen(), x, y, o->picture.width(), o->picture.height() / 2);
          ShowOnDisplay(e, o->composite, x, y);
        } else {
          Compose(*o, e.screen(), x, y);
          if (match->sub == Sub::Fix) {
            ShowOnDisplayAndScreen(e, o->composite, x, y);
          } else {
            ShowOnDisplay(e, o->composite, x, y);
          }
          o->x = x;
          o->y = y;
        }
      }
      const int wait = f.has_wait ? eval(f.wait) : 0;
      if (wait != 0) clock.ClockWait(wait);
      return;
    }
    case Sub::BoardMake:
      if (!board_made_) {
        board_.Create(kScreenWidth, kScreenHeight);
        board_made_ = true;
      }
      clock.ClockStart();
      return;
    case Sub::BoardEnd:
      board_ = Picture{};
      board_made_ = false;
      return;
    case Sub::BoardReset:
      if (board_made_) {
        clock.ClockStart();
        board_ = e.screen();
      }
      return;
    case Sub::BoardSet: {
      ScreenObject* o = numbered();
      if (!board_made_ || !o || !o->created) return;
      const int x = eval(f.x), y = eval(f.y);
      Compose(*o, board_, x, y);
      CopyPicture(board_, x, y, o->composite);
      o->x = x;
      o->y = y;
      return;
    }
    case Sub::BoardShow:
      if (board_made_) e.platform().Present(board_);
      return;
  }
}

}  // namespace quill
