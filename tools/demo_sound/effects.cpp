// The demo's sound effects: one-shot effects, the interface sounds, and two looping ambiences.
#include "tools/demo_sound/demo_sound.h"
#include "tools/demo_sound/synth.h"

namespace demo_sound {
namespace {

quill::WavSound Blips(std::initializer_list<int> notes, double spacing) {
  Track t(kEffectRate, spacing * static_cast<double>(notes.size()) + 0.3);
  double at = 0;
  for (int n : notes) {
    t.Note(at, 0.25, NoteHz(n), 0.5, Timbre::Blip);
    at += spacing;
  }
  return t.ToPcm(0.5, 1);
}

// A bird's call: a few quick rising tones.
void Chirp(Track& t, double at, double base, double pan) {
  for (int i = 0; i < 3; ++i) t.Note(at + i * 0.045, 0.05, base + i * 350, 0.05, Timbre::Blip, pan);
}

}  // namespace

std::vector<Effect> OneShotEffects() {
  std::vector<Effect> out;
  {
    Track t(kEffectRate, 2.0);  // a chime for a change of scene
    t.Note(0.0, 1.8, NoteHz(84), 0.4, Timbre::Bell);
    t.Note(0.12, 1.7, NoteHz(91), 0.3, Timbre::Bell);
    out.push_back({"SE01", t.ToPcm(0.6, 1)});
  }
  {
    Track t(kEffectRate, 1.2);  // a gust as the petals fly
    t.Noise(0.0, 1.2, 0.6, 0.08, 7);
    out.push_back({"SE02", t.ToPcm(0.5, 1)});
  }
  {
    Track t(kEffectRate, 0.8);  // two knocks on the door
    t.Note(0.0, 0.18, 110, 0.8, Timbre::Pluck);
    t.Note(0.0, 0.12, 70, 0.6, Timbre::Bass);
    t.Note(0.28, 0.18, 110, 0.8, Timbre::Pluck);
    t.Note(0.28, 0.12, 70, 0.6, Timbre::Bass);
    out.push_back({"SE03", t.ToPcm(0.7, 1)});
  }
  out.push_back({"SSE01", Blips({88, 93}, 0.06)});      // a choice taken
  out.push_back({"SSE02", Blips({81, 86}, 0.08)});      // choices shown
  out.push_back({"SSE05", Blips({76, 79, 84}, 0.07)});  // save
  out.push_back({"SSE06", Blips({84, 79, 76}, 0.07)});  // load
  out.push_back({"SSE09", Blips({72}, 0.05)});          // the backlog
  out.push_back({"SSE11", Blips({79, 79}, 0.1)});       // save editing
  return out;
}

std::vector<Effect> LoopingEffects() {
  std::vector<Effect> out;
  {
    Track t(kEffectRate, 11.0);  // a morning: a breeze and birds
    t.Noise(0.0, 11.0, 0.15, 0.01, 3, -0.6);
    t.Noise(0.0, 11.0, 0.15, 0.01, 5, 0.6);
    uint32_t state = 11;
    for (double at = 0.3; at < 10.0;) {
      state = state * 1664525u + 1013904223u;
      double pan = static_cast<double>(state >> 24) / 128.0 - 1.0;
      Chirp(t, at, 2600 + (state >> 20 & 0xFF) * 4, pan);
      if (state & 0x100) Chirp(t, at + 0.2, 2900, pan);
      at += 0.7 + static_cast<double>(state >> 16 & 0xFF) / 128.0;
    }
    t.FoldForLoop(1.0);
    out.push_back({"AMB01", t.ToPcm(0.25, 2)});
  }
  {
    Track t(kEffectRate, 9.0);  // an evening: crickets
    t.Noise(0.0, 9.0, 0.08, 0.01, 9);
    for (double at = 0.1; at < 8.5; at += 0.62) {
      for (int i = 0; i < 3; ++i) t.Note(at + i * 0.05, 0.04, 4200, 0.04, Timbre::Blip, -0.5);
    }
    for (double at = 0.4; at < 8.5; at += 0.83) {
      for (int i = 0; i < 4; ++i) t.Note(at + i * 0.04, 0.03, 4700, 0.03, Timbre::Blip, 0.5);
    }
    t.FoldForLoop(1.0);
    out.push_back({"AMB02", t.ToPcm(0.25, 2)});
  }
  return out;
}

}  // namespace demo_sound
