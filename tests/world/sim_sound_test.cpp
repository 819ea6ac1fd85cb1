// Sound effects and music selection under the sound and music switches.
#include <gtest/gtest.h>
#include <cstdint>
#include "core/game.h"
#include "core/globals.h"
#include "support/files.h"
#include "support/settings.h"
#include "support/sounds.h"

namespace {

struct StopRecorder : TChannel {
  int stops = 0;
  void Stop() override { ++stops; }
};

class SoundTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = testsupport::ScratchDir("sim-sound");
    testsupport::UseQuestSettings(dir_);
    wav_ = dir_ + "/beep.wav";
    testsupport::WriteFileBytes(wav_, testsupport::TinyWav());
    sound = {LoadSound(wav_), nullptr};
    ASSERT_TRUE(sound[0]);
    music = {wav_, dir_ + "/missing.ogg"};
    lastMusic = 0;
  }
  void TearDown() override {
    StopChannel(musicChannel);
    musicChannel.reset();
    sound.clear();
    music.clear();
    SetAudioDriver("Null");
  }
  std::string dir_, wav_;
};

TEST_F(SoundTest, EffectsPlayOnlyWhileSoundIsOn) {
  struct Case {
    int on, n;
    long played;
  } cases[] = {{1, 0, 1}, {0, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, -1, 0}};
  for (const auto& c : cases) {
    settings->sound = static_cast<uint8_t>(c.on);
    long before = SoundsPlayed();
    EXPECT_EQ(PlaySoundEffect(c.n), 0);
    EXPECT_EQ(SoundsPlayed() - before, c.played) << c.on << " " << c.n;
  }
  settings->sound = 1;
  long before = SoundsPlayed();
  PlaySoundEffect(0);
  PlaySoundEffect(0);  // two overlapping copies
  EXPECT_EQ(SoundsPlayed() - before, 2);
}

TEST_F(SoundTest, MusicReplacesTheTrackAndRemembersIt) {
  if (!SetAudioDriver("OpenAL")) GTEST_SKIP() << "no OpenAL device";
  settings->music = 1;
  auto old = std::make_shared<StopRecorder>();
  musicChannel = old;
  PlayMusic(0);
  EXPECT_EQ(old->stops, 1);
  EXPECT_EQ(lastMusic, 0);
  ASSERT_TRUE(musicChannel);
  EXPECT_TRUE(ChannelPlaying(musicChannel));

  // Music off: the number is still recorded and the new track waits, paused.
  settings->music = 0;
  TChannelPtr first = musicChannel;
  PlayMusic(0);
  EXPECT_FALSE(ChannelPlaying(first));
  EXPECT_NE(musicChannel, first);
  EXPECT_FALSE(ChannelPlaying(musicChannel));
  ResumeChannel(musicChannel);
  EXPECT_TRUE(ChannelPlaying(musicChannel));
}

TEST_F(SoundTest, MusicWithoutATrackLeavesAnIdleChannel) {
  settings->music = 1;
  for (int n : {1, 2, -3}) {
    auto old = std::make_shared<StopRecorder>();
    musicChannel = old;
    PlayMusic(n);
    EXPECT_EQ(old->stops, 1) << n;
    EXPECT_EQ(lastMusic, n);
    ASSERT_TRUE(musicChannel) << n;
    EXPECT_NE(musicChannel, old);
    EXPECT_FALSE(ChannelPlaying(musicChannel));
    PauseChannel(musicChannel);
    ResumeChannel(musicChannel);
  }
  musicChannel.reset();
  settings->music = 0;
  PlayMusic(0);  // no channel before: nothing to stop
  EXPECT_TRUE(musicChannel);
}

}  // namespace
