// The WAV chunk parser: the formats it takes, the chunks it skips and the files it refuses.
#include <gtest/gtest.h>

#include "audio_wav.h"
#include "platform/audio/sound_data.h"

namespace {

struct FormatCase {
  int channels, bits, rate;
};

class WavFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(WavFormats, ParseToTheSameSamples) {
  const FormatCase& c = GetParam();
  std::vector<uint8_t> samples;
  for (int i = 0; i < 12 * c.channels * c.bits / 8; ++i) samples.push_back(static_cast<uint8_t>(i * 7));
  std::vector<uint8_t> file = PcmWav(c.channels, c.rate, c.bits, samples);
  TSoundData sound;
  std::string error;
  ASSERT_TRUE(ParseWav(file.data(), file.size(), sound, &error)) << error;
  EXPECT_EQ(sound.channels, c.channels);
  EXPECT_EQ(sound.bits, c.bits);
  EXPECT_EQ(sound.rate, c.rate);
  EXPECT_EQ(sound.pcm, samples);
  EXPECT_EQ(sound.Frames(), 12u);
}

INSTANTIATE_TEST_SUITE_P(PcmKinds, WavFormats,
                         testing::Values(FormatCase{1, 8, 11025}, FormatCase{2, 8, 22050},
                                         FormatCase{1, 16, 44100}, FormatCase{2, 16, 48000}));

TEST(WavChunks, OtherChunksAndOddPaddingAreSkipped) {
  std::vector<uint8_t> samples{1, 2, 3, 4};
  std::vector<uint8_t> file = RiffFile({{"LIST", {9, 9, 9}},  // odd length: one pad byte
                                        {"fmt ", FmtBody(1, 1, 8000, 16)},
                                        {"fact", {0, 0, 0, 0}},
                                        {"data", samples}});
  TSoundData sound;
  ASSERT_TRUE(ParseWav(file.data(), file.size(), sound));
  EXPECT_EQ(sound.pcm, samples);
}

TEST(WavChunks, DataBeforeFormatIsFound) {
  std::vector<uint8_t> samples{10, 20};
  std::vector<uint8_t> file = RiffFile({{"data", samples}, {"fmt ", FmtBody(1, 1, 8000, 8)}});
  TSoundData sound;
  ASSERT_TRUE(ParseWav(file.data(), file.size(), sound));
  EXPECT_EQ(sound.pcm, samples);
}

TEST(WavChunks, DataClaimingMoreThanTheFileIsCutToWholeFrames) {
  // Seven bytes of 16-bit stereo are one whole frame and three bytes of the next.
  std::vector<uint8_t> samples{1, 2, 3, 4, 5, 6, 7};
  TWavChunk data{"data", samples, 100000};
  std::vector<uint8_t> file = RiffFile({{"fmt ", FmtBody(1, 2, 44100, 16)}, data});
  file.pop_back();  // no pad byte after a cut chunk
  TSoundData sound;
  ASSERT_TRUE(ParseWav(file.data(), file.size(), sound));
  EXPECT_EQ(sound.pcm, (std::vector<uint8_t>{1, 2, 3, 4}));
}

struct BadCase {
  const char* what;
  std::vector<uint8_t> file;
};

std::vector<BadCase> BadFiles() {
  std::vector<uint8_t> s{0, 0, 0, 0};
  std::vector<uint8_t> shortFmt = FmtBody(1, 1, 8000, 8);
  shortFmt.resize(10);
  return {
      {"empty", {}},
      {"not RIFF", std::vector<uint8_t>{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"not WAVE", RiffFile({{"fmt ", FmtBody(1, 1, 8000, 8)}, {"data", s}}, "AVI ")},
      {"no fmt", RiffFile({{"data", s}})},
      {"no data", RiffFile({{"fmt ", FmtBody(1, 1, 8000, 8)}})},
      {"fmt too short", RiffFile({{"fmt ", shortFmt}, {"data", s}})},
      {"float samples", RiffFile({{"fmt ", FmtBody(3, 1, 8000, 32)}, {"data", s}})},
      {"24 bit", RiffFile({{"fmt ", FmtBody(1, 1, 8000, 24)}, {"data", s}})},
      {"three channels", RiffFile({{"fmt ", FmtBody(1, 3, 8000, 8)}, {"data", s}})},
      {"rate 0", RiffFile({{"fmt ", FmtBody(1, 1, 0, 8)}, {"data", s}})},
  };
}

TEST(WavErrors, RefusedWithAReason) {
  for (const BadCase& c : BadFiles()) {
    TSoundData sound;
    std::string error;
    EXPECT_FALSE(ParseWav(c.file.data(), c.file.size(), sound, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

}  // namespace
