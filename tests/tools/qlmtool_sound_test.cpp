// qlmtool's sound commands: WAV files round-trip through both codings, pack codes .wav members
// and stores .ogg ones as they are, and bad input is refused with a message.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/wady_codec.h"
#include "common/file_util.h"
#include "common/wav_file.h"
#include "engine/archive_index.h"
#include "tests/audio/sound_fixture.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using test::RunProgram;

int WorstError(const WavSound& a, const WavSound& b) {
  EXPECT_EQ(a.samples.size(), b.samples.size());
  int worst = 0;
  for (size_t i = 0; i < std::min(a.samples.size(), b.samples.size()); ++i) {
    worst = std::max(worst, std::abs(a.samples[i] - b.samples[i]));
  }
  return worst;
}

TEST(QlmtoolSound, WavRoundTripsThroughBothCodings) {
  test::TempDir dir;
  WavSound chord{2, 44100, {}};
  for (int i = 0; i < 44100; ++i) {
    double t = i / 44100.0;
    chord.samples.push_back(static_cast<int16_t>(9000 * std::sin(2 * M_PI * 262 * t)));
    chord.samples.push_back(static_cast<int16_t>(9000 * std::sin(2 * M_PI * 330 * t)));
  }
  std::string error;
  ASSERT_TRUE(WriteWav(dir / "in.wav", chord, &error)) << error;
  struct Case {
    const char* coding;
    int tolerance;
  } cases[] = {{"--block", 600}, {"--stream", 300}};
  for (const Case& c : cases) {
    auto enc = RunProgram("qlmtool", {"encode-wady", (dir / "in.wav").string(),
                                      (dir / "out.wady").string(), c.coding});
    ASSERT_EQ(enc.exit_code, 0) << enc.err;
    auto dec = RunProgram(
        "qlmtool", {"decode-wady", (dir / "out.wady").string(), (dir / "back.wav").string()});
    ASSERT_EQ(dec.exit_code, 0) << dec.err;
    auto back = ReadWav(dir / "back.wav", &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->channels, 2);
    EXPECT_EQ(back->rate, 44100);
    EXPECT_LT(WorstError(chord, *back), c.tolerance) << c.coding;
  }
  // The loop start and its running values are in the stream's header.
  auto looped =
      RunProgram("qlmtool", {"encode-wady", (dir / "in.wav").string(), (dir / "loop.wady").string(),
                             "--stream", "--loop-start", "1000"});
  ASSERT_EQ(looped.exit_code, 0) << looped.err;
  auto header = ReadWadyHeader(*ReadFile(dir / "loop.wady"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->loop_start, 2000u);
  EXPECT_NE(header->scale, 0);
  // The values the decoder holds before the loop's first byte: those after frame 999.
  EXPECT_NEAR(header->loop_left, chord.samples[1998], 300);
  EXPECT_NEAR(header->loop_right, chord.samples[1999], 300);
}

TEST(QlmtoolSound, PackCodesWavMembersAndStoresOggOnes) {
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteWav(dir / "se01.wav", test::ToneSound(1, 22050, 0.2, 440), &error));
  std::vector<uint8_t> ogg = test::VoiceMember(0.2);
  ASSERT_TRUE(WriteFileAtomic(dir / "v001.ogg", ogg));
  auto r = RunProgram("qlmtool", {"pack", (dir / "s.qlm").string(), (dir / "se01.wav").string(),
                                  (dir / "v001.ogg").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ArchiveReadResult index = ReadArchiveIndex(dir / "s.qlm", ArchiveLayout::DeclaredWidth);
  ASSERT_TRUE(index.index) << index.error;
  auto effect = ReadArchiveMember(dir / "s.qlm", *index.index, index.index->Find("SE01"));
  ASSERT_TRUE(effect);
  auto pcm = DecodeWadyEffect(*effect);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->samples.size(), 4410u);
  auto voice = ReadArchiveMember(dir / "s.qlm", *index.index, index.index->Find("V001"));
  ASSERT_TRUE(voice);
  EXPECT_EQ(*voice, ogg);
}

TEST(QlmtoolSound, BadInputIsRefused) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir / "junk.wav", std::vector<uint8_t>(100, 7)));
  struct Case {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"encode-wady", (dir / "junk.wav").string(), (dir / "o").string(), "--block"},
       "not a RIFF WAVE file"},
      {{"encode-wady", (dir / "junk.wav").string(), (dir / "o").string()}, "usage"},
      {{"encode-wady", (dir / "junk.wav").string(), (dir / "o").string(), "--block", "--stream"},
       "either --block or --stream"},
      {{"decode-wady", (dir / "junk.wav").string(), (dir / "o.wav").string()}, "not a WADY"},
      {{"pack", (dir / "a.qlm").string(), (dir / "junk.wav").string()}, "not a RIFF WAVE file"},
  };
  for (const Case& c : cases) {
    auto r = RunProgram("qlmtool", c.args);
    EXPECT_NE(r.exit_code, 0) << c.args[0];
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace quill
