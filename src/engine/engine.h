#pragma once
// The engine: one object owning all game state, driven by the platform's events and by the frame
// loop (AppIdle) that the application calls. Its operations live in one file per unit:
// script_calls.cpp (loading, chain/call/end), interpreter.cpp (StepScript), dispatcher.cpp
// (DispatchCommand), page_text.cpp (page and log), frame_loop.cpp (AppIdle, Timer1Timer),
// state_dump.cpp (WriteState), developer_log.cpp.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "audio/sound_commands.h"
#include "audio/sound_output.h"
#include "common/picture.h"
#include "engine/call_stack.h"
#include "engine/choice_recorder.h"
#include "engine/choices.h"
#include "engine/confirmations.h"
#include "engine/expressions.h"
#include "engine/menus.h"
#include "engine/quick_buttons.h"
#include "engine/script_loader.h"
#include "engine/subsystem_entry_points.h"
#include "engine/value_banks.h"
#include "graphics/background_animation.h"
#include "graphics/comic_symbol.h"
#include "graphics/composition.h"
#include "graphics/frame_clock.h"
#include "graphics/game_config.h"
#include "graphics/loop_animation.h"
#include "graphics/picture_loader.h"
#include "graphics/resource_archives.h"
#include "graphics/screen_objects.h"
#include "graphics/screen_pictures.h"
#include "graphics/transitions.h"
#include "persist/cursors.h"
#include "persist/gallery_pictures.h"
#include "persist/recollection_records.h"
#include "persist/meter.h"
#include "persist/screen_mode.h"
#include "persist/settings.h"
#include "persist/settings_screens.h"
#include "persist/settings_store.h"
#include "platform/platform.h"
#include "text/glyph_drawing.h"
#include "text/glyph_renderer.h"
#include "text/log_view.h"
#include "text/message_window.h"
#include "text/name_entry.h"
#include "text/page_grid.h"
#include "text/page_history.h"
#include "text/page_view.h"
#include "text/screen_pauses.h"
#include "text/text_log.h"
#include "text/text_output.h"

namespace quill {

struct EngineOptions {
  bool trace = false;  // developer log and assignment trace to stderr
  // Lines one StepScript may read before it yields to the frame: a script that loops without a
  // wait then goes on frame after frame while the timer, input and closing still work. No real
  // script reads this many lines between two waits.
  int step_line_budget = 100000;
};

// WaitKind values.
enum WaitKindValue : int {
  kWaitNone = 0,
  kWaitPage = 1,      // click, then a new page
  kWaitContinue = 2,  // click, then the same page goes on
  kWaitChoice = 3,
  kWaitPageVoice = 4,  // like 1, and a click does not stop the voice
  kWaitPageNoIcon = 5,
};

constexpr int kReadMarkCount = 81920;
constexpr int kInsertTextBytes = 64;

class Engine : public PlatformEvents, public ExpressionHost {
 public:
  Engine(Platform& platform, EngineOptions options);
  ~Engine() override;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // FormCreate: the start-up. False when the game cannot start (the error has been shown).
  bool FormCreate();
  // One frame: at least 20 ms of the platform clock (4·d + 15 ms in auto mode d).
  void AppIdle();
  // True once the main window has closed.
  bool closed() const { return closed_; }
  // True once the script has ended with nobody to return to (headless runs without a scenario
  // end here).
  bool finished() const { return finished_; }

  Platform& platform() { return platform_; }
  const EngineOptions& options() const { return options_; }

  // The display PB shows this picture (the screen buffer).
  Picture& screen() { return pictures_.screen; }
  ScreenPictures& pictures() { return pictures_; }
  // Pictures by name: the JPEG archive, then the picture archives (opened at start-up).
  PictureLoader& picture_loader() { return picture_loader_; }
  // The layers of the game screen and the picture commands.
  Composition& composition() { return composition_; }
  GameConfig& config() { return config_; }
  SpeakerTable& speakers() { return speakers_; }
  // The player's settings in memory; changes go through Settings::Change to the store.
  Settings& settings() { return settings_; }
  // The frame clock that paces every fade, transition, animation, roll and scroll.
  FrameClock& frame_clock() { return frame_clock_; }
  Transitions& transitions() { return transitions_; }
  // The animated effects that outlive their commands.
  ComicSymbol& comic_symbol() { return comic_symbol_; }
  LoopAnimation& loop_animation() { return loop_animation_; }
  BackgroundAnimation& background_animation() { return background_animation_; }
  ScreenObjects& objects() { return objects_; }

  // PlatformEvents.
  void OnMouseDown(MouseButton button, int x, int y) override;
  void OnMouseUp(MouseButton button, int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnMouseWheel(int delta, int x, int y) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void OnChar(std::string_view sjis) override;
  void OnTimer() override;
  void OnCloseRequest() override;
  void OnPaint() override;
  void WriteState(nlohmann::ordered_json& state) override;

  // ExpressionHost.
  int32_t NextRandom() override;
  void DeveloperLog(int kind, std::string_view text) override;
  void SystemCellAssigned(int index) override;
  void TraceAssignment(std::string_view item) override;

  // --- Script loading and calls ---
  bool LoadArchiveIndexes();
  // Loads a script by name into the main or the auxiliary buffer; false (buffers unchanged) when
  // no archive holds it or it cannot be read.
  bool LoadScript(std::string_view name, ScriptTarget target);
  void ResetRunState();
  // The game start: depth 0, "main" loaded into the main buffer.
  void StartGame();

  // --- Start-up and the main window (startup.cpp, app_shell.cpp) ---
  // Once from FormCreate; failures set exit_requested.
  void StartUp();
  // The first frame: black screen, full screen when SMode asks for it, "main".
  void BeginGame();
  // `_config` into config() and speakers() (and the text layout when the game has one).
  void LoadGameConfig();
  bool FormCloseQuery();  // true: the window may close
  void FormDestroy();
  void PBPaint();  // shows the scene buffer in ScreenMode 1, else the screen buffer
  // The sound channels and the music ring; the script's sound commands and named sounds.
  SoundOutput& sound() { return sound_; }
  SoundCommands& sound_commands() { return sound_commands_; }
  // The resource archives opened at start-up (pictures, sounds, music, movies).
  ResourceArchives& resources() { return resources_; }
  // The settings store; nullptr before start-up.
  SettingsStore* settings_store() { return settings_store_ ? &*settings_store_ : nullptr; }
  GlyphRenderer& glyph_renderer() { return glyph_renderer_; }
  GlyphDrawing& glyph_drawing() { return glyph_drawing_; }
  TextOutput& text_output() { return text_output_; }
  MessageWindow& message_window() { return message_window_; }
  // The font of PB's canvas and the screen buffer: FontName, 22 points, white.
  const TextOutputFont& canvas_font() const { return canvas_font_; }
  ScreenModeSwitch& screen_mode_switch() { return screen_mode_switch_; }
  Picture& gaiji() { return gaiji_; }                  // sys_gaiji
  Picture& parts_pressed() { return parts_pressed_; }  // partsload's second picture
  // Jumps to a label of the main script; nothing happens when there is none.
  bool Go(std::string_view label);

  // --- The interpreter ---
  void StepScript();
  // 0 go on, 1 end the step, 2 classify the line buffer again.
  int DispatchCommand(int index, std::string_view line);

  // --- Text output (page grid, log, waits) ---
  void DrawTextChar(std::string_view character);
  void NewPage();
  void ResetPage();
  void EndLogLine();
  void ComputeAutoWait();
  // A voice of the current page, for its page record: the name and one space, dropped when the
  // list's 259 bytes cannot take it.
  void AppendPageVoice(std::string_view name);
  // Where a ruby reading at the text cursor is drawn.
  void RubyPosition(int& x, int& y) const;

  // --- Input (input.cpp): the window's pointer and key handlers ---
  void PBMouseDown(MouseButton button, int x, int y);
  void PBMouseMove(int x, int y);
  void PBMouseUp(MouseButton button, int x, int y);
  void FormMouseWheel(int delta);  // > 0 up
  void FormKeyDown(int key);
  void FormKeyPress(char c);  // one typed byte (a second byte of a character is ignored)
  void FormKeyUp(int key);
  void RightClickAction();
  QuickButtons& quick_buttons() { return quick_buttons_; }
  Confirmations& confirmations() { return confirmations_; }
  // The toolbar and the popup menus.
  Menus& menus() { return menus_; }
  // select and clickmap, and the recorder of the choices made.
  Choices& choices() { return choices_; }
  ChoiceRecorder& recorder() { return recorder_; }
  // The mouse cursors, the parameter meter and the gallery's pictures.
  Cursors& cursors() { return cursors_; }
  Meter& meter() { return meter_; }
  // The settings dialog and the simple settings screen.
  SettingsScreens& settings_screens() { return settings_screens_; }
  GalleryPictures& gallery_pictures() { return gallery_pictures_; }
  RecollectionRecords& recollection_records() { return recollection_records_; }

  // --- Play modes ---
  void CancelAutoSkip(bool force);
  void LeaveSkipMode();
  // Closes the main window through FormCloseQuery (exitgame, ExitRequested).
  void CloseMainWindow();

  // --- State (read by tests, the state dump, and the subsystems) ---
  ValueBanks& banks() { return banks_; }
  ScriptBuffer& main_script() { return main_script_; }
  ScriptBuffer& aux_script() { return aux_script_; }
  ScriptArchives& archives() { return archives_; }
  CallStack& call_stack() { return call_stack_; }
  TextLog& text_log() { return text_log_; }
  const TextLog& text_log() const { return text_log_; }
  PageHistory& page_history() { return page_history_; }
  // The backlog, the page-back view, the hidden window and the panic screen, and the name entry.
  LogView& log_view() { return log_view_; }
  PageView& page_view() { return page_view_; }
  ScreenPauses& screen_pauses() { return screen_pauses_; }
  NameEntry& name_entry() { return name_entry_; }
  PageGrid& page_grid() { return page_grid_; }
  TextLayout& text_layout() { return text_layout_; }
  FlagBank& read_marks() { return read_marks_; }
  SubsystemEntryPoints& subsystems() { return subsystems_; }
  const std::string& current_script_name() const { return current_script_name_; }
  void set_current_script_name(std::string_view name);
  const std::string& loaded_script_name() const { return loaded_script_name_; }
  std::string_view line_buffer() const { return UntilNulView(line_buffer_.data()); }
  std::string_view insert_text() const { return UntilNulView(insert_text_.data() + insert_pos_); }

  uint32_t line_start = 0;
  bool fetch_line = false;
  bool script_enabled = false;
  int wait_kind = kWaitNone;
  int wait_ticks = 0;
  int sleep_frames = 0;
  int char_delay = 1;
  bool finish_now = false;
  bool voice_end_wait = false;
  bool window_open = false;
  int window_state = 0;  // 0 closed, 1 window layout, 2 full-screen layout
  int auto_wait_ticks = 0;
  bool skip_mode = false;
  bool block_read = false;  // the text block of the last mark was read before
  int screen_mode = 0;
  int extra_mode = 0;  // 1 gallery scene, 2 recollection scene
  bool busy = false;
  bool exit_requested = false;
  bool start_game = false;
  int choice_mode = 0;      // a choice is active (ChoiceModeValue)
  int confirm_pending = 0;  // the yes/no band's action (0 none)
  bool log_view_open = false;
  int transition_interrupt = 0;  // 0 none, 1 a click, 2 a close request during a transition
  // Set while a transition or a cross-fade runs: input handlers then only set
  // transition_interrupt.
  bool transition_running = false;
  int picture_variant = 0;  // gra 0, grb 1
  int click_debounce = 0;
  int pointer_x = 0, pointer_y = 0;               // the last pointer position over the screen
  bool shift_held = false, control_held = false;  // a held key's repeats act only once
  bool popup_open = false;                        // the right-click menu is open
  bool menus_off = false;                         // a yes/no band or a notice is up
  bool panic_shown = false;
  uint32_t frame_counter = 0;
  uint32_t tick_counter = 0;
  bool wave_device = false;  // an audio device opened at start-up

  // Settings the script machine reads (the settings store keeps them once it exists).
  bool one_by_one = true;       // "Delay" = 0: characters one by one
  bool efx_cut = true;          // "EFX_CUT"
  bool seen = true;             // "Seen": skip stops at unread text
  bool break_on_select = true;  // "BreakonSelect"

  int AutoLevel() const { return banks_.S(26); }
  int Layout() const { return banks_.S(150); }

 private:
  static std::string_view UntilNulView(const char* p) { return std::string_view(p); }

  void Timer1Timer();
  void FailStartUp();  // the "no game data" error, shown once, and exit_requested
  // Interpreter pieces (interpreter.cpp).
  enum class LineResult { Next, EndStep, Text };
  LineResult ClassifyLine();
  bool ProcessText();  // true: the step ends
  void ProcessInlineTag(size_t pos, bool& end_step);
  void ProcessSpeakerLine();
  void SetInsertText(std::string_view text);
  bool TakeInsertChar(std::string& out);
  bool PaceAfterChar();
  void WaitLine(int kind, bool record, bool log);
  // Script calls (script_calls.cpp).
  void ParseScriptTarget(std::string_view line, size_t arg, size_t limit, std::string& name,
                         std::string& label, bool& has_label);
  int ChainCommand(std::string_view line);
  int CallCommand(std::string_view line);
  int EndCommand();
  void ReturnToCaller();
  void ImplicitReturn();
  void LeaveExtraMode();
  // Dispatcher helpers (dispatcher.cpp).
  int IfCommand(std::string_view line);
  int CjmpCommand(std::string_view line);
  int MarkCommand(int n);
  int SleepCommand(int n);
  int ModeCommand(int n);
  int GraCommand(std::string_view arg, int variant);

  Platform& platform_;
  EngineOptions options_;
  SubsystemEntryPoints subsystems_{*this};
  QuickButtons quick_buttons_{*this};
  Confirmations confirmations_{*this};
  Menus menus_{*this};
  Choices choices_{*this};
  ChoiceRecorder recorder_;
  Cursors cursors_{platform_};
  Meter meter_{*this};
  SettingsScreens settings_screens_{*this};
  GalleryPictures gallery_pictures_;
  RecollectionRecords recollection_records_;
  ScreenPictures pictures_;
  PictureLoader picture_loader_;
  Composition composition_{*this};
  GameConfig config_;
  SpeakerTable speakers_{};
  Settings settings_;
  FrameClock frame_clock_{platform_};
  Transitions transitions_{*this};
  ComicSymbol comic_symbol_{*this};
  LoopAnimation loop_animation_{*this};
  BackgroundAnimation background_animation_{*this};
  ScreenObjects objects_{*this};
  std::optional<SettingsStore> settings_store_;
  ResourceArchives resources_;
  SoundOutput sound_{*this};
  SoundCommands sound_commands_{*this};
  GlyphRenderer glyph_renderer_;
  GlyphDrawing glyph_drawing_{glyph_renderer_};
  TextOutput text_output_;
  MessageWindow message_window_{*this};
  TextOutputFont canvas_font_;
  ScreenModeSwitch screen_mode_switch_{platform_};
  Picture gaiji_;
  Picture parts_pressed_;
  bool closed_ = false;
  bool finished_ = false;
  uint32_t random_seed_ = 0;

  ValueBanks banks_;
  ScriptArchives archives_;
  ScriptBuffer main_script_, aux_script_;
  CallStack call_stack_;
  std::string current_script_name_;
  std::string loaded_script_name_;
  std::array<char, kLineBufferBytes> line_buffer_{};
  size_t line_pos_ = 0;
  std::array<char, kInsertTextBytes> insert_text_{};
  size_t insert_pos_ = 0;
  bool name_line_ = false;
  TextLog text_log_;
  PageHistory page_history_;
  LogView log_view_{*this};
  PageView page_view_{*this};
  ScreenPauses screen_pauses_{*this};
  NameEntry name_entry_{*this};
  PageGrid page_grid_;
  TextLayout text_layout_;
  FlagBank read_marks_{kReadMarkCount};
};

}  // namespace quill
