#include "platform/headless/headless_platform.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "common/file_util.h"
#include "common/png_io.h"
#include "common/sjis.h"
#include "common/wav_file.h"
#include "platform/user_folders.h"

namespace quill {
namespace fs = std::filesystem;
namespace {

// The OK/Cancel box, answered by "dialog ok" or "dialog cancel".
class OkCancelBox : public ModalDialog {
 public:
  std::string_view Kind() const override { return "message"; }
  bool Answer(const std::vector<std::string>& words, std::string* error) override {
    if (words.size() == 1 && (words[0] == "ok" || words[0] == "cancel")) {
      ok = words[0] == "ok";
      return true;
    }
    *error = "a message box is open: answer it with 'dialog ok' or 'dialog cancel'";
    return false;
  }
  bool DrawFrame() override { return false; }
  bool ok = false;
};

}  // namespace

HeadlessPlatform::HeadlessPlatform(fs::path game_folder, std::vector<ScenarioEvent> events,
                                   uint32_t limit_ms)
    : game_folder_(std::move(game_folder)),
      events_(std::move(events)),
      handled_(events_.size(), false) {
  uint32_t last = events_.empty() ? 0 : events_.back().time_ms;
  limit_ = last + limit_ms;
}

void HeadlessPlatform::Error(const ScenarioEvent& ev, const std::string& what) {
  std::string message = "scenario line " + std::to_string(ev.line) + ": " + what;
  std::fprintf(stderr, "%s\n", message.c_str());
  errors_.push_back(message);
}

void HeadlessPlatform::Advance(uint32_t to) {
  if (to < now_) return;
  // Nothing is presented while the engine sleeps: shots due before `to` see today's display.
  for (size_t i = next_; i < events_.size() && events_[i].time_ms < to; ++i) {
    if (!handled_[i] && events_[i].kind == ScenarioKind::Shot) {
      handled_[i] = true;
      TakeShot(events_[i]);
    }
  }
  PullAudio(static_cast<uint64_t>(to) * kAudioRate / 1000);
  now_ = to;
}

void HeadlessPlatform::PumpMessages() {
  while (next_ < events_.size() && events_[next_].time_ms <= now_ && !stop_) {
    size_t i = next_++;
    if (!handled_[i]) Handle(i);
  }
  FireTimerIfDue();
}

void HeadlessPlatform::FireTimerIfDue() {
  if (now_ < next_tick_) return;
  // Coalesce: one tick however many periods passed, the next one on the period grid.
  next_tick_ = (now_ / kTimerPeriodMs + 1) * kTimerPeriodMs;
  if (sink_) sink_->OnTimer();
}

void HeadlessPlatform::Handle(size_t index) {
  handled_[index] = true;
  const ScenarioEvent& ev = events_[index];
  auto pointer = [&] {
    pointer_x_ = ev.x;
    pointer_y_ = ev.y;
  };
  switch (ev.kind) {
    case ScenarioKind::Size:
      break;
    case ScenarioKind::Click:
    case ScenarioKind::RClick:
    case ScenarioKind::MClick: {
      pointer();
      MouseButton b = ev.kind == ScenarioKind::Click    ? MouseButton::Left
                      : ev.kind == ScenarioKind::RClick ? MouseButton::Right
                                                        : MouseButton::Middle;
      if (sink_) {
        sink_->OnMouseMove(ev.x, ev.y);
        sink_->OnMouseDown(b, ev.x, ev.y);
        sink_->OnMouseUp(b, ev.x, ev.y);
      }
      break;
    }
    case ScenarioKind::Move:
      pointer();
      if (sink_) sink_->OnMouseMove(ev.x, ev.y);
      break;
    case ScenarioKind::Down:
    case ScenarioKind::RDown:
      pointer();
      if (sink_)
        sink_->OnMouseDown(ev.kind == ScenarioKind::Down ? MouseButton::Left : MouseButton::Right,
                           ev.x, ev.y);
      break;
    case ScenarioKind::Up:
    case ScenarioKind::RUp:
      pointer();
      if (sink_)
        sink_->OnMouseUp(ev.kind == ScenarioKind::Up ? MouseButton::Left : MouseButton::Right, ev.x,
                         ev.y);
      break;
    case ScenarioKind::Wheel:
      if (sink_) sink_->OnMouseWheel(ev.wheel, pointer_x_, pointer_y_);
      break;
    case ScenarioKind::Key:
      if (sink_) {
        sink_->OnKeyDown(ev.key);
        sink_->OnKeyUp(ev.key);
      }
      break;
    case ScenarioKind::KeyDown:
      if (sink_) sink_->OnKeyDown(ev.key);
      break;
    case ScenarioKind::KeyUp:
      if (sink_) sink_->OnKeyUp(ev.key);
      break;
    case ScenarioKind::Char:
      if (sink_) sink_->OnChar(ev.text);
      break;
    case ScenarioKind::Shot:
      TakeShot(ev);
      break;
    case ScenarioKind::State:
      WriteState(ev);
      break;
    case ScenarioKind::Dialog:
      Error(ev, "no dialog is open");
      break;
    case ScenarioKind::Close:
      if (sink_) sink_->OnCloseRequest();
      break;
    case ScenarioKind::Quit:
      stop_ = true;
      break;
    case ScenarioKind::Focus:
      window_active_ = ev.active;
      break;
  }
}

void HeadlessPlatform::TakeShot(const ScenarioEvent& ev) {
  std::string error;
  if (!WritePng(ev.path, ShotPicture(), &error)) Error(ev, "shot: " + error);
}

Picture HeadlessPlatform::ShotPicture() const {
  if (shake_dx_ == 0 && shake_dy_ == 0) return display_;
  Picture shot(kScreenWidth, kScreenHeight);
  CopyPicture(shot, shake_dx_, shake_dy_, display_);
  return shot;
}

void HeadlessPlatform::WriteState(const ScenarioEvent& ev) {
  nlohmann::ordered_json state;
  state["time_ms"] = now_;
  state["shake_offset"] = {shake_dx_, shake_dy_};
  if (sink_) sink_->WriteState(state);
  state["cursor"] = shown_cursor_;
  // Texts come from Shift-JIS conversions that never fail, but a dump must never stop the run.
  std::string text =
      state.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  std::string error;
  if (!WriteFileAtomic(ev.path, text.data(), text.size(), &error)) Error(ev, "state: " + error);
}

void HeadlessPlatform::Present(const Picture& screen) {
  CopyRect(display_, 0, 0, screen, 0, 0, kScreenWidth, kScreenHeight);
}

void HeadlessPlatform::PresentRect(const Picture& screen, Rect area) {
  CopyRect(display_, area.x, area.y, screen, area.x, area.y, area.w, area.h);
}

void HeadlessPlatform::SetTitle(std::string_view sjis) { title_ = std::string(sjis); }

bool HeadlessPlatform::GetWindowPosition(int& x, int& y) {
  x = window_x_;
  y = window_y_;
  return true;
}

void HeadlessPlatform::SetWindowPosition(int x, int y) {
  window_x_ = x;
  window_y_ = y;
}

void HeadlessPlatform::SetShakeOffset(int dx, int dy) {
  shake_dx_ = dx;
  shake_dy_ = dy;
}

bool HeadlessPlatform::SetDisplayMode(DisplayMode mode) {
  mode_ = mode;
  return true;
}

void HeadlessPlatform::GetDesktopSize(int& width, int& height) {
  width = 1920;
  height = 1080;
}

void HeadlessPlatform::RunModal(ModalDialog& dialog) {
  // The dialog owns the input until a `dialog` event answers it; time moves on to each event.
  while (!stop_) {
    while (next_ < events_.size() && handled_[next_]) ++next_;
    if (next_ >= events_.size()) {
      std::fprintf(stderr, "scenario: the %s dialog is open but the scenario ends\n",
                   std::string(dialog.Kind()).c_str());
      errors_.push_back("scenario: a dialog was left unanswered");
      stop_ = true;
      return;
    }
    size_t i = next_++;
    const ScenarioEvent& ev = events_[i];
    Advance(std::max(now_, ev.time_ms));
    FireTimerIfDue();
    if (handled_[i]) continue;
    switch (ev.kind) {
      case ScenarioKind::Dialog: {
        handled_[i] = true;
        std::string error;
        if (!dialog.Answer(ev.words, &error)) {
          Error(ev, error);
        } else if (!dialog.StaysOpen()) {
          return;
        }
        break;
      }
      case ScenarioKind::Shot:
      case ScenarioKind::State:
      case ScenarioKind::Quit:
        Handle(i);
        break;
      default:
        handled_[i] = true;  // the dialog is modal: input to the game window is lost
        break;
    }
  }
}

bool HeadlessPlatform::AskOkCancel(std::string_view, std::string_view) {
  OkCancelBox box;
  RunModal(box);
  return box.ok;
}

void HeadlessPlatform::ShowError(std::string_view caption, std::string_view text) {
  std::fprintf(stderr, "%s: %s\n", SjisToUtf8Lossy(caption).c_str(), SjisToUtf8Lossy(text).c_str());
}

bool HeadlessPlatform::GetPointer(int& x, int& y) {
  x = pointer_x_;
  y = pointer_y_;
  return true;
}

void HeadlessPlatform::WarpPointer(int x, int y) {
  pointer_x_ = x;
  pointer_y_ = y;
}

void HeadlessPlatform::RegisterCursor(int number, const AnimatedCursor& cursor) {
  cursor_frames_[number] = static_cast<int>(cursor.frames.size());
}

int HeadlessPlatform::cursor_frames(int number) const {
  auto it = cursor_frames_.find(number);
  return it == cursor_frames_.end() ? 0 : it->second;
}

bool HeadlessPlatform::OpenAudio(AudioCallback callback) {
  audio_ = std::move(callback);
  return true;
}

// The device plays in step with virtual time: everything up to `target` frames, with silence
// while no callback is open.
void HeadlessPlatform::PullAudio(uint64_t target) {
  while (audio_frames_done_ < target) {
    int count = static_cast<int>(std::min<uint64_t>(target - audio_frames_done_, 4096));
    audio_scratch_.assign(static_cast<size_t>(count) * 2, 0);
    if (audio_) audio_(audio_scratch_.data(), count);
    if (audio_out_) {
      std::fwrite(audio_scratch_.data(), 4, static_cast<size_t>(count), audio_out_);
      audio_out_frames_ += static_cast<uint64_t>(count);
    }
    audio_frames_done_ += static_cast<uint64_t>(count);
  }
}

namespace {

void WriteWavHeader(std::FILE* f, uint64_t frames) {
  uint32_t data = static_cast<uint32_t>(std::min<uint64_t>(frames * 4, 0xFFFFFFFFull - 36));
  std::vector<uint8_t> header = WavHeader(2, kAudioRate, data);
  std::fseek(f, 0, SEEK_SET);
  std::fwrite(header.data(), 1, header.size(), f);
}

}  // namespace

bool HeadlessPlatform::SetAudioOut(const fs::path& wav, std::string* error) {
  audio_out_ = std::fopen(wav.c_str(), "wb");
  if (!audio_out_) {
    *error = wav.string() + ": cannot create the file";
    return false;
  }
  WriteWavHeader(audio_out_, 0);
  return true;
}

void HeadlessPlatform::FinishAudioOut() {
  if (!audio_out_) return;
  // The mix runs to the time the run ended.
  PullAudio(static_cast<uint64_t>(now_) * kAudioRate / 1000);
  WriteWavHeader(audio_out_, audio_out_frames_);
  std::fclose(audio_out_);
  audio_out_ = nullptr;
}

HeadlessPlatform::~HeadlessPlatform() { FinishAudioOut(); }

fs::path HeadlessPlatform::ConfigFolder() { return XdgConfigFolder(); }
fs::path HeadlessPlatform::DataFolder() { return XdgDataFolder(); }
fs::path HeadlessPlatform::RuntimeFolder() { return XdgRuntimeFolder(); }

}  // namespace quill
