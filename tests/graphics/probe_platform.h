#pragma once
// Display probes for transition and effect tests: the headless platform keeping copies of the
// display as it stands during chosen virtual milliseconds (as a scenario `shot` sees it) and the
// shake offsets with their times, plus small picture helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/picture.h"
#include "common/png_io.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/test_pictures.h"

namespace quill::test {

inline Picture Solid(Bgr c) {
  Picture p(kScreenWidth, kScreenHeight);
  p.Fill(static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r));
  return p;
}

// Every pixel differs from its neighbours, so a piece copied from the wrong place shows.
inline Picture Pattern(int seed) {
  Picture p(kScreenWidth, kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    uint8_t* row = p.Row(y);
    for (int x = 0; x < kScreenWidth; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 7 + y * 3 + seed);
      row[3 * x + 1] = static_cast<uint8_t>(x + y * 11 + seed * 5);
      row[3 * x + 2] = static_cast<uint8_t>((x ^ y) + seed * 9);
    }
  }
  return p;
}

// The cross-fade formula per channel.
inline int Mix(int a, int p, int q) { return (a * p + (256 - a) * q) >> 8; }
inline Bgr Mix(int a, Bgr p, Bgr q) {
  return {Mix(a, p.b, q.b), Mix(a, p.g, q.g), Mix(a, p.r, q.r)};
}
// The masked blend per channel: (P × (255 − M) + Q × M) >> 8.
inline int Masked(int p, int q, int m) { return (p * (255 - m) + q * m) >> 8; }
inline Bgr Masked(Bgr p, Bgr q, int m) {
  return {Masked(p.b, q.b, m), Masked(p.g, q.g, m), Masked(p.r, q.r, m)};
}

inline std::string Keep(const Picture& p, const std::string& name) {
  std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / (name + "-actual.png");
  WritePng(path, p);
  return path.string();
}

// The headless platform, keeping copies of the display as it stands during chosen virtual
// milliseconds (as a scenario `shot` sees it).
class ProbePlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  void ProbeAt(uint32_t time) { probes_[time]; }
  void SleepMs(uint32_t ms) override {
    uint32_t now = NowMs();
    for (auto& [time, shot] : probes_) {
      if (shot.empty() && time >= now && time < now + ms) shot = display();
    }
    HeadlessPlatform::SleepMs(ms);
  }
  // Probes the run did not sleep through see the display it ended with.
  void FinishProbes() {
    for (auto& [time, shot] : probes_) {
      if (shot.empty()) shot = display();
    }
  }
  const Picture& Probe(uint32_t time) { return probes_.at(time); }

  // Shake offsets with their times.
  struct WindowMove {
    uint32_t time;
    int dx, dy;
    bool operator==(const WindowMove&) const = default;
  };
  void SetShakeOffset(int dx, int dy) override {
    HeadlessPlatform::SetShakeOffset(dx, dy);
    window_moves.push_back({NowMs(), dx, dy});
  }
  std::vector<WindowMove> window_moves;

 private:
  std::map<uint32_t, Picture> probes_;
};

}  // namespace quill::test
