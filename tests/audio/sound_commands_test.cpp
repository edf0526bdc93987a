// The script's sound commands on the real engine with the headless platform: which channel a
// name plays on, the switches and categories, music requests, fades and the deferred start, the
// voice's records, its end wait and the click that stops it.
#include "audio/sound_commands.h"

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "text/page_history.h"
#include "tests/audio/sound_fixture.h"
#include "tests/engine/script_fixture.h"

namespace quill {
namespace {

using test::EffectMember;
using test::MusicMember;
using test::ToneSound;
using test::VoiceMember;

class SoundCommandsTest : public ::testing::Test {
 protected:
  // Voices in mg_ogg1 (and a male voice in mg_ogg2), one-shot effects in mg_se0, loops in
  // mg_se2, three music tracks.
  void SetUp() override {
    test::FixtureGame& g = f_.game();
    g.Resource("mg_ogg1.qlm", "V001", VoiceMember(0.5));
    g.Resource("mg_ogg1.qlm", "V001X", VoiceMember(0.5, 400));
    g.Resource("mg_ogg1.qlm", "BOTH", VoiceMember(0.5));
    g.Resource("mg_ogg2.qlm", "MALE", VoiceMember(0.5));
    g.Resource("mg_se0.qlm", "BOTH", EffectMember(0.3));
    g.Resource("mg_se0.qlm", "SE01", EffectMember(0.3));
    g.Resource("mg_se0.qlm", "SEH2A", EffectMember(0.3));
    g.Resource("mg_se0.qlm", "SEH9A", EffectMember(0.3));
    g.Resource("mg_se2.qlm", "LOOP1", EffectMember(0.4, 700));
    g.Resource("mg_se2.qlm", "LOOP2", EffectMember(0.4, 900));
    g.Resource("mg_se2.qlm", "SEH4ABCD2XB", EffectMember(0.4));
    for (const char* track : {"M01", "M03", "M05"}) {
      g.Resource("mg_bgm.qlm", track, MusicMember(ToneSound(1, 11025, 2.0, 220), 11025));
    }
  }
  Engine& Start(const std::string& main = "\\\n") {
    Engine& e = f_.StartMain(main);
    e.settings().SetInt(SettingId::Vol3, 0);
    return e;
  }
  ChannelStatus Channel(SoundChannel c) { return f_.engine().sound().mixer().Status(c); }
  SoundCommands& commands() { return f_.engine().sound_commands(); }
  int S(int i) { return f_.engine().banks().S(i); }

  test::ScriptFixture f_;
};

TEST_F(SoundCommandsTest, EachNameFindsItsChannel) {
  Engine& e = Start();
  struct Case {
    const char* name;
    int kind;
    SoundChannel channel;
    bool looping;
  } cases[] = {
      {"v001", kSoundVoice, SoundChannel::Voice, false},
      {"SE01", kSoundEffect, SoundChannel::Effect, false},
      {"BOTH", kSoundEffect, SoundChannel::Voice, false},  // the voices are searched first
      {"LOOP1", kSoundLoop, SoundChannel::LoopA, true},
      {"LOOP2", kSoundSecondLoop, SoundChannel::LoopB, true},
      {"SE01", kSoundLoop, SoundChannel::Effect, false},   // a one-shot effect stays one
      {"LOOP1", kSoundEffect, SoundChannel::LoopA, true},  // a loop loops whatever asks
  };
  for (const Case& c : cases) {
    e.sound().StopAllSounds();
    EXPECT_FALSE(e.sound().PlaySound(c.name, c.kind)) << c.name;
    ChannelStatus s = Channel(c.channel);
    EXPECT_TRUE(s.playing) << c.name;
    EXPECT_EQ(s.looping, c.looping) << c.name;
    EXPECT_GT(s.length, 0) << c.name;
  }
  EXPECT_EQ(e.sound().loop_effect(), "LOOP1");
  EXPECT_TRUE(e.sound().PlaySound("NOSUCH", kSoundEffect));
  EXPECT_TRUE(e.sound().SoundExists("se01"));
  EXPECT_FALSE(e.sound().SoundExists("NOSUCH"));
}

TEST_F(SoundCommandsTest, VoiceSwitches) {
  Engine& e = Start();
  e.settings().SetInt(SettingId::CV2, 0);
  e.sound().PlaySound("MALE", kSoundVoice);
  EXPECT_FALSE(Channel(SoundChannel::Voice).playing);
  // With the voices off a voice name that is also an effect plays the effect.
  e.settings().SetInt(SettingId::CV1, 0);
  e.sound().PlaySound("BOTH", kSoundVoice);
  EXPECT_FALSE(Channel(SoundChannel::Voice).playing);
  EXPECT_TRUE(Channel(SoundChannel::Effect).playing);
  e.sound().PlaySound("V001", kSoundVoice);
  EXPECT_FALSE(Channel(SoundChannel::Voice).playing);
}

TEST_F(SoundCommandsTest, NothingStartsInTheBackgroundButTheSample) {
  f_.game().Resource("mg_ogg1.qlm", "SAMPLECV", VoiceMember(0.5));
  f_.Scenario("0 focus out\n");
  Engine& e = Start();
  f_.Frame();
  EXPECT_FALSE(e.platform().WindowActive());
  EXPECT_FALSE(e.sound().PlaySound("SE01", kSoundEffect));  // not a failure
  EXPECT_FALSE(Channel(SoundChannel::Effect).playing);
  e.sound().PlaySound("SAMPLECV", kSoundVoice);
  EXPECT_TRUE(Channel(SoundChannel::Voice).playing);
}

TEST_F(SoundCommandsTest, EffectCategoriesAndLoopVariants) {
  Engine& e = Start();
  e.settings().SetInt(SettingId::SE2, 0);
  commands().SoundEffect("seh2a");
  EXPECT_FALSE(Channel(SoundChannel::Effect).playing);
  commands().SoundEffect("seh9a");
  EXPECT_TRUE(Channel(SoundChannel::Effect).playing);
  e.settings().SetInt(SettingId::SE_LVL1, 1);
  commands().LoopSoundEffect("seh4abcd2xa");
  EXPECT_EQ(Channel(SoundChannel::LoopA).name, "SEH4ABCD2XB");
  // Skip mode with EFX_CUT drops se, never seloop.
  e.sound().StopAllSounds();
  e.skip_mode = true;
  commands().SoundEffect("SE01");
  EXPECT_FALSE(Channel(SoundChannel::Effect).playing);
  commands().LoopSoundEffect("LOOP2,1");
  EXPECT_TRUE(Channel(SoundChannel::LoopB).playing);
}

TEST_F(SoundCommandsTest, SeoffStopsTheLoopsItNames) {
  Engine& e = Start("*seloop LOOP1\n*seloop LOOP2,x\n*seoff 1\n\\\n");
  f_.StepUntilHeld();
  EXPECT_FALSE(Channel(SoundChannel::LoopA).playing);
  EXPECT_TRUE(Channel(SoundChannel::LoopB).playing);
  EXPECT_EQ(e.sound().loop_effect(), "LOOP2");
  commands().StopSoundEffects(0);
  EXPECT_FALSE(Channel(SoundChannel::LoopB).playing);
  EXPECT_EQ(e.sound().loop_effect(), "");
}

TEST_F(SoundCommandsTest, MusicRequests) {
  Engine& e = Start();
  commands().SetMusic(3);
  EXPECT_EQ(Channel(SoundChannel::Music).name, "M03");
  EXPECT_EQ(S(3), 3);
  EXPECT_EQ(S(5), 3);
  f_.Frames(10);
  int64_t position = Channel(SoundChannel::Music).position;
  commands().SetMusic(3);  // a playing track is not restarted
  EXPECT_EQ(Channel(SoundChannel::Music).position, position);
  commands().SetMusic(0);
  EXPECT_EQ(e.sound().music_state(), 0);
  commands().SetMusic(3);
  EXPECT_LT(Channel(SoundChannel::Music).position, position);
  // Music switched off: the request is kept and starts when the switch comes back.
  e.settings().SetInt(SettingId::BGM_ENA, 0);
  commands().SetMusic(5);
  EXPECT_EQ(S(3), 5);
  EXPECT_EQ(S(5), 0);
  EXPECT_EQ(e.sound().music_state(), 0);
  e.settings().SetInt(SettingId::BGM_ENA, 1);
  commands().RestartMusic();
  EXPECT_EQ(S(3), 5);
  EXPECT_EQ(Channel(SoundChannel::Music).name, "M05");
}

TEST_F(SoundCommandsTest, MusicMinus100FadesOutInAbout1Point6Seconds) {
  Engine& e = Start();
  commands().SetMusic(3);
  f_.Frames(5);
  commands().SetMusic(-100);
  EXPECT_EQ(S(3), 0);
  uint32_t from = e.platform().NowMs();
  int last_volume = 1;
  while (e.sound().music_state() != 0 && e.platform().NowMs() - from < 5000) {
    f_.Frame();
    if (e.sound().music_state() != 0) {
      EXPECT_LE(e.sound().music_volume(), last_volume);
      last_volume = e.sound().music_volume();
    }
  }
  uint32_t took = e.platform().NowMs() - from;
  EXPECT_GT(took, 1550u);
  EXPECT_LT(took, 1750u);
  EXPECT_EQ(e.sound().fade_level(), 0);
  commands().SetMusic(3);
  EXPECT_EQ(e.sound().music_volume(), 0);  // full again
  EXPECT_TRUE(Channel(SoundChannel::Music).playing);
}

TEST_F(SoundCommandsTest, MusicWaitsForTheWindowAndStartsTwoTicksAfterIt) {
  f_.Scenario("0 focus out\n1000 focus in\n");
  Engine& e = Start("*music 1\n\\\n");
  f_.Frames(3);
  EXPECT_EQ(S(5), 1);
  EXPECT_EQ(e.sound().music_state(), 0);
  while (e.platform().NowMs() < 1000) f_.Frame();
  uint32_t ticks_at_focus = e.tick_counter;
  while (e.sound().music_state() == 0 && e.platform().NowMs() < 3000) f_.Frame();
  EXPECT_EQ(e.sound().music_state(), 1);
  EXPECT_GE(e.tick_counter - ticks_at_focus, 1u);
  EXPECT_LE(e.tick_counter - ticks_at_focus, 3u);
}

TEST_F(SoundCommandsTest, CvRecordsTheVoiceWithItsVariant) {
  Engine& e = Start();
  e.banks().SetS(6, 1);
  commands().VoiceCommand("V001");
  EXPECT_EQ(Channel(SoundChannel::Voice).name, "V001X");
  EXPECT_EQ(commands().last_voice(), "V001X");
  EXPECT_EQ(e.page_history().current_voices(), "V001X ");
  ASSERT_FALSE(f_.Log().empty());
  EXPECT_EQ(f_.Log()[0], "@V001X");
  // In skip mode nothing plays, but the records are made.
  e.sound().StopVoice();
  e.skip_mode = true;
  commands().VoiceCommand("MALE");
  EXPECT_FALSE(Channel(SoundChannel::Voice).playing);
  EXPECT_EQ(commands().last_voice(), "MALE");
  EXPECT_EQ(e.page_history().current_voices(), "V001X MALE ");
  PageRecord(e);  // the page record takes the list
  EXPECT_EQ(e.page_history().current_voices(), "");
  commands().set_last_voice(std::string(40, 'A'));
  EXPECT_EQ(commands().last_voice().size(), kLastVoiceBytes);
}

TEST_F(SoundCommandsTest, TheVoiceEndWaitIsReleasedByTheTickAfterTheVoice) {
  Engine& e = Start("*cv V001\n*wait_v_end\n*cv BOTH\n\\\n");
  f_.Frame();
  EXPECT_TRUE(e.voice_end_wait);
  EXPECT_TRUE(e.sound().IsVoicePlaying());
  uint32_t ended_at = 0;
  while (e.voice_end_wait && e.platform().NowMs() < 3000) {
    f_.Frame();
    if (!e.sound().IsVoicePlaying() && ended_at == 0) ended_at = e.platform().NowMs();
  }
  EXPECT_FALSE(e.voice_end_wait);
  EXPECT_NEAR(ended_at, 500, 80);
  EXPECT_LE(e.platform().NowMs() - ended_at, 60u);
  f_.Frame();
  EXPECT_EQ(commands().last_voice(), "BOTH");
}

TEST_F(SoundCommandsTest, AClickStopsTheVoiceUnlessCvThrough) {
  for (int through : {0, 1}) {
    test::ScriptFixture f;
    f.game().Resource("mg_ogg1.qlm", "V001", VoiceMember(2.0));
    Engine& e = f.StartMain("*cv V001\n「一」\n\\\n「二」\n\\\n");
    e.settings().SetInt(SettingId::CV_THROUGH, through);
    f.Frames(30);
    ASSERT_TRUE(e.sound().IsVoicePlaying());
    e.click_debounce = 0;
    e.PBMouseDown(MouseButton::Left, 400, 300);
    e.PBMouseUp(MouseButton::Left, 400, 300);
    EXPECT_EQ(e.sound().IsVoicePlaying(), through == 1) << through;
  }
}

TEST_F(SoundCommandsTest, AutoModeWaitsForTheVoice) {
  Engine& e = Start("*cv V001\n「一」\n\\\n「二」\n\\\n");
  e.banks().SetS(26, 1);  // auto mode's own wait: four ticks for a short page
  uint32_t released = 0;
  bool waited = false;
  while (e.platform().NowMs() < 3000 && released == 0) {
    f_.Frame();
    if (e.wait_kind == kWaitPage) waited = true;
    if (waited && e.wait_kind == kWaitNone) released = e.platform().NowMs();
  }
  EXPECT_GE(released, 500u);  // not before the half-second voice has ended
  EXPECT_LT(released, 900u);
}

}  // namespace
}  // namespace quill
