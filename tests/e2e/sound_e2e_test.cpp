// Sound end to end: build/quill --headless --audio-out writes the run's mix, in step with virtual
// time; a voice started by the script is heard where it should be and not before, and the music
// fades to silence.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "common/wav_file.h"
#include "tests/audio/sound_fixture.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace quill::test {
namespace {

// The level of one stretch of the mix, left channel.
double Rms(const WavSound& mix, double from, double to) {
  size_t a = static_cast<size_t>(from * mix.rate), b = static_cast<size_t>(to * mix.rate);
  double sum = 0;
  for (size_t i = a; i < b && 2 * i < mix.samples.size(); ++i) {
    sum += static_cast<double>(mix.samples[2 * i]) * mix.samples[2 * i];
  }
  return std::sqrt(sum / static_cast<double>(b - a));
}

TEST(SoundE2eTest, TheMixHoldsTheVoiceAtTwoSecondsAndSilenceAfterTheFade) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Resource("mg_ogg1.qlm", "V001", VoiceMember(1.0, 300));
  game.Resource("mg_bgm.qlm", "M01", MusicMember(ToneSound(2, 22050, 3.0, 110, 6000), 0));
  // Music from the start; the voice at 2 s (sleep 3000: 100 frames of 20 ms); the music fades
  // out from 4 s.
  game.Script("main",
              "*music 1\n"
              "*sleep 3000\n"
              "*cv V001\n"
              "*sleep 3000\n"
              "*music -300\n"
              "*sleep 4500\n");
  game.Write();
  std::ofstream(dir / "run.txt") << "7000 quit\n";
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  ProgramResult r =
      RunProgram("quill", {"--game", (dir / "game").string(), "--headless", "--scenario",
                           (dir / "run.txt").string(), "--audio-out", (dir / "mix.wav").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::string error;
  std::optional<WavSound> mix = ReadWav(dir / "mix.wav", &error);
  ASSERT_TRUE(mix) << error;
  EXPECT_EQ(mix->channels, 2);
  EXPECT_EQ(mix->rate, 44100);
  EXPECT_NEAR(static_cast<double>(mix->samples.size()) / 2 / 44100, 7.0, 0.05);

  double music = Rms(*mix, 0.5, 1.8);
  double with_voice = Rms(*mix, 2.2, 2.8);
  EXPECT_GT(music, 300);
  EXPECT_GT(with_voice, music * 1.5);
  // The voice starts at 2.0 s, not before.
  double before = Rms(*mix, 1.85, 1.98), after = Rms(*mix, 2.05, 2.15);
  EXPECT_GT(after, before * 1.5);
  // Silence once the fade has run out (about 0.6 s after it began at 4 s).
  EXPECT_LT(Rms(*mix, 5.0, 6.9), 1.0);
}

}  // namespace
}  // namespace quill::test
