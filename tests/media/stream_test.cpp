// Music streams on OpenAL, heard through its loopback device: creation, the shared timer's
// refills, pausing, running dry, draining a piece that does not loop, and stopping. A scripted
// source fills each buffer with its fill count, so the recording tells which buffers were
// heard and in which order.
#include <gtest/gtest.h>
#include <numeric>
#include "listening.h"
#include "music_files.h"
#include "platform/audio/openal/sources.h"
#include "support/files.h"

namespace {

using namespace mediatest;

constexpr int kBufferFrames = TOpenALAudioStream::kBufferSize / 4;  // of 16-bit stereo
constexpr int kRingFrames = TOpenALAudioStream::kBufferCount * kBufferFrames;

// Fills 1, 2, ..., n: every buffer heard once, in order.
std::vector<int> FillsUpTo(int n) {
  std::vector<int> fills(n);
  std::iota(fills.begin(), fills.end(), 1);
  return fills;
}

class MusicStream : public Listening {
protected:
  void SetUp() override {
    Listening::SetUp();
    dir_ = testsupport::ScratchDir("stream");
    wav_ = dir_ + "/music.wav";
    testsupport::WriteFileBytes(wav_, Wav(PcmFormat(2, 44100, 16), Pattern(3 * 8192)));
  }
  std::string dir_, wav_;
  std::vector<std::string> log_;
};

TEST_F(MusicStream, NullWhenTheMusicCannotBeOpenedOrTheDriverPlaysNoStreams) {
  testsupport::WriteFileBytes(dir_ + "/notes.txt", "not music");
  EXPECT_FALSE(CreateAudioStream(dir_ + "/missing.ogg", 1, 1));
  EXPECT_FALSE(CreateAudioStream(dir_ + "/notes.txt", 1, 1));
  EXPECT_FALSE(CreateAudioStream(TMusicPtr(), 1, 1));
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  for (int bad : {0, -44100}) {  // no rate to play at
    music->Seti(5, bad);
    EXPECT_FALSE(CreateAudioStream(music, 1, 1)) << bad;
  }
  music->Seti(5, 44100);
  ASSERT_TRUE(SetAudioDriver("Null"));
  EXPECT_FALSE(CreateAudioStream(wav_, 1, 1));
  EXPECT_FALSE(CreateAudioStream(music, 1, 1));
  EXPECT_EQ(music->fills, 0);
}

TEST_F(MusicStream, PlaysAtOnceWhateverTheFlagAndStopsForGood) {
  for (int flag : {0, 1}) {
    SCOPED_TRACE(flag);
    StreamPtr stream = Make(wav_, 1, flag);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Kind(), "OpenAL");
    EXPECT_TRUE(stream->Playing());
    EXPECT_EQ(stream->KeepMusic, 0);
    ASSERT_TRUE(stream->Music);
    EXPECT_EQ(stream->Music->Geti(7), 1);
    EXPECT_EQ(stream->Music->Geti(3), 1);
    heard = {};
    Listen(1000);
    EXPECT_EQ(heard.left[1], 4 + 5 * 256);  // the data's bytes 4 and 5, little-endian

    StopChannel(stream);
    EXPECT_FALSE(stream->Playing());
    EXPECT_EQ(stream->_source, 0u);
    EXPECT_FALSE(stream->Music);
    // Its output stops at once, and every later operation does nothing.
    StopChannel(stream);
    ResumeChannel(stream);
    stream->SetVolume(0.5f);
    stream->SetPan(1);
    stream->SetRate(2);
    heard = {};
    Listen(1000);
    EXPECT_EQ(FillsHeard(heard), std::vector<int>{});
    EXPECT_FALSE(stream->Playing());
  }
}

TEST_F(MusicStream, AdoptedMusicIsFilledAndLeftToItsOwner) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  music->Seti(7, 0);
  StreamPtr stream = Make(music, 1);
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->KeepMusic, 1);
  EXPECT_EQ(music->Geti(7), 1);  // the loop flag is the caller's
  EXPECT_EQ(music->fills, 16);
  EXPECT_EQ(music->PlayStatus, 1);
  StopChannel(stream);
  EXPECT_EQ(music->frees, 0);
  EXPECT_EQ(music.use_count(), 1);
}

TEST_F(MusicStream, EachTickOfTheSharedTimerRefillsEveryLiveStreamOldestFirst) {
  auto a = std::make_shared<ScriptedMusic>("a", &log_);
  auto b = std::make_shared<ScriptedMusic>("b", &log_);
  std::weak_ptr<TOpenALAudioStream> first = Make(a);
  StreamPtr second = Make(b);
  ASSERT_TRUE(first.lock() && second);
  auto polled = [&] {
    std::vector<std::string> names;
    for (const std::string& n : log_)
      if (names.empty() || names.back() != n) names.push_back(n);
    log_.clear();
    return names;
  };
  log_.clear();
  Tick();
  EXPECT_EQ(polled(), (std::vector<std::string>{"a", "b"}));
  // Other timers' ticks and other events from the shared timer refill nothing.
  Tick(CreateTimer(60));
  Tick(TAudioStream::Timer, EVENT_KEYDOWN);
  Tick(nullptr);
  EXPECT_EQ(polled(), std::vector<std::string>{});
  // Dropped without being stopped, the first stream plays on.
  ASSERT_TRUE(first.lock()->Playing());
  Tick();
  EXPECT_EQ(polled(), (std::vector<std::string>{"a", "b"}));
  ASSERT_TRUE(first.lock());
  first.lock()->Stop();
  EXPECT_FALSE(first.lock());  // its hook held it: stopped, it goes
  Tick();
  EXPECT_EQ(polled(), std::vector<std::string>{"b"});
}

TEST_F(MusicStream, APieceThatDoesNotLoopIsQueuedOnceHeardOnceThenStopsItself) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_, 3 * 8192);
  StreamPtr kept = Make(music, 0);
  ASSERT_TRUE(kept);
  EXPECT_EQ(music->fills, 3);
  EXPECT_EQ(music->PlayStatus, 0);
  Listen(3 * kBufferFrames + 2 * kFramesPerTick);
  EXPECT_EQ(kept->_source, 0u);
  EXPECT_FALSE(kept->Playing());
  EXPECT_EQ(FillsHeard(heard), FillsUpTo(3));
  EXPECT_EQ(music->fills, 3);
  EXPECT_EQ(music->frees, 0);

  StreamPtr opened = Make(wav_, 0);
  ASSERT_TRUE(opened);
  Listen(3 * kBufferFrames + 2 * kFramesPerTick);
  EXPECT_EQ(opened->_source, 0u);
  EXPECT_FALSE(opened->Music);
  ResumeChannel(opened);
  EXPECT_FALSE(opened->Playing());
}

TEST_F(MusicStream, PauseHoldsThePieceWhereItStandsUntilResumed) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  StreamPtr stream = Make(music);
  ASSERT_TRUE(stream);
  Listen(3 * kBufferFrames);
  PauseChannel(stream);  // as the music selection does when music is off
  EXPECT_FALSE(stream->Playing());
  EXPECT_EQ(stream->paused, 1);
  const size_t pausedAt = heard.Frames();
  Listen(2 * kRingFrames);
  for (size_t i = pausedAt; i < heard.Frames(); ++i) ASSERT_EQ(heard.left[i], 0) << i;
  EXPECT_EQ(music->fills, 16 + 3);  // nothing read ahead while paused
  PauseChannel(stream);
  EXPECT_EQ(stream->paused, 1);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(stream->paused, 0);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  Listen(2 * kRingFrames);
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(FillsHeard(heard), FillsUpTo(FillsHeard(heard).back()));
  EXPECT_GT(FillsHeard(heard).back(), 32);
}

TEST_F(MusicStream, AStreamThatRanDryRestartsOnTheNextTickWithNothingHeardTwice) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  StreamPtr stream = Make(music);
  ASSERT_TRUE(stream);
  Render(kRingFrames + 1000);  // the program processes no events for longer than the ring lasts
  EXPECT_FALSE(stream->Playing());
  Tick();
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(music->fills, 32);
  Listen(kRingFrames);
  // Paused while dry, it is refilled and restarted when resumed.
  Render(kRingFrames + 1000);
  PauseChannel(stream);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  Listen(kRingFrames);
  const std::vector<int> fills = FillsHeard(heard);
  EXPECT_EQ(fills, FillsUpTo(fills.back()));
  EXPECT_GT(fills.back(), 40);
}

TEST_F(MusicStream, ASourceThatRunsDryDuringARefillReplaysNothing) {
  // The reader is so slow on its 17th fill (the first refill) that the source plays out its
  // whole queue meanwhile. With 2 buffers played before, the refill has more than one to do;
  // a piece of 20 buffers that does not loop ends within the refills after the stall.
  const struct {
    int played, buffers;
  } cases[] = {{0, 0}, {2, 0}, {0, 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.played << " played, " << c.buffers << " buffers");
    heard = {};
    auto music = std::make_shared<ScriptedMusic>("m", &log_, c.buffers * 8192);
    music->onFill = [&](int fill) {
      if (fill == 17) Render(kRingFrames);
    };
    StreamPtr stream = Make(music, c.buffers ? 0 : 1);
    ASSERT_TRUE(stream);
    Render(c.played * kBufferFrames);
    Listen(2 * kRingFrames);
    const std::vector<int> fills = FillsHeard(heard);
    EXPECT_EQ(fills, FillsUpTo(c.buffers ? c.buffers : fills.back()));
    EXPECT_GT(fills.back(), 19);
    EXPECT_EQ(stream->Playing(), c.buffers == 0);
    stream->Stop();
  }
}

TEST_F(MusicStream, NoStreamWhenOpenALHasNoSourceLeft) {
  std::vector<uint32_t> taken;
  while (taken.size() < 4096) {
    uint32_t source = ALGenSource();
    if (!source) break;
    taken.push_back(source);
  }
  ASSERT_LT(taken.size(), 4096u) << "OpenAL never ran out of sources";
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  EXPECT_FALSE(CreateAudioStream(music, 1, 1));
  EXPECT_EQ(music->fills, 0);
  EXPECT_EQ(music.use_count(), 1);  // nothing hooked holds it
  for (uint32_t source : taken) ALDeleteSource(source);
}

}  // namespace
