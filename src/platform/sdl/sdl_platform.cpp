#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/sjis.h"
#include "platform/sdl/input_translation.h"
#include "platform/sdl/message_box.h"
#include "platform/user_folders.h"
#include "ui/imgui_layer.h"
#include "ui/name_entry_view.h"

namespace quill {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxWheelNotches = 8;  // per event, so a runaway wheel cannot flood the engine
// ImGui takes a frame or two to show what an event did (a press latched, then released; a new
// window measured, then drawn): frames drawn at once after an event before the loop waits again.
constexpr int kSettleFrames = 2;
// The system menu's corner in the window: 4 right of the toolbar's left edge and 21 below the top.
// (A framed window of the desktop the games come from counted 40 from its outer edge, caption
// included; the window system draws our caption outside the client area.)
constexpr int kSystemMenuX = 4, kSystemMenuY = 21;

unsigned ButtonBit(MouseButton b) { return 1u << static_cast<unsigned>(b); }

bool ToMouseButton(uint8_t sdl_button, MouseButton& out) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      out = MouseButton::Left;
      return true;
    case SDL_BUTTON_RIGHT:
      out = MouseButton::Right;
      return true;
    case SDL_BUTTON_MIDDLE:
      out = MouseButton::Middle;
      return true;
    default:
      return false;
  }
}

SDL_Rect ToSdl(Rect r) { return SDL_Rect{r.x, r.y, r.w, r.h}; }

bool IsSoftwareRenderer(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
}

// True when the renderer is OpenGL on a rasteriser that runs on the processor (a machine without
// a graphics driver, a virtual X server).
bool GlRasterisesInSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned kGlRenderer = 0x1F01;
  const char* name = get_string ? reinterpret_cast<const char*>(get_string(kGlRenderer)) : nullptr;
  if (!name) return false;
  for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"}) {
    if (std::strstr(name, soft)) return true;
  }
  return false;
}

// Waits up to ms for an event; 0 only looks.
bool NextEvent(SDL_Event& event, uint32_t ms) {
  if (ms == 0) return SDL_PollEvent(&event) != 0;
  return SDL_WaitEventTimeout(&event, static_cast<int>(ms)) != 0;
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const fs::path& game_folder, std::string* error) {
  auto platform = std::make_unique<SdlPlatform>(game_folder);
  if (!platform->Open(error)) return nullptr;
  return platform;
}

SdlPlatform::SdlPlatform(fs::path game_folder) : game_folder_(std::move(game_folder)) {}

SdlPlatform::~SdlPlatform() {
  OpenAudio(nullptr);
  if (video_started_) SDL_DelEventWatch(&SdlPlatform::WatchFocus, this);
  if (imgui_) imgui_->Shutdown();
  imgui_.reset();
  cursors_.Clear();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (video_started_) SDL_Quit();
}

bool SdlPlatform::Open(std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + SDL_GetError();
    return false;
  };
  // The engine decides what a close means; a click that focuses the window still counts, as it
  // does on the desktop the games were made for.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // A windowed game at 20 ms frames gains nothing from switching the desktop's compositor off.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quill");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail("SDL video");
  video_started_ = true;
  SDL_AddEventWatch(&SdlPlatform::WatchFocus, this);
  start_ticks_ = SDL_GetTicks64();
  next_tick_ = kTimerPeriodMs;

  window_ = SDL_CreateWindow("Quill", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                             kScreenHeight + kToolbarHeight, SDL_WINDOW_RESIZABLE);
  if (!window_) return fail("window");
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  // OpenGL without a graphics driver draws the whole window on the processor at every present;
  // SDL's own software renderer costs less and keeps its picture, so that only what changed is
  // drawn. A renderer the user asked for stays.
  if (renderer_ && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && GlRasterisesInSoftware(renderer_)) {
    SDL_DestroyRenderer(renderer_);
    // The window's own pixels, not a texture that OpenGL would draw again in software.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) return fail("renderer");
  software_renderer_ = IsSoftwareRenderer(renderer_);
  if (!CreateTexture()) return fail("texture");

  imgui_ = std::make_unique<ImGuiLayer>();
  std::string imgui_error;
  if (!imgui_->Init(window_, renderer_, &imgui_error)) {
    // The game still plays; only its dialogs are lost.
    std::fprintf(stderr, "quill: dialogs are unavailable: %s\n", imgui_error.c_str());
    LoadMenuFont("");  // forgets a font of an earlier window's atlas
  } else {
    LoadMenuFont(imgui_->font_file());  // before the first frame builds the font atlas
    LoadNameEntryFont();
    // Build the atlas now (a Japanese range at two sizes takes a moment) rather than in the middle
    // of the first dialog or menu.
    imgui_->BeginFrame();
    imgui_->EndFrame();
  }
  SDL_StartTextInput();
  full_redraw_ = true;
  FlushChanges();
  next_tick_ = NowMs() + kTimerPeriodMs;  // the first tick a period after the window is ready
  return true;
}

bool SdlPlatform::CreateTexture() {
  if (texture_) SDL_DestroyTexture(texture_);
  // BGR24 is the byte order blue, green, red in memory: a Picture's rows as they are.
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  if (!texture_) return false;
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
  Picture black(kScreenWidth, kScreenHeight);
  SDL_UpdateTexture(texture_, nullptr, black.bytes().data(), black.stride());
  return true;
}

uint32_t SdlPlatform::NowMs() { return static_cast<uint32_t>(SDL_GetTicks64() - start_ticks_); }

void SdlPlatform::SleepMs(uint32_t ms) {
  // What the engine drew before it sleeps is shown before the sleep.
  if (modal_depth_ == 0) FlushChanges();
  SDL_Delay(ms);
}

void SdlPlatform::PumpMessages() {
  if (close_pending_ && modal_depth_ == 0) {
    close_pending_ = false;
    if (sink_) sink_->OnCloseRequest();
  }
  SDL_Event event;
  while (SDL_PollEvent(&event)) HandleEvent(event);
  FireTimerIfDue();
  cursors_.Step(NowMs());
  if (modal_depth_ == 0) FlushChanges();
}

bool SdlPlatform::FireTimerIfDue() {
  uint32_t now = NowMs();
  if (static_cast<int32_t>(now - next_tick_) < 0) return false;
  // Coalesce: one tick however late, the next one a period after it.
  next_tick_ = now + kTimerPeriodMs;
  if (sink_) sink_->OnTimer();
  return true;
}

uint32_t SdlPlatform::MsUntilTick() {
  int32_t left = static_cast<int32_t>(next_tick_ - NowMs());
  return left > 0 ? static_cast<uint32_t>(left) : 0;
}

void SdlPlatform::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      // A termination signal: the first is a close request like the close box, a second one
      // ends the run whatever the engine says.
      if (++quit_signals_ > 1) {
        stop_ = true;
      } else if (sink_) {
        sink_->OnCloseRequest();
      }
      break;
    case SDL_WINDOWEVENT:
      HandleWindowEvent(event);
      break;
    case SDL_RENDER_DEVICE_RESET:
      // The textures are gone: make ours again and let the engine paint it.
      CreateTexture();
      if (imgui_) imgui_->ResetDeviceObjects();
      full_redraw_ = true;
      if (sink_) sink_->OnPaint();
      break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      HandlePointerEvent(event);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      std::optional<int> key = TranslateSdlKey(event.key.keysym.sym);
      if (!key || !sink_) break;
      if (event.type == SDL_KEYDOWN) {
        sink_->OnKeyDown(*key);
      } else {
        sink_->OnKeyUp(*key);
      }
      break;
    }
    case SDL_TEXTINPUT:
      for (const std::string& c : Utf8ToSjisChars(event.text.text)) {
        if (sink_) sink_->OnChar(c);
      }
      break;
    default:
      break;
  }
}

void SdlPlatform::HandleWindowEvent(const SDL_Event& event) {
  if (event.window.windowID != SDL_GetWindowID(window_)) return;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      if (sink_) sink_->OnCloseRequest();
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (toolbar_view_.PointerLeft().redraw) toolbar_dirty_ = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      full_redraw_ = true;
      if (sink_) sink_->OnPaint();
      break;
    default:
      break;
  }
}

bool SdlPlatform::HandleToolbarEvent(const SDL_Event& event) {
  if (!toolbar_) return false;
  int w = 0;
  SDL_GetWindowSize(window_, &w, nullptr);
  toolbar_view_.SetWidth(w);
  ToolbarView::Result r = toolbar_view_.HandleEvent(event, buttons_held_ == 0);
  if (r.redraw) toolbar_dirty_ = true;
  if (r.clicked >= 0) {
    if (modal_depth_ == 0) FlushChanges();  // the button released before its action runs
    toolbar_->ToolbarButtonClicked(r.clicked);
  }
  return r.consumed;
}

void SdlPlatform::HandlePointerEvent(const SDL_Event& event) {
  if (HandleToolbarEvent(event)) return;
  Rect picture = Layout().picture;
  auto deliver = [&](int wx, int wy, bool inside_only, auto&& call) {
    ScreenPoint p = WindowToScreen(picture, wx, wy);
    if (!p.inside && inside_only) return;
    ClampToScreen(p.x, p.y);
    if (sink_) call(p.x, p.y);
  };
  switch (event.type) {
    case SDL_MOUSEMOTION:
      deliver(event.motion.x, event.motion.y, buttons_held_ == 0,
              [&](int x, int y) { sink_->OnMouseMove(x, y); });
      break;
    case SDL_MOUSEBUTTONDOWN: {
      MouseButton b;
      if (!ToMouseButton(event.button.button, b)) break;
      if (!WindowToScreen(picture, event.button.x, event.button.y).inside) break;
      buttons_held_ |= ButtonBit(b);
      deliver(event.button.x, event.button.y, true,
              [&](int x, int y) { sink_->OnMouseDown(b, x, y); });
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      MouseButton b;
      if (!ToMouseButton(event.button.button, b) || !(buttons_held_ & ButtonBit(b))) break;
      buttons_held_ &= ~ButtonBit(b);
      deliver(event.button.x, event.button.y, false,
              [&](int x, int y) { sink_->OnMouseUp(b, x, y); });
      break;
    }
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      notches = std::clamp(notches, -kMaxWheelNotches, kMaxWheelNotches);
      int wx = 0, wy = 0;
#if SDL_VERSION_ATLEAST(2, 26, 0)
      wx = event.wheel.mouseX;
      wy = event.wheel.mouseY;
#else
      SDL_GetMouseState(&wx, &wy);
#endif
      for (int i = 0; i < std::abs(notches); ++i) {
        deliver(wx, wy, true,
                [&](int x, int y) { sink_->OnMouseWheel(notches > 0 ? 1 : -1, x, y); });
      }
      break;
    }
    default:
      break;
  }
}

WindowLayout SdlPlatform::Layout() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  WindowLayout layout = ComputeLayout(w, h, mode_ == DisplayMode::Window);
  // A shake is given in screen pixels; the picture is scaled.
  layout.picture.x += shake_dx_ * layout.picture.w / kScreenWidth;
  layout.picture.y += shake_dy_ * layout.picture.h / kScreenHeight;
  return layout;
}

void SdlPlatform::Damage(Rect area) {
  if (area.w <= 0 || area.h <= 0) return;
  if (damage_.w <= 0 || damage_.h <= 0) {
    damage_ = area;
    return;
  }
  int x0 = std::min(damage_.x, area.x), y0 = std::min(damage_.y, area.y);
  int x1 = std::max(damage_.x + damage_.w, area.x + area.w);
  int y1 = std::max(damage_.y + damage_.h, area.y + area.h);
  damage_ = Rect{x0, y0, x1 - x0, y1 - y0};
}

bool SdlPlatform::ChangesPending() const {
  return full_redraw_ || toolbar_dirty_ || (damage_.w > 0 && damage_.h > 0);
}

bool SdlPlatform::ComposeOverlay(ModalDialog* dialog) {
  toolbar_dirty_ = false;
  bool open = true;
  bool toolbar = toolbar_ && toolbar_view_.shown();
  uint64_t digest = 0;  // no frame
  overlay_drawn_ = false;
  if (imgui_ && imgui_->ready() && (dialog || toolbar || popup_.open())) {
    // A dialog shows ImGui's cursors; otherwise the game owns the pointer's look (its cursors).
    if (dialog) {
      ImGui::GetIO().ConfigFlags &= ~ImGuiConfigFlags_NoMouseCursorChange;
    } else {
      ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    }
    imgui_->BeginFrame();
    if (dialog) open = dialog->DrawFrame();
    int w = 0;
    SDL_GetWindowSize(window_, &w, nullptr);
    toolbar_view_.SetWidth(w);
    if (toolbar) toolbar_view_.Draw(ImGui::GetBackgroundDrawList());
    popup_.Draw(ImGui::GetForegroundDrawList());
    digest = imgui_->EndFrame();
    overlay_drawn_ = true;
  }
  if (digest != overlay_digest_) {
    overlay_digest_ = digest;
    overlay_changed_ = true;
  }
  return open;
}

void SdlPlatform::Refresh() {
  if (full_redraw_ || overlay_changed_) {
    DrawWindow();
  } else if (damage_.w > 0 && damage_.h > 0) {
    if (!DrawDamagedPart()) DrawWindow();
  } else {
    return;
  }
  full_redraw_ = false;
  overlay_changed_ = false;
  damage_ = Rect{};
  SDL_RenderPresent(renderer_);
  ++presents_;
}

void SdlPlatform::FlushChanges() {
  if (!ChangesPending()) return;
  ComposeOverlay(nullptr);
  Refresh();
}

void SdlPlatform::DrawWindow() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderClear(renderer_);
  WindowLayout layout = Layout();
  if (layout.game_area.w > 0 && layout.game_area.h > 0 && layout.picture.w > 0) {
    // A shaken picture must not spill over the toolbar.
    SDL_Rect clip = ToSdl(layout.game_area);
    SDL_Rect dst = ToSdl(layout.picture);
    SDL_RenderSetClipRect(renderer_, &clip);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderSetClipRect(renderer_, nullptr);
  }
  if (overlay_drawn_) imgui_->RenderFrame();
}

bool SdlPlatform::DrawDamagedPart() {
  if (!software_renderer_) return false;
  WindowLayout layout = Layout();
  // A scaled picture's filter reaches across the part's edges.
  if (layout.picture.w != kScreenWidth || layout.picture.h != kScreenHeight) return false;
  SDL_Rect src = ToSdl(damage_);
  SDL_Rect dst{layout.picture.x + src.x, layout.picture.y + src.y, src.w, src.h};
  SDL_Rect area = ToSdl(layout.game_area);
  SDL_Rect clip;
  if (!SDL_IntersectRect(&dst, &area, &clip)) return true;  // nothing of it shows
  SDL_RenderSetClipRect(renderer_, &clip);
  SDL_RenderCopy(renderer_, texture_, &src, &dst);
  if (overlay_drawn_) {
    Rect part{clip.x, clip.y, clip.w, clip.h};
    imgui_->RenderFrame(&part);
  }
  SDL_RenderSetClipRect(renderer_, nullptr);
  return true;
}

void SdlPlatform::SetToolbar(WindowToolbar* toolbar) {
  toolbar_ = toolbar;
  ToolbarChanged();
}

void SdlPlatform::ToolbarChanged() {
  if (toolbar_) {
    toolbar_view_.SetButtons(toolbar_->ToolbarButtons(), toolbar_->ToolbarEnabled());
  } else {
    toolbar_view_.SetButtons({}, false);
  }
  toolbar_dirty_ = true;
}

int SdlPlatform::RunPopupMenu(PopupMenuKind kind, const std::vector<MenuEntry>& entries, int x,
                              int y) {
  if (entries.empty() || modal_depth_ > 0 || !imgui_ || !imgui_->ready()) return -1;
  int wx = kSystemMenuX, wy = kSystemMenuY;
  if (kind == PopupMenuKind::RightClick) ScreenToWindow(Layout().picture, x, y, wx, wy);
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  popup_.Open(entries, wx, wy, w, h);
  int px = 0, py = 0;
  if (SDL_GetMouseFocus() == window_) {
    SDL_GetMouseState(&px, &py);
    popup_.SetPointerOrigin(px, py);
  }
  toolbar_view_.SetMenuOpen(kind == PopupMenuKind::System);
  ++modal_depth_;
  buttons_held_ = 0;  // the menu takes the pointer, including the release of the opening click
  int chosen = -1;
  RunModalLoop(
      [&](const SDL_Event& event) {
        ModalWindowEvent window_event = HandleModalWindowEvent(event);
        if (window_event == ModalWindowEvent::Close || window_event == ModalWindowEvent::Quit) {
          return false;
        }
        if (window_event != ModalWindowEvent::None) return true;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          return false;  // as desktop menus do
        }
        switch (popup_.HandleEvent(event)) {
          case PopupMenuView::Outcome::Chosen:
            chosen = popup_.chosen_id();
            return false;
          case PopupMenuView::Outcome::Dismissed:
            return false;
          case PopupMenuView::Outcome::None:
            break;
        }
        return true;
      },
      nullptr);
  popup_.Close();
  toolbar_view_.SetMenuOpen(false);
  --modal_depth_;
  full_redraw_ = true;  // the picture without the menu
  FlushChanges();
  return chosen;
}

void SdlPlatform::RunModalLoop(const std::function<bool(const SDL_Event&)>& handle,
                               ModalDialog* dialog) {
  int settle = kSettleFrames;  // the first frames draw the menu or dialog
  bool open = true;
  while (open) {
    SDL_Event event;
    bool got = NextEvent(event, settle > 0 ? 0 : MsUntilTick());
    while (got && open) {
      open = handle(event);
      settle = kSettleFrames;
      if (open) got = SDL_PollEvent(&event) != 0;
    }
    if (!open) break;
    bool ticked = FireTimerIfDue();
    if (settle == 0 && !ticked && !ChangesPending()) continue;  // woke early with nothing new
    if (settle > 0) --settle;
    open = ComposeOverlay(dialog);
    Refresh();
  }
}

bool SdlPlatform::ReadWindowPixels(Picture& out) {
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return false;
  ComposeOverlay(nullptr);
  DrawWindow();
  full_redraw_ = false;
  overlay_changed_ = false;
  damage_ = Rect{};
  out.Create(w, h);
  bool ok = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_BGR24, out.bytes().data(),
                                 out.stride()) == 0;
  SDL_RenderPresent(renderer_);
  ++presents_;
  return ok;
}

bool SdlPlatform::ReadPresentedPixels(Picture& out) {
  int w = 0, h = 0;
  if (!software_renderer_ || SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 ||
      h <= 0) {
    return false;
  }
  out.Create(w, h);
  return SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_BGR24, out.bytes().data(),
                              out.stride()) == 0;
}

void SdlPlatform::Present(const Picture& screen) {
  if (screen.width() < kScreenWidth || screen.height() < kScreenHeight) {
    PresentRect(screen, Rect{0, 0, screen.width(), screen.height()});
    return;
  }
  SDL_UpdateTexture(texture_, nullptr, screen.bytes().data(), screen.stride());
  Damage(Rect{0, 0, kScreenWidth, kScreenHeight});
}

void SdlPlatform::PresentRect(const Picture& screen, Rect area) {
  int x0 = std::max(area.x, 0), y0 = std::max(area.y, 0);
  int x1 = std::min({area.x + area.w, screen.width(), kScreenWidth});
  int y1 = std::min({area.y + area.h, screen.height(), kScreenHeight});
  if (x1 <= x0 || y1 <= y0) return;
  SDL_Rect rect{x0, y0, x1 - x0, y1 - y0};
  SDL_UpdateTexture(texture_, &rect, screen.Pixel(x0, y0), screen.stride());
  Damage(Rect{x0, y0, x1 - x0, y1 - y0});
}

void SdlPlatform::SetTitle(std::string_view sjis) {
  SDL_SetWindowTitle(window_, SjisToUtf8Lossy(sjis).c_str());
}

bool SdlPlatform::MovesRefused() const {
  // Wayland gives clients no say over where their windows go; a full-screen window has nowhere
  // to go.
  const char* driver = SDL_GetCurrentVideoDriver();
  return mode_ == DisplayMode::FullScreen || (driver && std::strcmp(driver, "wayland") == 0);
}

void SdlPlatform::ClearShake() {
  shake_dx_ = 0;
  shake_dy_ = 0;
  window_shaken_ = false;
}

bool SdlPlatform::GetWindowPosition(int& x, int& y) {
  SDL_GetWindowPosition(window_, &x, &y);
  return true;
}

void SdlPlatform::SetWindowPosition(int x, int y) {
  ClearShake();
  SDL_SetWindowPosition(window_, x, y);
}

void SdlPlatform::SetShakeOffset(int dx, int dy) {
  if (!MovesRefused()) {
    // The window itself moves, from where it stood when the shake began.
    if (!window_shaken_) SDL_GetWindowPosition(window_, &anchor_x_, &anchor_y_);
    window_shaken_ = dx != 0 || dy != 0;
    SDL_SetWindowPosition(window_, anchor_x_ + dx, anchor_y_ + dy);
    return;
  }
  shake_dx_ = dx;
  shake_dy_ = dy;
  full_redraw_ = true;
  if (modal_depth_ == 0) FlushChanges();
}

bool SdlPlatform::SetDisplayMode(DisplayMode mode) {
  if (mode == mode_) return true;
  if (mode_ == DisplayMode::Window) {
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
  }
  if (mode == DisplayMode::FullScreen) {
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  } else {
    if (mode_ == DisplayMode::FullScreen && SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    bool windowed = mode == DisplayMode::Window;
    SDL_SetWindowBordered(window_, windowed ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(window_, windowed ? SDL_TRUE : SDL_FALSE);
    if (windowed) {
      SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
      SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    } else {
      SDL_SetWindowSize(window_, kScreenWidth, kScreenHeight);
      SDL_SetWindowPosition(window_, 0, 0);
    }
  }
  mode_ = mode;
  toolbar_view_.SetOverlay(mode != DisplayMode::Window);
  ClearShake();
  full_redraw_ = true;
  if (modal_depth_ == 0) FlushChanges();
  return true;
}

void SdlPlatform::GetDesktopSize(int& width, int& height) {
  SDL_DisplayMode desktop{};
  int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  if (SDL_GetDesktopDisplayMode(display, &desktop) == 0) {
    width = desktop.w;
    height = desktop.h;
  } else {
    width = kScreenWidth;
    height = kScreenHeight;
  }
}

bool SdlPlatform::AskOkCancel(std::string_view caption, std::string_view text) {
  std::string caption_utf8 = SjisToUtf8Lossy(caption);
  std::string text_utf8 = SjisToUtf8Lossy(text);
  // Drawn in the window, so the timer keeps running and the window keeps painting while the
  // player decides, as under the original's message box.
  if (modal_depth_ == 0 && imgui_ && imgui_->ready()) {
    OkCancelDialog dialog(caption_utf8, text_utf8, true);
    RunModal(dialog);
    return dialog.ok();
  }
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "キャンセル"},
  };
  SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION,
                         window_,
                         caption_utf8.c_str(),
                         text_utf8.c_str(),
                         2,
                         buttons,
                         nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) == 0) return pressed == 1;
  // Nobody can be asked: saying yes keeps a close request from being refused for ever.
  std::fprintf(stderr, "%s: %s (no dialog can be shown: answered OK)\n", caption_utf8.c_str(),
               text_utf8.c_str());
  return true;
}

void SdlPlatform::ShowError(std::string_view caption, std::string_view text) {
  std::string caption_utf8 = SjisToUtf8Lossy(caption);
  std::string text_utf8 = SjisToUtf8Lossy(text);
  if (modal_depth_ == 0 && imgui_ && imgui_->ready()) {
    // Errors come at start-up, before the engine can take a timer tick or a repaint: none reaches
    // it while the box is open.
    PlatformEvents* sink = sink_;
    sink_ = nullptr;
    OkCancelDialog box(caption_utf8, text_utf8, false);
    RunModal(box);
    sink_ = sink;
    return;
  }
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption_utf8.c_str(), text_utf8.c_str(),
                               window_) != 0) {
    std::fprintf(stderr, "%s: %s\n", caption_utf8.c_str(), text_utf8.c_str());
  }
}

SdlPlatform::ModalWindowEvent SdlPlatform::HandleModalWindowEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
    close_pending_ = true;  // handed to the engine once the menu or dialog has closed
    return ModalWindowEvent::Close;
  }
  if (event.type == SDL_QUIT) {
    if (++quit_signals_ > 1) stop_ = true;
    close_pending_ = true;
    return ModalWindowEvent::Quit;
  }
  if (event.type == SDL_RENDER_DEVICE_RESET) {
    CreateTexture();
    imgui_->ResetDeviceObjects();
    full_redraw_ = true;
    return ModalWindowEvent::Handled;
  }
  if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                        event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
    full_redraw_ = true;  // the texture still holds the picture
  }
  return ModalWindowEvent::None;
}

void SdlPlatform::RunModal(ModalDialog& dialog) {
  if (modal_depth_ > 0 || !imgui_ || !imgui_->ready()) {
    std::fprintf(stderr, "quill: the %s dialog cannot be shown%s\n",
                 std::string(dialog.Kind()).c_str(),
                 modal_depth_ > 0 ? " while another is open" : "");
    return;
  }
  ++modal_depth_;
  buttons_held_ = 0;  // the game window loses its input to the dialog
  RunModalLoop(
      [&](const SDL_Event& event) {
        imgui_->ProcessEvent(event);
        // A termination signal does not wait for an answer: the dialog is left unanswered. The
        // close box waits until the player has answered.
        return HandleModalWindowEvent(event) != ModalWindowEvent::Quit;
      },
      &dialog);
  --modal_depth_;
  full_redraw_ = true;  // the picture without the dialog
  FlushChanges();
}

void SdlPlatform::SetCursorVisible(bool visible) {
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlPlatform::RegisterCursor(int number, const AnimatedCursor& cursor) {
  cursors_.Register(number, cursor);
}

void SdlPlatform::ShowCursorShape(int number) { cursors_.Show(number, NowMs()); }

bool SdlPlatform::GetPointer(int& x, int& y) {
  int px = 0, py = 0;
  if (SDL_GetMouseFocus() == window_) {
    SDL_GetMouseState(&px, &py);
  } else {
    // Off the window SDL only knows where the pointer is on the desktop.
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window_, &wx, &wy);
    px = gx - wx;
    py = gy - wy;
  }
  ScreenPoint p = WindowToScreen(Layout().picture, px, py);
  x = p.x;
  y = p.y;
  return p.inside;
}

void SdlPlatform::WarpPointer(int x, int y) {
  int wx = 0, wy = 0;
  ScreenToWindow(Layout().picture, x, y, wx, wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlPlatform::AudioPull(void* self, uint8_t* stream, int length) {
  // The mixer adds into silence, as on the headless device.
  std::memset(stream, 0, static_cast<size_t>(length));
  auto* platform = static_cast<SdlPlatform*>(self);
  if (platform->audio_) platform->audio_(reinterpret_cast<int16_t*>(stream), length / 4);
}

bool SdlPlatform::OpenAudio(AudioCallback callback) {
  if (audio_device_) {
    SDL_CloseAudioDevice(audio_device_);
    audio_device_ = 0;
  }
  audio_ = nullptr;
  if (!callback) return false;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  audio_ = std::move(callback);
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlPlatform::AudioPull;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the device wants.
  audio_device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!audio_device_) {
    audio_ = nullptr;
    return false;
  }
  SDL_PauseAudioDevice(audio_device_, 0);
  return true;
}

int SdlPlatform::WatchFocus(void* self, SDL_Event* event) {
  auto* platform = static_cast<SdlPlatform*>(self);
  if (event->type == SDL_WINDOWEVENT && platform->window_ &&
      event->window.windowID == SDL_GetWindowID(platform->window_)) {
    if (event->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) platform->window_active_ = true;
    if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) platform->window_active_ = false;
  }
  return 1;
}

fs::path SdlPlatform::ConfigFolder() { return XdgConfigFolder(); }
fs::path SdlPlatform::DataFolder() { return XdgDataFolder(); }
fs::path SdlPlatform::RuntimeFolder() { return XdgRuntimeFolder(); }

}  // namespace quill
