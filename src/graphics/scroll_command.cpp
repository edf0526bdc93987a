#include "graphics/scroll_command.h"

#include "common/text_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr int kScrollScreenMode = 7;

struct Course {
  int x0, y0, dx, dy, distance;
};

bool CourseFor(int direction, int w, int h, Course& c) {
  switch (direction) {
    case 0:
      c = {0, h - kScreenHeight, 0, -1, h - kScreenHeight};
      return true;
    case 1:
      c = {0, 0, 1, 0, w - kScreenWidth};
      return true;
    case 2:
      c = {0, 0, 0, 1, h - kScreenHeight};
      return true;
    case 3:
      c = {w - kScreenWidth, 0, -1, 0, w - kScreenWidth};
      return true;
    default:
      return false;
  }
}

// The 800 × 600 view at (x, y); what lies outside the picture is black.
void View(Picture& out, const Picture& picture, int x, int y) {
  out.Fill(0, 0, 0);
  CopyRect(out, 0, 0, picture, x, y, kScreenWidth, kScreenHeight);
}

}  // namespace

ScrollArguments ReadScrollArguments(std::string_view argument) {
  argument = UntilNul(argument).substr(0, kScrollArgumentChars);
  ScrollArguments a;
  size_t comma = argument.find(',');
  a.name = std::string(argument.substr(0, comma));
  std::string_view rest = argument;
  int* numbers[] = {&a.direction, &a.period, &a.transition};
  for (int* n : numbers) {
    size_t c = rest.find(',');
    if (c != std::string_view::npos) rest = rest.substr(c + 1);
    *n = ParseInt(rest);
  }
  return a;
}

void ScrollCommand(Engine& engine, std::string_view argument) {
  ScrollArguments a = ReadScrollArguments(argument);
  Course course{};
  // No course is defined for other directions: nothing happens.
  if (!CourseFor(a.direction, 0, 0, course)) return;
  engine.menus_off = true;
  engine.menus().UpdateMenus();
  engine.subsystems().MarkPictureSeen(a.name);
  Picture picture;
  if (!engine.picture_loader().LoadPicture(a.name, picture)) {
    engine.menus_off = false;
    engine.menus().UpdateMenus();
    return;
  }
  engine.screen_mode = kScrollScreenMode;
  CourseFor(a.direction, picture.width(), picture.height(), course);
  ScreenPictures& pics = engine.pictures();
  Platform& platform = engine.platform();
  pics.saved = pics.screen;
  View(pics.screen, picture, course.x0, course.y0);
  engine.transitions().RunTransition(a.transition);

  FrameClock& clock = engine.frame_clock();
  clock.ClockStart();
  engine.busy = true;
  engine.transition_running = true;
  engine.transition_interrupt = 0;
  Picture& view = pics.fade_output;
  for (int i = 0; i < course.distance;) {
    View(view, picture, course.x0 + i * course.dx, course.y0 + i * course.dy);
    platform.Present(view);
    platform.PumpMessages();
    if (engine.transition_interrupt != 0 || platform.ShouldStop()) break;
    i += clock.ClockWait(a.period);
  }
  engine.busy = false;
  engine.transition_running = false;
  engine.screen_mode = 0;
  const int end = course.distance > 0 ? course.distance : 0;
  View(pics.screen, picture, course.x0 + end * course.dx, course.y0 + end * course.dy);
  platform.Present(pics.screen);
  engine.menus_off = false;
  engine.menus().UpdateMenus();
}

}  // namespace quill
