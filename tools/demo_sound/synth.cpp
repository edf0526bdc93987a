#include "tools/demo_sound/synth.h"

#include <algorithm>
#include <cmath>

namespace demo_sound {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// The note's level over time: attack, then the timbre's own fall.
double Envelope(Timbre timbre, double t, double length) {
  double release = std::min(0.08, length * 0.3);
  double tail = t > length - release ? std::max(0.0, (length - t) / release) : 1.0;
  switch (timbre) {
    case Timbre::Pad: {
      double attack = std::min(0.6, length * 0.4);
      double release_pad = std::min(0.8, length * 0.4);
      double in = std::min(1.0, t / attack);
      double out = t > length - release_pad ? std::max(0.0, (length - t) / release_pad) : 1.0;
      return in * out;
    }
    case Timbre::Pluck:
      return std::min(1.0, t / 0.005) * std::exp(-t * 5.0) * tail;
    case Timbre::Bell:
      return std::min(1.0, t / 0.002) * std::exp(-t * 2.2) * tail;
    case Timbre::Bass:
      return std::min(1.0, t / 0.02) * std::exp(-t * 1.2) * tail;
    case Timbre::Blip:
      return std::min(1.0, t / 0.003) * std::exp(-t * 18.0) * tail;
  }
  return 0.0;
}

double Wave(Timbre timbre, double phase, double t) {
  switch (timbre) {
    case Timbre::Pad:
      return (std::sin(phase) + std::sin(phase * 1.004) + 0.3 * std::sin(phase * 2.0)) / 2.3;
    case Timbre::Pluck: {
      double fall = std::exp(-t * 6.0);
      return std::sin(phase) + 0.5 * fall * std::sin(2 * phase) + 0.25 * fall * std::sin(3 * phase);
    }
    case Timbre::Bell:
      return std::sin(phase) + 0.4 * std::sin(phase * 2.76) * std::exp(-t * 3.0) +
             0.2 * std::sin(phase * 5.4) * std::exp(-t * 6.0);
    case Timbre::Bass:
      return std::sin(phase) + 0.2 * std::sin(2 * phase);
    case Timbre::Blip:
      return std::sin(phase) + 0.1 * std::sin(3 * phase);
  }
  return 0.0;
}

}  // namespace

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

Track::Track(int rate, double seconds)
    : rate_(rate),
      left_(static_cast<size_t>(seconds * rate), 0.0f),
      right_(static_cast<size_t>(seconds * rate), 0.0f) {}

void Track::Add(size_t frame, double value, double pan) {
  if (frame >= left_.size()) return;
  left_[frame] += static_cast<float>(value * std::sqrt((1.0 - pan) / 2));
  right_[frame] += static_cast<float>(value * std::sqrt((1.0 + pan) / 2));
}

void Track::Note(double start, double seconds, double frequency, double amplitude, Timbre timbre,
                 double pan) {
  size_t first = static_cast<size_t>(start * rate_);
  size_t count = static_cast<size_t>(seconds * rate_);
  for (size_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / rate_;
    double v = Wave(timbre, kTwoPi * frequency * t, t) * Envelope(timbre, t, seconds);
    Add(first + i, amplitude * v, pan);
  }
}

void Track::Noise(double start, double seconds, double amplitude, double smoothing, uint32_t seed,
                  double pan, bool swell) {
  size_t first = static_cast<size_t>(start * rate_);
  size_t count = static_cast<size_t>(seconds * rate_);
  uint32_t state = seed;
  double low = 0.0;
  for (size_t i = 0; i < count; ++i) {
    state = state * 1664525u + 1013904223u;
    double white = static_cast<double>(state >> 8) / (1u << 24) * 2.0 - 1.0;
    low += (white - low) * smoothing;
    // One swell, or a level that rises and falls like gusts.
    double t = static_cast<double>(i) / rate_;
    double slow = swell ? std::sin(kTwoPi * t / seconds / 2)
                        : 0.6 + 0.4 * std::sin(kTwoPi * t / 3.7) * std::sin(kTwoPi * t / 5.3);
    Add(first + i, amplitude * low * slow * 4.0, pan);
  }
}

void Track::Echo(double delay, double feedback) {
  size_t d = static_cast<size_t>(delay * rate_);
  for (size_t i = d; i < left_.size(); ++i) {
    // Cross-fed: the echo wanders from side to side.
    left_[i] += static_cast<float>(right_[i - d] * feedback);
    right_[i] += static_cast<float>(left_[i - d] * feedback);
  }
}

void Track::FoldForLoop(double seconds) {
  size_t n = std::min(static_cast<size_t>(seconds * rate_), left_.size() / 2);
  size_t keep = left_.size() - n;
  for (size_t i = 0; i < n; ++i) {
    double w = static_cast<double>(i) / n;  // the start fades in as the end fades out
    left_[i] = static_cast<float>(left_[i] * w + left_[keep + i] * (1.0 - w));
    right_[i] = static_cast<float>(right_[i] * w + right_[keep + i] * (1.0 - w));
  }
  left_.resize(keep);
  right_.resize(keep);
}

quill::WavSound Track::ToPcm(double peak, int channels) const {
  float top = 1e-6f;
  for (size_t i = 0; i < left_.size(); ++i) {
    top = std::max({top, std::abs(left_[i]), std::abs(right_[i])});
  }
  double scale = peak * 32767.0 / top;
  quill::WavSound out;
  out.channels = channels;
  out.rate = rate_;
  out.samples.reserve(left_.size() * static_cast<size_t>(channels));
  for (size_t i = 0; i < left_.size(); ++i) {
    out.samples.push_back(static_cast<int16_t>(std::lround(left_[i] * scale)));
    if (channels == 2) out.samples.push_back(static_cast<int16_t>(std::lround(right_[i] * scale)));
  }
  return out;
}

}  // namespace demo_sound
