// Sounds and channels on the silent driver and on OpenAL (OpenAL Soft's null backend in tests).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>

#include "../temp_dir.h"
#include "audio_wav.h"
#include "platform/audio/audio.h"
#include "platform/audio/openal/sources.h"
#include "platform/files/files.h"
#include "platform/system/internal.h"
#include "support/sounds.h"

namespace {

// Files of the tests live in one folder, removed when the tests end.
std::string TempPath(const std::string& name) {
  static const TempDir dir;
  return dir / name;
}

// A 16-bit mono sine of the given length.
std::string ToneWav(const std::string& name, int frames) {
  std::vector<uint8_t> samples;
  for (int i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(8000 * std::sin(i * 0.1));
    PutU16(samples, static_cast<uint16_t>(v));
  }
  std::string path = TempPath(name);
  WriteFileBytes(path, PcmWav(1, 22050, 16, samples));
  return path;
}

// A stereo Ogg Vorbis file of the given length.
std::string ToneOgg(const std::string& name, int frames, int rate) {
  std::string path = TempPath(name);
  const std::string bytes = testsupport::OggVorbis(2, rate, frames);
  WriteFileBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  return path;
}

bool WaitFor(const std::function<bool()>& condition) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST(LoadSound, ReadsWavAndOggWithTheLoopFlag) {
  TSoundPtr wav = LoadSound(ToneWav("load.wav", 300), 1);
  ASSERT_TRUE(wav);
  EXPECT_TRUE(wav->loop);
  EXPECT_EQ(wav->channels, 1);
  EXPECT_EQ(wav->bits, 16);
  EXPECT_EQ(wav->rate, 22050);
  EXPECT_EQ(wav->sampleCount, 300u);

  TSoundPtr ogg = LoadSound(ToneOgg("load.ogg", 4410, 44100));
  ASSERT_TRUE(ogg);
  EXPECT_FALSE(ogg->loop);
  EXPECT_EQ(ogg->channels, 2);
  EXPECT_EQ(ogg->bits, 16);
  EXPECT_EQ(ogg->rate, 44100);
  EXPECT_EQ(ogg->sampleCount, 4410u);
}

TEST(LoadSound, MissingOrUnreadableFilesGiveNull) {
  EXPECT_FALSE(LoadSound(TempPath("does-not-exist.wav")));
  std::string junk = TempPath("junk.wav");
  WriteFileBytes(junk, {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd'});
  EXPECT_FALSE(LoadSound(junk));
  EXPECT_FALSE(LoadSound(ExtractDir(junk)));  // a folder, as an empty table line names
}

class SilentDriver : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(SetAudioDriver("Null")); }
};

TEST_F(SilentDriver, ChannelsTakeEveryCallAndPlayNothing) {
  EXPECT_EQ(AudioDriverName(), "Null");
  TSoundPtr sound = LoadSound(ToneWav("silent.wav", 100));
  ASSERT_TRUE(sound);
  long before = SoundsPlayed();
  TChannelPtr first = PlaySound(sound);
  TChannelPtr second = PlaySound(sound);
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_NE(first, second);  // effects overlap, each on a channel of its own
  EXPECT_EQ(first->Kind(), "Null");
  TChannelPtr own = AllocChannel();
  EXPECT_EQ(PlaySound(sound, own), own);
  EXPECT_EQ(SoundsPlayed(), before + 3);
  SetChannelVolume(own, 0.5f);
  PauseChannel(own);
  ResumeChannel(own);
  EXPECT_FALSE(ChannelPlaying(own));
  StopChannel(own);
}

TEST_F(SilentDriver, NullSoundsAndNullChannelsAreIgnored) {
  long before = SoundsPlayed();
  EXPECT_FALSE(PlaySound(nullptr));
  EXPECT_EQ(SoundsPlayed(), before);
  StopChannel(nullptr);
  PauseChannel(nullptr);
  ResumeChannel(nullptr);
  SetChannelVolume(nullptr, 1.0f);
  EXPECT_FALSE(ChannelPlaying(nullptr));
}

TEST(AudioDrivers, UnknownNamesLeaveTheDriverInPlace) {
  ASSERT_TRUE(SetAudioDriver("null"));
  EXPECT_FALSE(SetAudioDriver("NoSuchDriver"));
  EXPECT_EQ(AudioDriverName(), "Null");
}

TEST(AudioCapture, RendersWhatOpenALPlaysOnlyWhenAsked) {
  ASSERT_TRUE(SetAudioDriver("Null"));
  EXPECT_EQ(CaptureAudio(100), std::vector<float>(200, 0.0f));  // no capturing driver
  if (!StartAudioCapture(22050)) GTEST_SKIP() << "OpenAL has no loopback device";
  EXPECT_EQ(AudioDriverName(), "OpenAL");
  EXPECT_TRUE(SetAudioDriver("OpenAL"));  // keeps the capturing driver
  TChannelPtr channel = PlaySound(LoadSound(ToneWav("capture.wav", 2000)));
  EXPECT_TRUE(ChannelPlaying(channel));
  const std::vector<float> heard = CaptureAudio(2100);
  EXPECT_FALSE(ChannelPlaying(channel));
  // Every frame of the mono sound, alike on both sides and in one proportion to the samples
  // (8000 sin(i / 10)), then silence.
  auto sample = [](int i) { return i < 2000 ? static_cast<int16_t>(8000 * std::sin(i * 0.1)) : 0; };
  const float gain = heard[2 * 16] / sample(16);
  EXPECT_GT(gain, 0.5f / 32768);
  for (int i = 0; i < 2100; ++i) {
    ASSERT_NEAR(heard[2 * i], sample(i) * gain, 1e-6) << i;
    ASSERT_EQ(heard[2 * i + 1], heard[2 * i]) << i;
  }
  ASSERT_TRUE(SetAudioDriver("Null"));
  EXPECT_EQ(CaptureAudio(10), std::vector<float>(20, 0.0f));
}

class OpenALDriver : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(EnableOpenALAudio());
    ASSERT_TRUE(SetAudioDriver("openal")) << "OpenAL Soft's null backend should open";
  }
  void TearDown() override { SetAudioDriver("Null"); }
};

TEST_F(OpenALDriver, PlaysPausesResumesAndStops) {
  EXPECT_EQ(AudioDriverName(), "OpenAL");
  TSoundPtr sound = LoadSound(ToneWav("al.wav", 2000), 1);
  TChannelPtr channel = AllocChannel();
  EXPECT_EQ(channel->Kind(), "OpenAL");
  EXPECT_EQ(PlaySound(sound, channel), channel);
  EXPECT_TRUE(ChannelPlaying(channel));
  PauseChannel(channel);
  EXPECT_FALSE(ChannelPlaying(channel));
  ResumeChannel(channel);
  EXPECT_TRUE(ChannelPlaying(channel));
  channel->SetPan(-1.0f);
  channel->SetRate(1.5f);
  StopChannel(channel);
  EXPECT_FALSE(ChannelPlaying(channel));
  // A stopped channel plays again.
  PlaySound(sound, channel);
  EXPECT_TRUE(ChannelPlaying(channel));
  // Selecting the driver in use leaves it running.
  EXPECT_TRUE(SetAudioDriver("OpenAL"));
  EXPECT_TRUE(ChannelPlaying(channel));
}

TEST_F(OpenALDriver, LoopingSoundsPlayOnAndShortOnesEnd) {
  TSoundPtr once = LoadSound(ToneWav("once.wav", 220));  // 10 ms
  TSoundPtr looped = LoadSound(ToneWav("looped.wav", 220), 1);
  TChannelPtr a = PlaySound(once);
  TChannelPtr b = PlaySound(looped);
  EXPECT_TRUE(WaitFor([&] { return !ChannelPlaying(a); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_TRUE(ChannelPlaying(b));
}

TEST_F(OpenALDriver, FinishedEffectsGiveTheirSourcesBack) {
  // 0.25 s: long enough to outlast the burst of calls on a loaded machine.
  TSoundPtr sound = LoadSound(ToneWav("burst.wav", 5512));
  // More effects than the source pool holds, twice: the second burst plays only when the
  // first one's sources came back.
  for (int round = 0; round < 2; ++round) {
    std::vector<TChannelPtr> burst;
    for (int i = 0; i < 100; ++i) burst.push_back(PlaySound(sound));
    int playing = 0;
    for (const TChannelPtr& c : burst) playing += ChannelPlaying(c) ? 1 : 0;
    EXPECT_GT(playing, 90) << "round " << round;
    EXPECT_TRUE(WaitFor([&] {
      for (const TChannelPtr& c : burst) {
        if (ChannelPlaying(c)) return false;
      }
      return true;
    }));
  }
}

TEST_F(OpenALDriver, ChannelsOfAClosedDeviceDoNothing) {
  TSoundPtr sound = LoadSound(ToneWav("closed.wav", 2000), 1);
  TChannelPtr channel = PlaySound(sound);
  ASSERT_TRUE(ChannelPlaying(channel));
  RunShutdownCallbacks();  // what End does
  EXPECT_EQ(AudioDriverName(), "Null");
  EXPECT_FALSE(ChannelPlaying(channel));
  PauseChannel(channel);
  ResumeChannel(channel);
  StopChannel(channel);
  // The silent driver now plays the same sound without complaint.
  EXPECT_TRUE(PlaySound(sound));
}

TEST_F(OpenALDriver, StreamSourcesPlayTheirQueueAndHandBackProcessedBuffers) {
  ASSERT_TRUE(ALReady());
  uint32_t source = ALGenSource();
  ASSERT_NE(source, 0u);
  uint32_t buffers[2];
  ALGenBuffers(2, buffers);
  std::vector<int16_t> silence(2 * 441);  // 10 ms of stereo
  for (uint32_t b : buffers) {
    ALBufferPcm(b, 2, 16, silence.data(), static_cast<int>(silence.size() * 2), 44100);
  }
  ALSetRelative(source, true);
  ALSetRolloff(source, 0.0f);
  ALQueueBuffers(source, 2, buffers);
  EXPECT_EQ(ALSourceState(source), AL_STATE_INITIAL);
  ALPlay(source);
  EXPECT_EQ(ALSourceState(source), AL_STATE_PLAYING);
  EXPECT_TRUE(WaitFor([&] { return ALSourceState(source) == AL_STATE_STOPPED; }));
  EXPECT_EQ(ALBuffersProcessed(source), 2);
  EXPECT_EQ(ALBuffersQueued(source), 2);
  uint32_t back[2] = {0, 0};
  ALUnqueueBuffers(source, 2, back);
  EXPECT_EQ(back[0], buffers[0]);
  EXPECT_EQ(back[1], buffers[1]);
  ALDeleteSource(source);
  ALDeleteBuffers(2, buffers);
}

TEST_F(SilentDriver, StreamSourcesAreNotHadWithoutOpenAL) {
  EXPECT_FALSE(ALReady());
  EXPECT_EQ(ALGenSource(), 0u);
  EXPECT_EQ(ALSourceState(1), 0);
  EXPECT_EQ(ALBuffersProcessed(1), 0);
}

}  // namespace
