#pragma once
// The script's sound commands and the engine's named sounds: music by track number with its
// fade and on/off switch, voices with the players' name variant, the last voice and its replay,
// effects with their five categories, the loops and their variants.
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace quill {

class Engine;

constexpr size_t kLastVoiceBytes = 31;  // the last-voice record holds 31 bytes and its NUL

class SoundCommands {
 public:
  explicit SoundCommands(Engine& engine) : engine_(engine) {}

  // A named sound through the voice search, unless skip mode is on.
  void PlayNamed(std::string_view name);
  void SetMusic(int n);
  // The music switch changed: the requested track again from the start (S003 kept).
  void RestartMusic();
  void ReplayLastVoice();

  // Script commands; the argument is the text after the keyword.
  void MusicCommand(std::string_view arg);
  void VoiceCommand(std::string_view arg);     // cv
  void InlineVoice(std::string_view name);     // the text's voice tag: no variant, no log entry
  void SoundEffect(std::string_view arg);      // se
  void LoopSoundEffect(std::string_view arg);  // seloop
  void StopSoundEffects(int selector);         // seoff

  const std::string& last_voice() const { return last_voice_; }
  void set_last_voice(std::string_view name);

  // Adds the commands' keys to the state dump's "sound" object.
  void WriteState(nlohmann::ordered_json& sound) const;

 private:
  // The category switch SE0–SE4 of a name beginning "SEH" and a digit 0–4 is off.
  bool CategoryOff(std::string_view upper_name);
  void RecordVoice(std::string_view name);

  Engine& engine_;
  std::string last_voice_;
};

}  // namespace quill
