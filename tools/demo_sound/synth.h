#pragma once
// A small synthesiser for the demo's music and effects: notes of a few timbres laid into a
// stereo float buffer, a soft echo, and the conversion to 16-bit PCM.
#include <cstdint>
#include <vector>

#include "common/wav_file.h"

namespace demo_sound {

enum class Timbre {
  Pad,    // detuned sines, slow attack and release
  Pluck,  // bright harmonics that die away
  Bell,   // inharmonic partials, long ring
  Bass,   // a round low tone
  Blip,   // a short clean tone for the interface sounds
};

class Track {
 public:
  Track(int rate, double seconds);
  int rate() const { return rate_; }
  size_t frames() const { return left_.size(); }
  // A note of `seconds` from `start`; pan -1 left … 1 right.
  void Note(double start, double seconds, double frequency, double amplitude, Timbre timbre,
            double pan = 0.0);
  // Smoothed noise from `start` for `seconds` (lower smoothing, darker sound): gusts of wind, or
  // with `swell` one rise and fall.
  void Noise(double start, double seconds, double amplitude, double smoothing, uint32_t seed,
             double pan = 0.0, bool swell = false);
  // An echo: delay in seconds, feedback below 1.
  void Echo(double delay, double feedback);
  // The end laid over the start for `seconds`, so the sound loops without a seam; the result is
  // that much shorter.
  void FoldForLoop(double seconds);
  // Peak to `peak` of full scale, then 16-bit; mono keeps the left.
  quill::WavSound ToPcm(double peak, int channels) const;

 private:
  void Add(size_t frame, double value, double pan);
  int rate_;
  std::vector<float> left_, right_;
};

// Equal temperament: MIDI note number to Hz.
double NoteHz(int midi);

}  // namespace demo_sound
