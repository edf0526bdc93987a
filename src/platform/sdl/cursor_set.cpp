#include "platform/sdl/cursor_set.h"

#include <SDL.h>

namespace quill {

CursorSet::~CursorSet() { Clear(); }

void CursorSet::Clear() {
  for (auto& [number, entry] : cursors_) Release(entry);
  cursors_.clear();
  if (arrow_) SDL_FreeCursor(arrow_);
  arrow_ = nullptr;
}

void CursorSet::Release(Entry& entry) {
  for (SDL_Cursor* c : entry.frames) {
    if (c) SDL_FreeCursor(c);
  }
  entry.frames.clear();
}

void CursorSet::Register(int number, const AnimatedCursor& cursor) {
  Entry entry;
  for (const CursorFrame& f : cursor.frames) {
    SDL_Cursor* made = nullptr;
    if (f.width > 0 && f.height > 0 &&
        f.rgba.size() == static_cast<size_t>(f.width) * f.height * 4) {
      SDL_Surface* surface =
          SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(f.rgba.data()), f.width, f.height,
                                             32, f.width * 4, SDL_PIXELFORMAT_RGBA32);
      if (surface) {
        made = SDL_CreateColorCursor(surface, f.hot_x, f.hot_y);
        SDL_FreeSurface(surface);
      }
    }
    entry.frames.push_back(made);
  }
  for (const AnimatedCursor::Step& s : cursor.steps) {
    if (s.frame >= 0 && static_cast<size_t>(s.frame) < entry.frames.size())
      entry.steps.push_back(s);
  }
  auto it = cursors_.find(number);
  if (it != cursors_.end()) Release(it->second);
  cursors_[number] = std::move(entry);
  if (number == shown_) {
    step_ = 0;
    Apply();
  }
}

void CursorSet::Show(int number, uint32_t now_ms) {
  if (number == shown_) return;
  shown_ = number;
  step_ = 0;
  step_started_ = now_ms;
  Apply();
}

void CursorSet::Step(uint32_t now_ms) {
  auto it = cursors_.find(shown_);
  if (it == cursors_.end() || it->second.steps.size() < 2) return;
  const std::vector<AnimatedCursor::Step>& steps = it->second.steps;
  size_t before = step_;
  // A late call skips the steps it missed rather than replaying them.
  for (size_t guard = 0; guard < steps.size(); ++guard) {
    uint32_t duration = steps[step_].duration_ms;
    if (duration == 0 || now_ms - step_started_ < duration) break;
    step_started_ += duration;
    step_ = (step_ + 1) % steps.size();
  }
  // Still behind after a whole round: the animation goes on from now.
  if (now_ms - step_started_ >= steps[step_].duration_ms) step_started_ = now_ms;
  if (step_ != before) Apply();
}

void CursorSet::Apply() {
  SDL_Cursor* target = nullptr;
  auto it = cursors_.find(shown_);
  if (it != cursors_.end() && !it->second.steps.empty()) {
    target = it->second.frames[it->second.steps[step_].frame];
  }
  if (!target) {
    if (!arrow_) arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    target = arrow_;
  }
  if (target) SDL_SetCursor(target);
}

}  // namespace quill
