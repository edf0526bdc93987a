// The engine's part of a headless `state` dump: one place where every subsystem adds its keys.
// Key names are a contract with tests and outside tools: add keys, never rename one.
#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {
namespace {

using Json = nlohmann::ordered_json;

Json FlagList(const FlagBank& bank, int count) {
  Json list = Json::array();
  for (int i = 0; i < count; ++i) {
    if (bank.Test(i)) list.push_back(i);
  }
  return list;
}

// A grid row as the dumps show it: NUL bytes as spaces.
std::string GridRowText(std::string_view bytes) {
  std::string row(bytes);
  for (char& c : row) {
    if (c == 0) c = ' ';
  }
  return SjisToUtf8Lossy(row);
}

}  // namespace

void Engine::WriteState(Json& state) {
  // The script machine.
  state["script"] = SjisToUtf8Lossy(current_script_name_);
  state["loaded_script"] = SjisToUtf8Lossy(loaded_script_name_);
  state["read_position"] = main_script_.read_position;
  state["line_start"] = line_start;
  state["call_depth"] = call_stack_.depth();
  Json& calls = state["call_stack"] = Json::array();
  for (int k = 0; k < call_stack_.depth(); ++k) {
    const CallStackEntry& e = call_stack_.entry(k);
    calls.push_back({{"name", SjisToUtf8Lossy(e.Name())}, {"offset", e.offset}});
  }
  state["wait_kind"] = wait_kind;
  state["wait_ticks"] = wait_ticks;
  state["sleep_frames"] = sleep_frames;
  state["choice_mode"] = choice_mode;
  state["screen_mode"] = screen_mode;
  state["extra_mode"] = extra_mode;
  state["skip_mode"] = skip_mode;
  state["auto_level"] = AutoLevel();
  state["busy"] = busy;
  state["transition_running"] = transition_running;
  state["transition_interrupt"] = transition_interrupt;
  state["overlay_name"] = SjisToUtf8Lossy(transitions_.overlay_name());
  state["confirm_pending"] = confirm_pending;

  // Choices and click maps, the recorder, the meter.
  state["choice_count"] = choices_.count();
  state["hover_index"] = choices_.hover_index();
  Json& table = state["choices"] = Json::array();
  for (int i = 1; i <= choices_.count(); ++i) {
    const ChoiceEntry& c = choices_.entry(i);
    table.push_back({{"index", i},
                     {"text", SjisToUtf8Lossy(c.zone.name)},
                     {"resume", c.resume},
                     {"rect", {c.zone.left, c.zone.top, c.zone.right, c.zone.bottom}}});
  }
  state["timeout_ticks"] = choices_.timeout_ticks();
  state["zone_cursor"] = choices_.zone_cursor();
  Json recorded = Json::array();
  for (int i = 0; i < std::clamp(banks_.S(152), 0, kRecordedChoiceLimit); ++i) {
    recorded.push_back(recorder_.recorded(i));
  }
  state["recorder"] = {{"mode", banks_.S(151)},
                       {"count", banks_.S(152)},
                       {"position", banks_.S(153)},
                       {"choices", recorded}};
  state["meter_frame"] = meter_.last_frame();
  Json& buttons = state["quick_buttons"] = Json::array();
  for (int n = 1; n <= kQuickButtonCount; ++n) buttons.push_back(quick_buttons_.State(n));
  state["hovered_button"] = quick_buttons_.hovered();
  state["popup_open"] = popup_open;
  state["menus"] = menus_.StateJson();

  // The banks.
  Json& v = state["V"] = Json::array();
  for (int i = 0; i < 1000; ++i) v.push_back(banks_.V(i));
  Json& s = state["S"] = Json::array();
  for (int i = 0; i < 200; ++i) s.push_back(banks_.S(i));
  Json& g = state["G"] = Json::array();
  for (int i = 0; i < 10; ++i) g.push_back(banks_.G(i));
  state["F"] = FlagList(banks_.F, banks_.F.size());
  state["E"] = FlagList(banks_.E, banks_.E.size());
  state["T"] = FlagList(banks_.T, banks_.T.size());
  Json& names = state["name_slots"] = Json::array();
  for (int i = 0; i < kNameSlotCount; ++i) names.push_back(SjisToUtf8Lossy(banks_.NameSlot(i)));

  // Text.
  Json& log = state["text_log"] = Json::array();
  for (int i = 0; i < text_log_.line_count(); ++i)
    log.push_back(SjisToUtf8Lossy(text_log_.Line(i)));
  if (!text_log_.CurrentLine().empty()) log.push_back(SjisToUtf8Lossy(text_log_.CurrentLine()));
  state["log_count"] = text_log_.line_count();
  state["log_position"] = text_log_.write_position();
  {
    // Oldest first; a provisional record counts.
    Json& pages = state["page_history"] = Json::array();
    int recorded = page_history_.page_counter + banks_.S(39);
    for (int n = std::max(recorded - kPageHistoryPages, 0); n < recorded; ++n) {
      int k = PageHistory::Slot(n);
      Json rows = Json::array();
      for (int r = 0; r < kPageGridRows; ++r)
        rows.push_back(GridRowText(page_history_.GridRow(k, r)));
      std::string_view scene = page_history_.SceneText(k);
      size_t comma = std::min(scene.find(','), scene.size());
      Json voices = Json::array();
      std::string_view list = page_history_.Voices(k);
      for (size_t start = 0; start < list.size();) {
        size_t end = std::min(list.find(' ', start), list.size());
        if (end > start) voices.push_back(SjisToUtf8Lossy(list.substr(start, end - start)));
        start = end + 1;
      }
      pages.push_back(
          {{"text", rows},
           {"background", SjisToUtf8Lossy(scene.substr(0, comma))},
           {"sprites", SjisToUtf8Lossy(scene.substr(std::min(comma + 1, scene.size())))},
           {"voices", voices},
           {"layout", page_history_.Layout(k)}});
    }
  }
  state["page_voices"] = SjisToUtf8Lossy(page_history_.current_voices());
  if (log_view_.open()) {
    state["log_view"] = {{"top", log_view_.TopLine()},
                         {"scroll", log_view_.scroll()},
                         {"hover", log_view_.hover_row()},
                         {"replayed", SjisToUtf8Lossy(log_view_.replayed())}};
  } else {
    state["log_view"] = nullptr;
  }
  if (page_view_.offset() != 0) {
    state["page_view"] = {{"page", page_history_.page_counter + banks_.S(39) - page_view_.offset()},
                          {"offset", page_view_.offset()},
                          {"voice", SjisToUtf8Lossy(page_view_.voice())}};
  } else {
    state["page_view"] = nullptr;
  }
  state["window_hidden"] = screen_mode == 1;
  state["panic"] = panic_shown;
  if (const NameEntryForm* form = name_entry_.open_form()) {
    DialogPlacement p = form->placement();
    state["name_dialog"] = {
        {"family", form->edit1}, {"given", form->edit2}, {"left", p.left}, {"top", p.top}};
  } else {
    state["name_dialog"] = nullptr;
  }
  state["layout"] = Layout();
  state["window_open"] = window_open;
  state["window_state"] = window_state;
  state["text_column"] = page_grid_.column;
  state["text_row"] = page_grid_.row;
  state["page_chars"] = page_grid_.page_chars;
  Json& grid = state["page_grid"] = Json::array();
  for (int r = 0; r < kPageGridRows; ++r) grid.push_back(GridRowText(page_grid_.Row(r)));
  state["auto_wait_ticks"] = auto_wait_ticks;
  state["finish_now"] = finish_now;
  state["char_delay"] = char_delay;
  state["wide_advance"] = page_grid_.wide_advance;
  state["colour_number"] = page_grid_.colour_number;
  state["speaker_name"] = SjisToUtf8Lossy(message_window_.speaker_name());
  state["block_read"] = block_read;

  // Composition: the records save data keeps, the layout and the standing-picture cache.
  {
    StandingPictures& standing = composition_.standing();
    state["background"] = SjisToUtf8Lossy(composition_.background_name());
    state["sprites"] = SjisToUtf8Lossy(composition_.sprite_list());
    state["sprite_count"] = standing.count();
    Json& sprite_names = state["sprite_names"] = Json::array();
    for (int k = 0; k < kStandingNameCount; ++k) {
      sprite_names.push_back(SjisToUtf8Lossy(standing.name(k)));
    }
    Json& cache = state["sprite_cache"] = Json::array();
    for (int i = 0; i < kStandingSlotCount; ++i) {
      cache.push_back(SjisToUtf8Lossy(standing.slot(i).name));
    }
    state["sprite_next_slot"] = standing.next_slot();
    state["sprite_show_count"] = composition_.sprite_show_count;
    state["new_background"] = composition_.new_background;
  }

  // The animated effects that outlive their commands (the shake offset is the platform's).
  if (comic_symbol_.active()) {
    state["comic_symbol"] = {
        {"mode", comic_symbol_.mode()}, {"x", banks_.S(32)}, {"y", banks_.S(33)}};
  } else {
    state["comic_symbol"] = nullptr;
  }
  state["loop_animation"] = {{"state", banks_.S(44)},
                             {"frame", loop_animation_.index()},
                             {"count", loop_animation_.frame_count()}};
  if (background_animation_.running()) {
    state["background_animation"] = {{"frames", background_animation_.active()},
                                     {"position", background_animation_.position()},
                                     {"speed", background_animation_.speed()}};
  } else {
    state["background_animation"] = nullptr;
  }
  Json& objects = state["objects"] = Json::array();
  for (int n = 0; n < kObjectCount; ++n) {
    const ScreenObject& o = objects_.object(n);
    if (o.created) objects.push_back({{"number", n}, {"x", o.x}, {"y", o.y}});
  }

  // Start-up: the game configuration and the player's settings.
  state["config"] = GameConfigJson(config_);
  state["speakers"] = SpeakersJson(speakers_);
  state["settings"] = SettingsJson(settings_);

  // The settings interfaces.
  SettingsDialog* settings_dialog = settings_screens_.open_dialog();
  state["dialog"] = settings_dialog ? settings_dialog->StateJson() : Json();
  settings_screens_.WriteState(state);
  state["full_screen"] = screen_mode_switch_.full_screen_active();

  // Sound: the channels, the music stream and the voice.
  Json& sound = state["sound"] = Json::object();
  sound_.WriteState(sound);
  sound_commands_.WriteState(sound);
  sound_.WriteChannels(sound);
}

}  // namespace quill
