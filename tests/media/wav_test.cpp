// The WAV reader: which headers it takes, and the bytes its fills deliver.
#include <gtest/gtest.h>
#include "media/media.h"
#include "music_files.h"
#include "support/files.h"

namespace {

using namespace mediatest;

class WavReader : public ::testing::Test {
protected:
  void SetUp() override { dir_ = testsupport::ScratchDir("wav"); }
  TMusicPtr Open(const std::string& bytes) {
    const std::string path = dir_ + "/music" + std::to_string(files_++) + ".wav";
    testsupport::WriteFileBytes(path, bytes);
    return Orvane_Loader_wav(path);
  }
  // `count` fills of `length` bytes, concatenated.
  static std::string Fill(TMusic& music, int length, int count = 1) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      std::string buffer(length, '\x7f');
      music.FillBuffer(reinterpret_cast<uint8_t*>(buffer.data()), length);
      out += buffer;
    }
    return out;
  }
  std::string dir_;
  int files_ = 0;
};

TEST_F(WavReader, RefusesAnythingButAPcmWave) {
  const std::string fmt = PcmFormat(2, 44100, 16);
  const std::string data = Pattern(64);
  const std::string good = Wav(fmt, data);
  auto replaced = [&](size_t at, const std::string& with) { return std::string(good).replace(at, with.size(), with); };
  const struct {
    const char* what;
    std::string bytes;
  } refused[] = {
      {"Ogg", "OggS" + good.substr(4)},
      {"lower-case tag", replaced(0, "riff")},
      {"big-endian form", replaced(0, "RIFX")},
      {"not WAVE", replaced(8, "AVI ")},
      {"chunk before fmt", "RIFF" + U32(0) + "WAVE" + "JUNK" + U32(4) + "abcd" + "fmt " + U32(16) + fmt},
      {"float samples", Wav(PcmFormat(2, 44100, 16, 3), data)},
      {"extensible", Wav(PcmFormat(2, 44100, 16, 65534), data)},
      {"24-bit", Wav(PcmFormat(2, 44100, 24), data)},
      {"4-bit", Wav(PcmFormat(1, 44100, 4), data)},
      {"3 channels", Wav(PcmFormat(3, 44100, 16), data)},
      {"0 channels", Wav(PcmFormat(0, 44100, 16), data)},
      {"rate 0", Wav(PcmFormat(2, 0, 16), data)},
      {"rate above 192000", Wav(PcmFormat(2, 192001, 16), data)},
      {"negative rate", Wav(PcmFormat(2, -44100, 16), data)},
      {"short format chunk", "RIFF" + U32(0) + "WAVE" + "fmt " + U32(14) + fmt.substr(0, 14) + "data" + U32(64) + data},
      {"empty", ""},
      {"text", "RIFF is a container format"},
  };
  for (const auto& r : refused) EXPECT_FALSE(Open(r.bytes)) << r.what;
  EXPECT_FALSE(Orvane_Loader_wav(dir_ + "/missing.wav"));
}

TEST_F(WavReader, FormatRateAndDataOfAcceptedFiles) {
  const std::string data = Pattern(1000);
  const std::string fmt = PcmFormat(2, 44100, 16);
  const std::string head = "RIFF" + U32(0) + "WAVE" + "fmt ";
  const struct {
    const char* what;
    std::string bytes;
    int format, rate, size;
  } accepted[] = {
      {"8-bit mono", Wav(PcmFormat(1, 8000, 8), data), 200, 8000, 1000},
      {"16-bit mono", Wav(PcmFormat(1, 22050, 16), data), 201, 22050, 1000},
      {"8-bit stereo", Wav(PcmFormat(2, 11025, 8), data), 202, 11025, 1000},
      {"16-bit stereo", Wav(fmt, data), 203, 44100, 1000},
      {"192000 Hz", Wav(PcmFormat(2, 192000, 16), data), 203, 192000, 1000},
      {"18-byte format chunk", Wav(fmt + U16(0), data), 203, 44100, 1000},
      {"fact and LIST before data",
       Wav(fmt, data, "fact" + U32(4) + "abcd" + "LIST" + U32(2) + "xy"), 203, 44100, 1000},
      {"odd chunk padded", Wav(fmt, data, "note" + U32(3) + "abc" + '\0'), 203, 44100, 1000},
      {"odd chunk without its pad byte", Wav(fmt, data, "note" + U32(3) + "abc"), 203, 44100, 1000},
      {"odd format chunk padded", head + U32(17) + fmt + "x" + '\0' + "data" + U32(1000) + data,
       203, 44100, 1000},
      {"odd format chunk without its pad byte",
       head + U32(17) + fmt + "x" + "data" + U32(1000) + data, 203, 44100, 1000},
      {"part of a frame at the end", Wav(fmt, data + "xyz"), 203, 44100, 1000},
      {"no data chunk", head + U32(16) + fmt, 203, 44100, 0},
      {"data cut short", Wav(fmt, data).substr(0, 44 + 600), 203, 44100, 600},
      {"huge chunk", Wav(fmt, data, "junk" + U32(0xFFFFFFF0u)), 203, 44100, 0},
  };
  for (const auto& a : accepted) {
    SCOPED_TRACE(a.what);
    TMusicPtr music = Open(a.bytes);
    ASSERT_TRUE(music);
    EXPECT_EQ(music->Geti(4), a.format);
    EXPECT_EQ(music->Geti(5), a.rate);
    EXPECT_EQ(music->Geti(1), a.size);
    EXPECT_EQ(music->Geti(2), 0);
    EXPECT_EQ(music->Geti(3), 0);
    EXPECT_EQ(music->Geti(7), 1);
    // Fills start at the first byte of the data.
    if (a.size > 0) {
      EXPECT_EQ(Fill(*music, 10), data.substr(0, 10));
    }
  }
}

TEST_F(WavReader, LoopingFillsGoOnFromTheLoopPointInTheSameBuffer) {
  const std::string data = Pattern(10000);
  TMusicPtr music = Open(Wav(PcmFormat(2, 44100, 16), data));
  ASSERT_TRUE(music);
  EXPECT_EQ(Fill(*music, 8192), data.substr(0, 8192));
  EXPECT_EQ(music->Geti(2), 8192);
  // The last 1808 bytes, then the data again from its first byte.
  EXPECT_EQ(Fill(*music, 8192), data.substr(8192) + data.substr(0, 8192 - 1808));
  EXPECT_EQ(music->Geti(2), 8192 - 1808);
  EXPECT_EQ(Fill(*music, 8192, 3), (data + data + data + data).substr(8192 - 1808, 3 * 8192));
  EXPECT_EQ(Fill(*music, 0), std::string());
  // A piece shorter than the buffer is repeated within it.
  TMusicPtr tiny = Open(Wav(PcmFormat(1, 44100, 8), data.substr(0, 3)));
  ASSERT_TRUE(tiny);
  EXPECT_EQ(Fill(*tiny, 10), std::string("\0\1\2\0\1\2\0\1\2\0", 10));
  EXPECT_EQ(tiny->Geti(2), 1);
}

TEST_F(WavReader, WithoutLoopingTheRestIsSilenceAndTheReaderRewinds) {
  const struct {
    const char* what;
    int channels, bits;
    size_t bytes;
    char silence;
  } cases[] = {
      {"exactly one buffer", 2, 16, 8192, '\0'},  // the first fill already reaches the end
      {"16-bit", 2, 16, 1000, '\0'},
      {"8-bit", 1, 8, 1000, '\x80'},  // unsigned samples: silence is their middle
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string data = Pattern(c.bytes);
    TMusicPtr music = Open(Wav(PcmFormat(c.channels, 44100, c.bits), data));
    ASSERT_TRUE(music);
    music->Seti(7, 0);
    music->PlayStatus = 1;
    EXPECT_EQ(Fill(*music, 8192), data + std::string(8192 - c.bytes, c.silence));
    EXPECT_EQ(music->Geti(3), 0);
    EXPECT_EQ(music->Geti(2), 0);
    EXPECT_EQ(Fill(*music, 100), data.substr(0, 100));  // filled again from the loop point
  }
}

TEST_F(WavReader, EmptyDataDeliversSilence) {
  TMusicPtr music = Open("RIFF" + U32(0) + "WAVE" + "fmt " + U32(16) + PcmFormat(2, 44100, 16) + "LIST" + U32(4) + "abcd");
  ASSERT_TRUE(music);
  EXPECT_EQ(Fill(*music, 64, 2), std::string(128, '\0'));
  music->Seti(7, 0);
  music->PlayStatus = 1;
  Fill(*music, 64);
  EXPECT_EQ(music->Geti(3), 0);
}

}  // namespace
