// What the listener hears of music files: a looping piece runs on sample for sample across
// its wraps, one that does not loop ends in silence, a pause keeps the place, and every
// sample format is heard at its own pitch for its own length.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "core/game.h"
#include "core/globals.h"
#include "listening.h"
#include "music_files.h"
#include "support/files.h"
#include "support/settings.h"

namespace {

using namespace mediatest;

class Heard : public Listening {
protected:
  void SetUp() override {
    Listening::SetUp();
    dir_ = testsupport::ScratchDir("heard");
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ + "/" + name;
    testsupport::WriteFileBytes(path, bytes);
    return path;
  }
  // A piece of 16-bit stereo at the listener's rate, as a file, and its samples as the
  // listener should hear them (for Ogg Vorbis, as vorbisfile alone decodes them).
  std::string Piece(bool ogg, int frames, std::vector<int16_t>& samples) {
    if (ogg) {
      const std::string path = Write("piece.ogg", OggVorbis(2, kListenRate, frames, 441));
      samples = DecodeOggFile(path);
      return path;
    }
    const std::string pcm = TonePcm(2, kListenRate, 16, 441, frames);
    samples.resize(pcm.size() / 2);
    std::memcpy(samples.data(), pcm.data(), pcm.size());
    return Write("piece.wav", Wav(PcmFormat(2, kListenRate, 16), pcm));
  }
  // The first frame of the recording, from `from` on, that differs from `samples` (stereo,
  // played from `at` on, the frames past their end heard as silence or again from the start);
  // -1 when every frame matches.
  long FirstDifference(const std::vector<int16_t>& samples, bool loop, size_t from = 0,
                       size_t at = 0) {
    const size_t frames = samples.size() / 2;
    for (size_t i = from; i < heard.Frames(); ++i) {
      const size_t k = at + i - from;
      const bool silent = !loop && k >= frames;
      const float left = silent ? 0 : samples[2 * (k % frames)];
      const float right = silent ? 0 : samples[2 * (k % frames) + 1];
      if (heard.left[i] != left || heard.right[i] != right) return static_cast<long>(i);
    }
    return -1;
  }
  std::string dir_;
};

TEST_F(Heard, LoopingPiecesRunOnSampleForSampleAcrossEveryWrapAndOthersEndInSilence) {
  constexpr int kFrames = 10007;  // every wrap falls inside a buffer, each at another place
  for (bool ogg : {false, true}) {
    for (int loop : {1, 0}) {
      SCOPED_TRACE(std::string(ogg ? "Ogg Vorbis" : "WAV") + (loop ? ", looping" : ", once"));
      std::vector<int16_t> samples;
      const std::string path = Piece(ogg, kFrames, samples);
      ASSERT_EQ(samples.size(), 2u * kFrames);
      heard = {};
      StreamPtr stream = Make(path, loop);
      ASSERT_TRUE(stream);
      Listen(4 * kFrames);
      EXPECT_EQ(FirstDifference(samples, loop), -1);
      // A piece that does not loop has stopped itself; a looping one plays on.
      EXPECT_EQ(stream->_source != 0, loop == 1);
      stream->Stop();
    }
  }
}

TEST_F(Heard, APausedPieceIsSilentAndGoesOnWhereItStood) {
  std::vector<int16_t> samples;
  StreamPtr stream = Make(Piece(false, 10007, samples));
  ASSERT_TRUE(stream);
  Listen(5025);  // at a crest of the tone, so that the first frame of silence tells
  PauseChannel(stream);
  Listen(40000);
  ResumeChannel(stream);
  Listen(30000);
  EXPECT_EQ(FirstDifference(samples, true), 5025);
  const std::vector<int16_t> silence(2, 0);
  EXPECT_EQ(FirstDifference(silence, true, 5025), 45025);
  EXPECT_EQ(FirstDifference(samples, true, 45025, 5025), -1);
}

TEST_F(Heard, MusicChosenWhileSwitchedOffWaitsSilentlyAndStartsAtItsFirstSample) {
  testsupport::UseQuestSettings(dir_);
  std::vector<int16_t> samples;
  music = {Piece(false, 10007, samples)};
  settings->music = 0;
  PlayMusic(0);
  Listen(20000);
  ResumeChannel(musicChannel);  // as the options screen does when music is switched on
  Listen(30000);
  StopChannel(musicChannel);
  musicChannel.reset();
  music.clear();
  for (size_t i = 0; i < 20000; ++i) ASSERT_TRUE(heard.left[i] == 0 && heard.right[i] == 0) << i;
  EXPECT_EQ(FirstDifference(samples, true, 20000), -1);
}

// Seconds from the first to the last sample louder than a tenth of full scale, and the
// frequency of the rising zero crossings between them.
struct Tone {
  double seconds = 0, hz = 0;
};

Tone Measure(const std::vector<float>& channel) {
  const float loud = 3277;
  size_t first = 0, last = channel.size();
  while (first < channel.size() && std::fabs(channel[first]) < loud) ++first;
  while (last > first && std::fabs(channel[last - 1]) < loud) --last;
  Tone tone;
  if (last <= first) return tone;
  tone.seconds = static_cast<double>(last - first) / kListenRate;
  double firstCross = -1, lastCross = -1;
  int crossings = 0;
  for (size_t i = first + 1; i < last; ++i) {
    if (channel[i - 1] < 0 && channel[i] >= 0) {
      const double at = i - 1 + channel[i - 1] / (channel[i - 1] - channel[i]);
      if (firstCross < 0) firstCross = at;
      lastCross = at;
      ++crossings;
    }
  }
  if (crossings > 1) tone.hz = (crossings - 1) * kListenRate / (lastCross - firstCross);
  return tone;
}

TEST_F(Heard, EveryFormatIsHeardAtItsOwnPitchForItsOwnLength) {
  const struct {
    bool ogg;
    int channels, bits, rate;
  } formats[] = {
      {false, 1, 8, 22050},  {false, 1, 8, 44100},  {false, 1, 16, 22050}, {false, 1, 16, 44100},
      {false, 2, 8, 22050},  {false, 2, 8, 44100},  {false, 2, 16, 22050}, {false, 2, 16, 44100},
      {true, 1, 16, 22050},  {true, 1, 16, 44100},  {true, 2, 16, 22050},  {true, 2, 16, 44100},
  };
  for (const auto& f : formats) {
    SCOPED_TRACE(std::string(f.ogg ? "Ogg Vorbis " : "WAV ") + std::to_string(f.channels) + " x " +
                 std::to_string(f.bits) + " bits at " + std::to_string(f.rate));
    // Half a second of a 441 Hz tone.
    const int frames = f.rate / 2;
    const std::string path =
        f.ogg ? Write("tone.ogg", OggVorbis(f.channels, f.rate, frames, 441))
              : Write("tone.wav", Wav(PcmFormat(f.channels, f.rate, f.bits),
                                      TonePcm(f.channels, f.rate, f.bits, 441, frames)));
    heard = {};
    StreamPtr stream = Make(path, 0);
    ASSERT_TRUE(stream);
    Listen(kListenRate);
    for (const std::vector<float>* channel : {&heard.left, &heard.right}) {
      const Tone tone = Measure(*channel);
      EXPECT_NEAR(tone.seconds, 0.5, 0.002);
      EXPECT_NEAR(tone.hz, 441, 1);
    }
    EXPECT_EQ(stream->_source, 0u);  // it stopped itself after the last sample
  }
}

}  // namespace
