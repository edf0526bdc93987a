#pragma once
// Scenario files of headless runs: one event per line, "TIME_MS EVENT ARGS…", '#' starts a
// comment. Paths are relative to the scenario file's folder.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

enum class ScenarioKind {
  Size, Click, RClick, MClick, Move, Down, Up, RDown, RUp, Wheel, Key, KeyDown, KeyUp, Char,
  Shot, State, Dialog, Close, Quit,
  Focus,  // the game window becomes inactive (out) or active (in)
};

struct ScenarioEvent {
  uint32_t time_ms = 0;
  ScenarioKind kind = ScenarioKind::Quit;
  int line = 0;                     // line number in the file, for messages
  int x = 0, y = 0;                 // pointer events
  int key = 0;                      // key events
  int wheel = 0;                    // +1 up, -1 down
  bool active = true;               // focus
  std::string text;                 // char: the typed character as Shift-JIS
  std::filesystem::path path;       // shot, state
  std::vector<std::string> words;   // dialog: the answer's words
};

struct Scenario {
  std::vector<ScenarioEvent> events;  // in time order; equal times keep file order
  std::vector<std::string> errors;    // "scenario.txt:12: …", one per bad line
  bool ok() const { return errors.empty(); }
};

Scenario ParseScenario(std::string_view text, const std::filesystem::path& base_folder,
                       std::string_view file_label = "scenario");
Scenario LoadScenario(const std::filesystem::path& file);

}  // namespace quill
