// The music stream read from its archive file: play-once and looping ends, short and cut members.
#include "audio/music_stream.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/file_util.h"
#include "tests/audio/sound_fixture.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using test::MusicMember;

// A mono 100 Hz stream of `frames` frames: the ramp 0, 100, 200 … coded exactly by small steps.
WavSound Ramp(int frames) {
  WavSound s{1, 100, {}};
  for (int i = 0; i < frames; ++i) s.samples.push_back(static_cast<int16_t>(i * 8));
  return s;
}

class MusicStreamTest : public ::testing::Test {
 protected:
  // The member at an offset inside a bigger file, as in an archive.
  std::filesystem::path Write(const std::vector<uint8_t>& member) {
    std::vector<uint8_t> file(100 + member.size() + 64, 0xEE);
    std::copy(member.begin(), member.end(), file.begin() + 100);
    std::filesystem::path path = dir_ / "bgm.qlm";
    EXPECT_TRUE(WriteFileAtomic(path, file));
    return path;
  }
  std::vector<int16_t> Decode(MusicStream& s, size_t n, int32_t& play_once) {
    std::vector<int16_t> out(n, 12345);
    s.Decode(out.data(), n, play_once);
    return out;
  }
  test::TempDir dir_;
};

TEST_F(MusicStreamTest, PlayOnceEndsInSilenceAndLoopingGoesOnFromTheLoopStart) {
  WavSound ramp = Ramp(300);
  std::vector<uint8_t> member = MusicMember(ramp, 100);
  std::filesystem::path file = Write(member);
  {
    MusicStream s;
    ASSERT_TRUE(s.Open(file, 100, member.size()));
    EXPECT_EQ(s.bytes_per_second(), 200);
    int32_t play_once = 1;
    std::vector<int16_t> first = Decode(s, 300, play_once);
    EXPECT_EQ(play_once, 1);
    std::vector<int16_t> after = Decode(s, 100, play_once);
    EXPECT_EQ(play_once, 2);
    EXPECT_EQ(after, std::vector<int16_t>(100, 0));
    for (int i = 0; i < 300; i += 50) EXPECT_NEAR(first[static_cast<size_t>(i)], i * 8, 4) << i;
  }
  {
    MusicStream s;
    ASSERT_TRUE(s.Open(file, 100, member.size()));
    int32_t play_once = 0;
    std::vector<int16_t> first = Decode(s, 300, play_once);
    std::vector<int16_t> again = Decode(s, 200, play_once);
    EXPECT_EQ(play_once, 0);
    // From the loop start with its stored running values: the same samples as the first time.
    for (size_t i = 0; i < 200; ++i) EXPECT_EQ(again[i], first[100 + i]) << i;
  }
}

TEST_F(MusicStreamTest, ShortOrCutMembersPlayWhatTheyHoldNeverReadingPastThem) {
  std::vector<uint8_t> member = MusicMember(Ramp(50), 0);
  std::filesystem::path file = Write(member);
  MusicStream s;
  // The index says the member is shorter than its header: it ends where its bytes end.
  ASSERT_TRUE(s.Open(file, 100, 48 + 20));
  int32_t play_once = 1;
  std::vector<int16_t> out = Decode(s, 60, play_once);
  EXPECT_NEAR(out[19], 19 * 8, 4);
  EXPECT_EQ(out[20], 0);
  EXPECT_EQ(out[59], 0);
  EXPECT_EQ(play_once, 2);
  // Looping a region shorter than the request goes round it again and again.
  MusicStream looping;
  ASSERT_TRUE(looping.Open(file, 100, member.size()));
  play_once = 0;
  std::vector<int16_t> twice = Decode(looping, 120, play_once);
  EXPECT_EQ(twice[50], twice[0]);
  EXPECT_EQ(twice[119], twice[19]);
}

TEST_F(MusicStreamTest, RefusesWhatTheRingCannotPlay) {
  std::vector<uint8_t> member = MusicMember(Ramp(50), 0);
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
    int bytes;
  } cases[] = {
      {"no magic", 0, 0, 1},
      {"three channels", 6, 3, 2},
      {"no rate", 8, 0, 4},
      {"a rate above 44,100 Hz", 8, 48000, 4},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> m = member;
    for (int i = 0; i < c.bytes; ++i) m[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
    MusicStream s;
    EXPECT_FALSE(s.Open(Write(m), 100, m.size())) << c.what;
    EXPECT_FALSE(s.is_open());
  }
  MusicStream s;
  EXPECT_FALSE(s.Open(dir_ / "missing.qlm", 0, 100));
  EXPECT_FALSE(s.Open(Write(member), 100, 20));
}

}  // namespace
}  // namespace quill
