// Music streams on OpenAL (the null device really plays): creation, the shared timer's
// refills, pausing, running dry, draining a piece that does not loop, and stopping.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "media/media.h"
#include "music_files.h"
#include "platform/openal.h"
#include "support/files.h"

namespace {

using namespace mediatest;
using StreamPtr = std::shared_ptr<TOpenALAudioStream>;

class MusicStream : public ::testing::Test {
protected:
  void SetUp() override {
    AudioStreamModuleInit();
    if (!SetAudioDriver("OpenAL")) GTEST_SKIP() << "no OpenAL device";
    dir_ = testsupport::ScratchDir("stream");
    wav_ = dir_ + "/music.wav";
    testsupport::WriteFileBytes(wav_, Wav(PcmFormat(2, 44100, 16), Pattern(3 * 8192)));
  }
  void TearDown() override {
    for (auto& weak : made_)
      if (auto stream = weak.lock()) stream->Stop();
  }
  StreamPtr Make(const TMusicPtr& music, int loop = 1) {
    auto stream = std::dynamic_pointer_cast<TOpenALAudioStream>(CreateAudioStream(music, loop, 1));
    made_.push_back(stream);
    return stream;
  }
  StreamPtr Make(const std::string& path, int loop = 1, int flag = 1) {
    auto stream = std::dynamic_pointer_cast<TOpenALAudioStream>(CreateAudioStream(path, loop, flag));
    made_.push_back(stream);
    return stream;
  }
  static void Tick(std::shared_ptr<void> source = TAudioStream::Timer, int id = EVENT_TIMERTICK) {
    PostEvent(id, 1, 0, 0, std::move(source));
    FlushEvents();
  }
  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  // Ticks every 10 ms until the condition holds or `ms` pass.
  template <class F>
  static bool TickUntil(F done, int ms = 3000) {
    for (int waited = 0; waited < ms; waited += 10) {
      Tick();
      if (done()) return true;
      Sleep(10);
    }
    return false;
  }
  std::string dir_, wav_;
  std::vector<std::weak_ptr<TOpenALAudioStream>> made_;
  std::vector<std::string> log_;
};

TEST_F(MusicStream, NullWhenTheMusicCannotBeOpenedOrTheDriverPlaysNoStreams) {
  testsupport::WriteFileBytes(dir_ + "/notes.txt", "not music");
  EXPECT_FALSE(CreateAudioStream(dir_ + "/missing.ogg", 1, 1));
  EXPECT_FALSE(CreateAudioStream(dir_ + "/notes.txt", 1, 1));
  EXPECT_FALSE(CreateAudioStream(TMusicPtr(), 1, 1));
  ASSERT_TRUE(SetAudioDriver("Null"));
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  EXPECT_FALSE(CreateAudioStream(wav_, 1, 1));
  EXPECT_FALSE(CreateAudioStream(music, 1, 1));
  EXPECT_EQ(music->fills, 0);
  ASSERT_TRUE(SetAudioDriver("OpenAL"));
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

    StopChannel(stream);
    EXPECT_FALSE(stream->Playing());
    EXPECT_EQ(stream->_source, 0u);
    EXPECT_FALSE(stream->Music);
    // Every later operation does nothing.
    StopChannel(stream);
    ResumeChannel(stream);
    stream->SetVolume(0.5f);
    stream->SetPan(1);
    stream->SetRate(2);
    Tick();
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
  auto heard = [&] {
    std::vector<std::string> names;
    for (const std::string& n : log_)
      if (names.empty() || names.back() != n) names.push_back(n);
    log_.clear();
    return names;
  };
  log_.clear();
  Tick();
  EXPECT_EQ(heard(), (std::vector<std::string>{"a", "b"}));
  // Other timers' ticks and other events from the shared timer refill nothing.
  Tick(CreateTimer(60));
  Tick(TAudioStream::Timer, EVENT_KEYDOWN);
  Tick(nullptr);
  EXPECT_EQ(heard(), std::vector<std::string>{});
  // Dropped without being stopped, the first stream plays on.
  ASSERT_TRUE(first.lock()->Playing());
  Tick();
  EXPECT_EQ(heard(), (std::vector<std::string>{"a", "b"}));
  ASSERT_TRUE(first.lock());
  first.lock()->Stop();
  EXPECT_FALSE(first.lock());  // its hook held it: stopped, it goes
  Tick();
  EXPECT_EQ(heard(), std::vector<std::string>{"b"});
}

TEST_F(MusicStream, APieceThatDoesNotLoopIsQueuedOnceThenStopsItself) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_, 3 * 8192);
  StreamPtr kept = Make(music, 0);
  ASSERT_TRUE(kept);
  EXPECT_EQ(music->fills, 3);
  EXPECT_EQ(music->PlayStatus, 0);
  EXPECT_TRUE(TickUntil([&] { return kept->_source == 0; }));
  EXPECT_FALSE(kept->Playing());
  EXPECT_EQ(music->fills, 3);
  EXPECT_EQ(music->frees, 0);

  StreamPtr opened = Make(wav_, 0);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(TickUntil([&] { return opened->_source == 0; }));
  EXPECT_FALSE(opened->Music);
  ResumeChannel(opened);
  EXPECT_FALSE(opened->Playing());
}

TEST_F(MusicStream, PauseHoldsThePieceWhereItStandsUntilResumed) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  StreamPtr stream = Make(music);
  ASSERT_TRUE(stream);
  PauseChannel(stream);  // as the music selection does when music is off
  EXPECT_FALSE(stream->Playing());
  EXPECT_EQ(stream->paused, 1);
  for (int i = 0; i < 15; ++i) {
    Tick();
    Sleep(10);
  }
  EXPECT_EQ(music->fills, 16);  // nothing read ahead while paused
  PauseChannel(stream);
  EXPECT_EQ(stream->paused, 1);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(stream->paused, 0);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  EXPECT_TRUE(TickUntil([&] { return music->fills > 16; }));
  EXPECT_TRUE(stream->Playing());
}

TEST_F(MusicStream, AStreamThatRanDryRestartsOnTheNextTick) {
  auto music = std::make_shared<ScriptedMusic>("m", &log_);
  StreamPtr stream = Make(music);
  ASSERT_TRUE(stream);
  Sleep(900);  // longer than the 16 queued buffers last
  EXPECT_FALSE(stream->Playing());
  Tick();
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(music->fills, 32);
  // Paused while dry, it is refilled and restarted when resumed.
  Sleep(900);
  PauseChannel(stream);
  ResumeChannel(stream);
  EXPECT_TRUE(stream->Playing());
  EXPECT_EQ(music->fills, 48);
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
