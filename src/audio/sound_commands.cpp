#include "audio/sound_commands.h"

#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "common/text_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

bool SettingOn(Engine& e, SettingId id) { return e.settings().Int(id) != 0; }

}  // namespace

void SoundCommands::PlayNamed(std::string_view name) {
  if (!engine_.skip_mode) engine_.sound().PlaySound(name, kSoundVoice);
}

void SoundCommands::SetMusic(int n) {
  int track = n < 0 ? 0 : n;
  int fade_step = n < 0 ? -n : 0;
  ValueBanks& b = engine_.banks();
  SoundOutput& out = engine_.sound();
  b.SetS(3, track);
  if (track == b.S(5)) return;
  if (SettingOn(engine_, SettingId::BGM_ENA)) {
    if (track != 0) {
      out.PlayMusic(track);
    } else if (fade_step != 0) {
      out.FadeOutMusic(fade_step);
    } else {
      out.StopMusic();
    }
    b.SetS(5, track);
  } else {
    if (b.S(5) != 0) out.StopMusic();
    b.SetS(5, 0);
  }
}

void SoundCommands::RestartMusic() {
  int requested = engine_.banks().S(3);
  SetMusic(0);
  SetMusic(requested);
}

void SoundCommands::ReplayLastVoice() { PlayNamed(last_voice_); }

void SoundCommands::MusicCommand(std::string_view arg) { SetMusic(ParseInt(arg)); }

void SoundCommands::set_last_voice(std::string_view name) {
  last_voice_ = std::string(name.substr(0, std::min(name.size(), kLastVoiceBytes)));
}

void SoundCommands::RecordVoice(std::string_view name) {
  engine_.AppendPageVoice(name);
  PlayNamed(name);
  set_last_voice(name);
}

void SoundCommands::VoiceCommand(std::string_view arg) {
  std::string name(arg);
  if (engine_.banks().S(6) != 0 && engine_.sound().SoundExists(name + "X")) name += "X";
  RecordVoice(name);
  engine_.text_log().AppendText("@" + name);
  engine_.EndLogLine();
}

void SoundCommands::InlineVoice(std::string_view name) { RecordVoice(name); }

bool SoundCommands::CategoryOff(std::string_view name) {
  if (name.size() < 4 || name.substr(0, 3) != "SEH") return false;
  int k = name[3] - '0';
  if (k < 0 || k > 4) return false;
  return !SettingOn(engine_, SettingAt(SettingId::SE0, k));
}

void SoundCommands::SoundEffect(std::string_view arg) {
  if (engine_.skip_mode && engine_.efx_cut) return;
  std::string name = ToUpperAscii(arg);
  if (CategoryOff(name)) return;
  engine_.sound().PlaySound(name, kSoundEffect);
}

void SoundCommands::LoopSoundEffect(std::string_view arg) {
  std::string text = ToUpperAscii(arg);
  size_t comma = text.find(',');
  int kind = comma == std::string::npos ? kSoundLoop : kSoundSecondLoop;
  std::string name = text.substr(0, comma);
  if (CategoryOff(name)) return;
  // Category 4 picks a variant member: the eleventh character moves by the low byte of the
  // SE_LVL selector that the ninth names.
  if (name.size() >= 11 && name.starts_with("SEH4") && name[8] >= '1' && name[8] <= '5') {
    int j = name[8] - '1';
    int level = engine_.settings().Int(SettingAt(SettingId::SE_LVL0, j));
    name[10] = static_cast<char>(name[10] + (level & 0xFF));
  }
  engine_.sound().PlaySound(name, kind);
}

void SoundCommands::StopSoundEffects(int selector) { engine_.sound().StopLoops(selector); }

void SoundCommands::WriteState(nlohmann::ordered_json& sound) const {
  sound["last_voice"] = SjisToUtf8Lossy(last_voice_);
  sound["voice_end_wait"] = engine_.voice_end_wait;
}

}  // namespace quill
