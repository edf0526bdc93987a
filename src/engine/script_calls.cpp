// Script loading and the moves between scripts: chain, call, end and the implicit return.
#include <algorithm>

#include "common/text_util.h"
#include "engine/engine.h"
#include "engine/script_scans.h"

namespace quill {

bool Engine::LoadArchiveIndexes() {
  std::string error;
  return archives_.LoadArchiveIndexes(platform_.GameFolder(), &error);
}

bool Engine::LoadScript(std::string_view name, ScriptTarget target) {
  std::string wanted(name);  // the caller's text may live in a buffer the load overwrites
  subsystems_.SceneScriptUnlock(wanted);
  insert_text_.fill(0);
  insert_pos_ = 0;
  std::optional<ScriptArchives::Found> found = archives_.Lookup(wanted);
  if (!found) return false;
  // A member that does not fit a script buffer (or no longer reads) is refused before anything
  // changes, so a damaged archive never overruns the buffer or leaves half a script.
  ScriptBuffer& buffer = target == ScriptTarget::Main ? main_script_ : aux_script_;
  if (!archives_.ReadInto(*found, buffer)) return false;
  subsystems_.UnlockScene(wanted);
  if (target == ScriptTarget::Main) {
    loaded_script_name_ = wanted;
    fetch_line = true;
    script_enabled = true;
    banks_.SetS(10, 0);
    finished_ = false;
  }
  return true;
}

void Engine::ResetRunState() {
  char_delay = 1;
  finish_now = false;
  wait_kind = kWaitNone;
  wait_ticks = 0;
  choices_.set_count(0);
  page_grid_.row = 0;
  page_grid_.column = 0;
}

void Engine::StartGame() {
  call_stack_.Clear();
  set_current_script_name("main");
  LoadScript("main", ScriptTarget::Main);
}

bool Engine::Go(std::string_view label) {
  int32_t offset = FindLabel(main_script_.script(), label);
  if (offset < 0) return false;
  main_script_.read_position = static_cast<uint32_t>(offset);
  fetch_line = true;
  return true;
}

// NAME[:LABEL] from byte `arg`: a space ends the name (the rest is ignored), a colon ends it and
// starts the label, which runs to the end of the line. The scan looks no further than `limit`.
void Engine::ParseScriptTarget(std::string_view line, size_t arg, size_t limit, std::string& name,
                               std::string& label, bool& has_label) {
  line = UntilNul(line);
  name.clear();
  label.clear();
  has_label = false;
  if (arg >= line.size()) return;
  size_t end = std::min(line.size(), limit);
  size_t i = arg + 1;
  for (; i < end; ++i) {
    if (line[i] == ' ') break;
    if (line[i] == ':') {
      has_label = true;
      label = std::string(line.substr(i + 1));
      break;
    }
  }
  name = std::string(line.substr(arg, std::min(i, end) - arg));
}

int Engine::ChainCommand(std::string_view line) {
  std::string name, label;
  bool has_label;
  ParseScriptTarget(line, 7, 128, name, label, has_label);
  call_stack_.Clear();
  std::string previous = current_script_name_;
  set_current_script_name(name);
  ResetRunState();
  // The old script keeps running when the new one is missing, so it keeps its name too.
  if (!LoadScript(name, ScriptTarget::Main)) current_script_name_ = previous;
  if (has_label) Go(label);
  return 1;
}

int Engine::CallCommand(std::string_view line) {
  std::string name, label;
  bool has_label;
  ParseScriptTarget(line, 6, 100, name, label, has_label);
  // Nine callers are all the stack holds: a tenth call is refused and the script goes on.
  if (call_stack_.full()) return 1;
  call_stack_.WriteTop(current_script_name_, main_script_.read_position);
  if (!name.empty() && name[0] == '$') {
    int n = name.size() > 1 ? name[1] - '0' : -1;
    if (n < 0 || n > 9) n = 0;
    std::string slot(banks_.NameSlot(n));
    std::string previous = current_script_name_;
    set_current_script_name(slot);
    if (LoadScript(slot, ScriptTarget::Main)) {
      ResetRunState();
      call_stack_.Raise();
    } else {
      current_script_name_ = previous;
    }
  } else if (LoadScript(name, ScriptTarget::Main)) {
    set_current_script_name(name);
    ResetRunState();
    call_stack_.Raise();
  }
  if (has_label) Go(label);
  return 1;
}

void Engine::ReturnToCaller() {
  CallStackEntry caller;
  if (!call_stack_.Pop(&caller)) return;
  std::string name(caller.Name());
  LoadScript(name, ScriptTarget::Main);
  set_current_script_name(name);
  main_script_.read_position = caller.offset;
  fetch_line = true;
}

void Engine::LeaveExtraMode() {
  if (extra_mode == 1) {
    subsystems_.ReturnFromGallery();
  } else if (extra_mode == 2) {
    subsystems_.ReturnFromRecollection();
  }
}

int Engine::EndCommand() {
  if (call_stack_.depth() > 0) {
    ReturnToCaller();
  } else {
    LeaveExtraMode();
  }
  return 1;
}

void Engine::ImplicitReturn() {
  if (call_stack_.depth() > 0) {
    ReturnToCaller();
  } else if (extra_mode == 0) {
    finished_ = true;
  }
}

}  // namespace quill
