// The demo's two music tracks: an intro bar, then eight bars that loop.
#include <vector>

#include "tools/demo_sound/demo_sound.h"
#include "tools/demo_sound/synth.h"

namespace demo_sound {
namespace {

struct MelodyNote {
  double beats;
  int midi;  // 0: a rest
};

struct Song {
  double bpm;
  std::vector<std::vector<int>> chords;         // one a bar, three notes each
  std::vector<std::vector<MelodyNote>> melody;  // one list a bar
  Timbre lead;
  double arpeggio_level;
};

quill::WavSound Render(const Song& song) {
  const double beat = 60.0 / song.bpm;
  const double bar = 4 * beat;
  const int bars = 1 + static_cast<int>(song.chords.size());
  Track t(kMusicRate, bars * bar);
  for (int b = 0; b < bars; ++b) {
    const std::vector<int>& chord = song.chords[b == 0 ? 0 : static_cast<size_t>(b - 1)];
    double at = b * bar;
    for (int n : chord) t.Note(at, bar, NoteHz(n), 0.07, Timbre::Pad, (n % 3 - 1) * 0.3);
    // Arpeggio in eighths, up and back, an octave above the chord.
    static constexpr int kOrder[8] = {0, 1, 2, 1, 0, 1, 2, 1};
    for (int e = 0; e < 8; ++e) {
      int n = chord[static_cast<size_t>(kOrder[e])] + 12 + (e == 2 || e == 6 ? 12 : 0);
      t.Note(at + e * beat / 2, beat * 0.9, NoteHz(n), song.arpeggio_level, Timbre::Pluck,
             e % 2 ? 0.35 : -0.35);
    }
    if (b == 0) continue;  // the intro has no bass and no tune
    t.Note(at, 2 * beat, NoteHz(chord[0] - 12), 0.22, Timbre::Bass);
    t.Note(at + 2 * beat, 2 * beat, NoteHz(chord[0] - 12), 0.18, Timbre::Bass);
    double m = at;
    for (const MelodyNote& note : song.melody[static_cast<size_t>(b - 1)]) {
      if (note.midi) t.Note(m, note.beats * beat * 1.1, NoteHz(note.midi), 0.16, song.lead, 0.1);
      m += note.beats * beat;
    }
  }
  t.Echo(beat * 0.75, 0.25);
  return t.ToPcm(0.45, 2);
}

}  // namespace

MusicTrack EveningTheme() {
  Song s;
  s.bpm = 76;
  const std::vector<int> F{53, 57, 60}, Dm{50, 53, 57}, Bb{46, 50, 53}, C{48, 52, 55},
      Am{45, 48, 52};
  s.chords = {F, Dm, Bb, C, F, Am, Bb, C};
  s.melody = {{{2, 69}, {1, 72}, {1, 70}},          {{2, 69}, {2, 65}},
              {{2, 70}, {1, 74}, {1, 72}},          {{3, 72}, {1, 0}},
              {{2, 69}, {1, 72}, {1, 77}},          {{2, 76}, {2, 72}},
              {{1, 74}, {1, 72}, {1, 70}, {1, 69}}, {{3, 67}, {1, 0}}};
  s.lead = Timbre::Bell;
  s.arpeggio_level = 0.08;
  double bar_seconds = 4 * 60.0 / s.bpm;
  return {"M01", Render(s), static_cast<uint32_t>(bar_seconds * kMusicRate)};
}

MusicTrack MorningTheme() {
  Song s;
  s.bpm = 104;
  const std::vector<int> C{48, 52, 55}, G{47, 50, 55}, Am{45, 48, 52}, F{48, 53, 57};
  s.chords = {C, G, Am, F, C, G, F, G};
  s.melody = {{{1, 76}, {1, 79}, {1, 76}, {1, 72}}, {{2, 74}, {1, 71}, {1, 74}},
              {{1, 72}, {1, 76}, {1, 81}, {1, 79}}, {{2, 77}, {1, 76}, {1, 74}},
              {{1, 76}, {1, 79}, {1, 84}, {1, 79}}, {{2, 79}, {1, 74}, {1, 71}},
              {{1, 72}, {1, 74}, {1, 76}, {1, 77}}, {{3, 74}, {1, 71}}};
  s.lead = Timbre::Pluck;
  s.arpeggio_level = 0.06;
  double bar_seconds = 4 * 60.0 / s.bpm;
  return {"M02", Render(s), static_cast<uint32_t>(bar_seconds * kMusicRate)};
}

}  // namespace demo_sound
