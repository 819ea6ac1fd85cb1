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
      {"3 channels", Wav(PcmFormat(3, 44100, 16), data)},
      {"0 channels", Wav(PcmFormat(0, 44100, 16), data)},
      {"short format chunk", "RIFF" + U32(0) + "WAVE" + "fmt " + U32(14) + fmt.substr(0, 14) + "data" + U32(64) + data},
      {"empty", ""},
      {"text", "RIFF is a container format"},
  };
  for (const auto& r : refused) EXPECT_FALSE(Open(r.bytes)) << r.what;
  EXPECT_FALSE(Orvane_Loader_wav(dir_ + "/missing.wav"));
}

TEST_F(WavReader, FormatRateAndDataSizeOfAcceptedFiles) {
  const std::string data = Pattern(1000);
  const struct {
    const char* what;
    std::string bytes;
    int format, rate, size;
  } accepted[] = {
      {"8-bit mono", Wav(PcmFormat(1, 8000, 8), data), 200, 8000, 1000},
      {"16-bit mono", Wav(PcmFormat(1, 22050, 16), data), 201, 22050, 1000},
      {"8-bit stereo", Wav(PcmFormat(2, 11025, 8), data), 202, 11025, 1000},
      {"16-bit stereo", Wav(PcmFormat(2, 44100, 16), data), 203, 44100, 1000},
      {"18-byte format chunk", Wav(PcmFormat(2, 44100, 16) + U16(0), data), 203, 44100, 1000},
      {"fact and LIST before data", Wav(PcmFormat(2, 44100, 16), data, "fact" + U32(4) + "abcd" + "LIST" + U32(2) + "xy"), 203, 44100, 1000},
      {"odd chunk padded", Wav(PcmFormat(2, 44100, 16), data, "note" + U32(3) + "abc" + '\0'), 203, 44100, 1000},
      {"no data chunk", "RIFF" + U32(0) + "WAVE" + "fmt " + U32(16) + PcmFormat(2, 44100, 16), 203, 44100, 0},
      {"data cut short", Wav(PcmFormat(2, 44100, 16), data).substr(0, 44 + 600), 203, 44100, 600},
      {"huge chunk", Wav(PcmFormat(2, 44100, 16), data, "junk" + U32(0xFFFFFFF0u)), 203, 44100, 0},
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
  }
  // The 18-byte format chunk's extra bytes are skipped: the data starts at its first byte.
  TMusicPtr music = Open(accepted[4].bytes);
  EXPECT_EQ(Fill(*music, 10), data.substr(0, 10));
}

TEST_F(WavReader, LoopingFillsWrapAtTheEndOfTheData) {
  const std::string data = Pattern(10000);
  TMusicPtr music = Open(Wav(PcmFormat(2, 44100, 16), data));
  ASSERT_TRUE(music);
  EXPECT_EQ(Fill(*music, 8192), data.substr(0, 8192));
  EXPECT_EQ(music->Geti(2), 8192);
  // The last 1808 bytes go to the start of the buffer; the rest is silence.
  EXPECT_EQ(Fill(*music, 8192), data.substr(8192) + std::string(8192 - 1808, '\0'));
  EXPECT_EQ(music->Geti(2), 0);
  EXPECT_EQ(Fill(*music, 8192), data.substr(0, 8192));
  EXPECT_EQ(Fill(*music, 0), std::string());
  EXPECT_EQ(music->Geti(2), 8192);
}

TEST_F(WavReader, WithoutLoopingTheEndStopsAndRewinds) {
  const std::string data = Pattern(8192);
  TMusicPtr music = Open(Wav(PcmFormat(2, 44100, 16), data));
  ASSERT_TRUE(music);
  music->Seti(7, 0);
  music->PlayStatus = 1;
  // Exactly one buffer of data: the first fill already reaches the end.
  EXPECT_EQ(Fill(*music, 8192), data);
  EXPECT_EQ(music->Geti(3), 0);
  EXPECT_EQ(music->Geti(2), 0);
  EXPECT_EQ(Fill(*music, 100), data.substr(0, 100));  // filled again from the loop point
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
