// The engine's part of a headless `state` dump: one place where every subsystem adds its keys.
// Key names are a contract with tests and outside tools: add keys, never rename one.
#include <string>

#include "common/json_writer.h"
#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {
namespace {

void FlagList(JsonWriter& json, std::string_view key, const FlagBank& bank, int count) {
  json.Key(key).BeginArray();
  for (int i = 0; i < count; ++i) {
    if (bank.Test(i)) json.Int(i);
  }
  json.EndArray();
}

}  // namespace

void Engine::WriteState(JsonWriter& json) {
  // The script machine.
  json.Field("script", SjisToUtf8Lossy(current_script_name_));
  json.Field("loaded_script", SjisToUtf8Lossy(loaded_script_name_));
  json.Field("read_position", static_cast<int64_t>(main_script_.read_position));
  json.Field("line_start", static_cast<int64_t>(line_start));
  json.Field("call_depth", call_stack_.depth());
  json.Key("call_stack").BeginArray();
  for (int k = 0; k < call_stack_.depth(); ++k) {
    const CallStackEntry& e = call_stack_.entry(k);
    json.BeginObject();
    json.Field("name", SjisToUtf8Lossy(e.Name()));
    json.Field("offset", static_cast<int64_t>(e.offset));
    json.EndObject();
  }
  json.EndArray();
  json.Field("wait_kind", wait_kind);
  json.Field("wait_ticks", wait_ticks);
  json.Field("sleep_frames", sleep_frames);
  json.Field("choice_mode", choice_mode);
  json.Field("screen_mode", screen_mode);
  json.Field("extra_mode", extra_mode);
  json.Field("skip_mode", skip_mode);
  json.Field("auto_level", AutoLevel());
  json.Field("busy", busy);
  json.Field("transition_running", transition_running);
  json.Field("transition_interrupt", transition_interrupt);
  json.Field("overlay_name", SjisToUtf8Lossy(transitions_.overlay_name()));
  json.Field("confirm_pending", confirm_pending);
  json.Key("quick_buttons").BeginArray();
  for (int n = 1; n <= kQuickButtonCount; ++n) json.Int(quick_buttons_.State(n));
  json.EndArray();
  json.Field("hovered_button", quick_buttons_.hovered());
  json.Field("popup_open", popup_open);
  menus_.WriteState(json);

  // The banks.
  json.Key("V").BeginArray();
  for (int i = 0; i < 1000; ++i) json.Int(banks_.V(i));
  json.EndArray();
  json.Key("S").BeginArray();
  for (int i = 0; i < 200; ++i) json.Int(banks_.S(i));
  json.EndArray();
  json.Key("G").BeginArray();
  for (int i = 0; i < 10; ++i) json.Int(banks_.G(i));
  json.EndArray();
  FlagList(json, "F", banks_.F, banks_.F.size());
  FlagList(json, "E", banks_.E, banks_.E.size());
  FlagList(json, "T", banks_.T, banks_.T.size());
  json.Key("name_slots").BeginArray();
  for (int i = 0; i < kNameSlotCount; ++i) json.String(SjisToUtf8Lossy(banks_.NameSlot(i)));
  json.EndArray();

  // Text.
  json.Key("text_log").BeginArray();
  for (int i = 0; i < text_log_.line_count(); ++i) json.String(SjisToUtf8Lossy(text_log_.Line(i)));
  if (!text_log_.CurrentLine().empty()) json.String(SjisToUtf8Lossy(text_log_.CurrentLine()));
  json.EndArray();
  json.Field("layout", Layout());
  json.Field("window_open", window_open);
  json.Field("window_state", window_state);
  json.Field("text_column", page_grid_.column);
  json.Field("text_row", page_grid_.row);
  json.Field("page_chars", page_grid_.page_chars);
  json.Key("page_grid").BeginArray();
  for (int r = 0; r < kPageGridRows; ++r) {
    std::string row(page_grid_.Row(r));
    for (char& c : row) {
      if (c == 0) c = ' ';
    }
    json.String(SjisToUtf8Lossy(row));
  }
  json.EndArray();
  json.Field("auto_wait_ticks", auto_wait_ticks);
  json.Field("finish_now", finish_now);
  json.Field("char_delay", char_delay);
  json.Field("wide_advance", page_grid_.wide_advance);
  json.Field("colour_number", page_grid_.colour_number);
  json.Field("speaker_name", SjisToUtf8Lossy(message_window_.speaker_name()));
  json.Field("block_read", block_read);

  // Composition: the records save data keeps, the layout and the standing-picture cache.
  {
    StandingPictures& standing = composition_.standing();
    json.Field("background", SjisToUtf8Lossy(composition_.background_name()));
    json.Field("sprites", SjisToUtf8Lossy(composition_.sprite_list()));
    json.Field("sprite_count", standing.count());
    json.Key("sprite_names").BeginArray();
    for (int k = 0; k < kStandingNameCount; ++k) json.String(SjisToUtf8Lossy(standing.name(k)));
    json.EndArray();
    json.Key("sprite_cache").BeginArray();
    for (int i = 0; i < kStandingSlotCount; ++i) {
      json.String(SjisToUtf8Lossy(standing.slot(i).name));
    }
    json.EndArray();
    json.Field("sprite_next_slot", standing.next_slot());
    json.Field("sprite_show_count", composition_.sprite_show_count);
    json.Field("new_background", composition_.new_background);
  }

  // Start-up: the game configuration and the player's settings.
  json.Key("config");
  WriteGameConfigJson(json, config_);
  json.Key("speakers");
  WriteSpeakersJson(json, speakers_);
  json.Key("settings");
  WriteSettingsJson(json, settings_);
  json.Field("full_screen", screen_mode_switch_.full_screen_active());
}

}  // namespace quill
