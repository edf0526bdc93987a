#include "platform/headless/scenario.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

#include "common/file_util.h"
#include "common/sjis.h"
#include "common/text_util.h"
#include "platform/keys.h"
#include "platform/platform.h"

namespace quill {
namespace {

struct KindName {
  std::string_view name;
  ScenarioKind kind;
};

constexpr std::array<KindName, 20> kKinds{{
    {"size", ScenarioKind::Size},       {"click", ScenarioKind::Click},
    {"rclick", ScenarioKind::RClick},   {"mclick", ScenarioKind::MClick},
    {"move", ScenarioKind::Move},       {"down", ScenarioKind::Down},
    {"up", ScenarioKind::Up},           {"rdown", ScenarioKind::RDown},
    {"rup", ScenarioKind::RUp},         {"wheel", ScenarioKind::Wheel},
    {"key", ScenarioKind::Key},         {"keydown", ScenarioKind::KeyDown},
    {"keyup", ScenarioKind::KeyUp},     {"char", ScenarioKind::Char},
    {"shot", ScenarioKind::Shot},       {"state", ScenarioKind::State},
    {"dialog", ScenarioKind::Dialog},   {"close", ScenarioKind::Close},
    {"quit", ScenarioKind::Quit},       {"focus", ScenarioKind::Focus},
}};

bool ParseNumber(const std::string& word, int64_t& out) {
  size_t used = 0;
  int32_t v = ParseInt(word, &used);
  if (used != word.size() || word.empty()) return false;
  out = v;
  return true;
}

// Fills ev from the words after the event name; returns an error text or "".
std::string ParseArguments(ScenarioEvent& ev, const std::vector<std::string>& args,
                           const std::filesystem::path& base) {
  auto want = [&](size_t n) -> std::string {
    if (args.size() != n) {
      return "expects " + std::to_string(n) + (n == 1 ? " argument" : " arguments") + ", got " +
             std::to_string(args.size());
    }
    return "";
  };
  switch (ev.kind) {
    case ScenarioKind::Size: {
      if (auto e = want(2); !e.empty()) return e;
      if (args[0] != "800" || args[1] != "600") return "the screen is always 800 600";
      return "";
    }
    case ScenarioKind::Click: case ScenarioKind::RClick: case ScenarioKind::MClick:
    case ScenarioKind::Move: case ScenarioKind::Down: case ScenarioKind::Up:
    case ScenarioKind::RDown: case ScenarioKind::RUp: {
      if (auto e = want(2); !e.empty()) return e;
      int64_t x, y;
      if (!ParseNumber(args[0], x) || !ParseNumber(args[1], y)) return "coordinates must be integers";
      if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
        return "coordinates outside the 800 x 600 screen";
      ev.x = static_cast<int>(x);
      ev.y = static_cast<int>(y);
      return "";
    }
    case ScenarioKind::Wheel: {
      if (auto e = want(1); !e.empty()) return e;
      if (args[0] == "up") ev.wheel = 1;
      else if (args[0] == "down") ev.wheel = -1;
      else return "wheel takes up or down";
      return "";
    }
    case ScenarioKind::Key: case ScenarioKind::KeyDown: case ScenarioKind::KeyUp: {
      if (auto e = want(1); !e.empty()) return e;
      auto key = KeyFromName(args[0]);
      if (!key) return "unknown key '" + args[0] + "'";
      ev.key = *key;
      return "";
    }
    case ScenarioKind::Char: {
      if (auto e = want(1); !e.empty()) return e;
      Conversion c = Utf8ToSjis(args[0]);
      if (!c.ok()) return "the character has no Shift-JIS form";
      bool one_char = c.text.size() == 1 ||
                      (c.text.size() == 2 && IsLeadByte(static_cast<uint8_t>(c.text[0])));
      if (!one_char) return "char takes a single character";
      ev.text = c.text;
      return "";
    }
    case ScenarioKind::Shot: case ScenarioKind::State: {
      if (auto e = want(1); !e.empty()) return e;
      ev.path = base / args[0];
      return "";
    }
    case ScenarioKind::Dialog: {
      if (args.empty()) return "dialog needs an answer";
      ev.words = args;
      return "";
    }
    case ScenarioKind::Close: case ScenarioKind::Quit:
      return want(0);
    case ScenarioKind::Focus: {
      if (auto e = want(1); !e.empty()) return e;
      if (args[0] == "in") ev.active = true;
      else if (args[0] == "out") ev.active = false;
      else return "focus takes in or out";
      return "";
    }
  }
  return "";
}

}  // namespace

Scenario ParseScenario(std::string_view text, const std::filesystem::path& base_folder,
                       std::string_view file_label) {
  Scenario scenario;
  std::istringstream in{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words_in(line);
    std::vector<std::string> words;
    for (std::string w; words_in >> w;) words.push_back(w);
    if (words.empty()) continue;
    auto fail = [&](const std::string& what) {
      scenario.errors.push_back(std::string(file_label) + ":" + std::to_string(number) + ": " + what);
    };
    int64_t time = 0;
    if (!ParseNumber(words[0], time) || time < 0 || time > 0x7FFFFFFF) {
      fail("a line starts with its time in milliseconds, not '" + words[0] + "'");
      continue;
    }
    if (words.size() < 2) {
      fail("no event after the time");
      continue;
    }
    auto kind = std::find_if(kKinds.begin(), kKinds.end(),
                             [&](const KindName& k) { return k.name == words[1]; });
    if (kind == kKinds.end()) {
      fail("unknown event '" + words[1] + "'");
      continue;
    }
    ScenarioEvent ev;
    ev.time_ms = static_cast<uint32_t>(time);
    ev.kind = kind->kind;
    ev.line = number;
    std::vector<std::string> args(words.begin() + 2, words.end());
    if (std::string error = ParseArguments(ev, args, base_folder); !error.empty()) {
      fail(std::string(kind->name) + ": " + error);
      continue;
    }
    scenario.events.push_back(std::move(ev));
  }
  std::stable_sort(scenario.events.begin(), scenario.events.end(),
                   [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.time_ms < b.time_ms; });
  return scenario;
}

Scenario LoadScenario(const std::filesystem::path& file) {
  auto bytes = ReadFile(file);
  if (!bytes) {
    Scenario s;
    s.errors.push_back(file.string() + ": cannot read the scenario file");
    return s;
  }
  std::string text(bytes->begin(), bytes->end());
  return ParseScenario(text, file.parent_path(), file.string());
}

}  // namespace quill
