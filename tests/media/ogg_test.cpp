// The Ogg Vorbis reader: length, format, counted fills, the rewind at the end and damaged or
// unseekable files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "media/media.h"
#include "music_files.h"
#include "support/files.h"

namespace {

using namespace mediatest;

class OggReader : public ::testing::Test {
protected:
  void SetUp() override { dir_ = testsupport::ScratchDir("ogg"); }
  // Opens the file; `decoded` gets what vorbisfile alone decodes of it, as bytes.
  TMusicPtr Open(const std::string& bytes, std::string* decoded = nullptr) {
    const std::string path = dir_ + "/music" + std::to_string(files_++) + ".ogg";
    testsupport::WriteFileBytes(path, bytes);
    if (decoded) {
      const std::vector<int16_t> samples = DecodeOggFile(path);
      decoded->assign(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
    }
    return Orvane_Loader_Ogg(path);
  }
  static std::string Fill(TMusic& music, int length = 8192) {
    std::string buffer(length, '\x7f');
    music.FillBuffer(reinterpret_cast<uint8_t*>(buffer.data()), length);
    return buffer;
  }
  std::string dir_;
  int files_ = 0;
};

TEST_F(OggReader, CountsSampleFramesAndLoopsOnFromTheStartInTheSameBuffer) {
  std::string pcm;
  TMusicPtr music = Open(OggVorbis(2, 44100, 100000), &pcm);
  ASSERT_TRUE(music);
  ASSERT_EQ(pcm.size(), 400000u);
  EXPECT_EQ(music->Geti(1), 100000);
  EXPECT_EQ(music->Geti(4), 203);
  EXPECT_EQ(music->Geti(5), 44100);
  std::string heard;
  for (int i = 1; i <= 48; ++i) heard += Fill(*music);
  EXPECT_EQ(music->Geti(2), 98304);
  // The 49th fill holds the last 1696 frames and then the first 352 again.
  heard += Fill(*music);
  EXPECT_EQ(music->Geti(2), 352);
  heard += Fill(*music);
  EXPECT_EQ(heard, (pcm + pcm).substr(0, heard.size()));
}

TEST_F(OggReader, WithoutLoopingTheEndStopsAndRewinds) {
  TMusicPtr music = Open(OggVorbis(2, 44100, 4096));
  ASSERT_TRUE(music);
  music->Seti(7, 0);
  music->PlayStatus = 1;
  const std::string first = Fill(*music);
  EXPECT_EQ(music->Geti(2), 2048);
  // Exactly 8192 bytes remain: the end branch fills the whole buffer.
  EXPECT_NE(Fill(*music).substr(8000), std::string(192, '\0'));
  EXPECT_EQ(music->Geti(3), 0);
  EXPECT_EQ(music->Geti(2), 0);
  EXPECT_EQ(Fill(*music), first);  // a fresh decoder from the start
}

TEST_F(OggReader, MonoIsDeliveredAsStereoAtItsOwnRate) {
  TMusicPtr music = Open(OggVorbis(1, 22050, 5000));
  ASSERT_TRUE(music);
  EXPECT_EQ(music->Geti(4), 203);
  EXPECT_EQ(music->Geti(5), 22050);
  EXPECT_EQ(music->Geti(1), 5000);
  const std::string pcm = Fill(*music);
  EXPECT_NE(pcm, std::string(8192, '\0'));
  for (size_t i = 0; i < pcm.size(); i += 4) ASSERT_EQ(pcm.substr(i, 2), pcm.substr(i + 2, 2)) << i;
  // 5000 frames: two full fills, then 904 frames and the piece again from its start.
  const std::string start = pcm + Fill(*music);
  const std::string last = Fill(*music);
  EXPECT_EQ(last.substr(904 * 4), start.substr(0, 8192 - 904 * 4));
  EXPECT_EQ(music->Geti(2), 2048 - 904);
  EXPECT_EQ(Fill(*music), start.substr(8192 - 904 * 4, 8192));
}

TEST_F(OggReader, RefusesWhatIsNotOggVorbis) {
  EXPECT_FALSE(Open(Wav(PcmFormat(2, 44100, 16), Pattern(100))));
  EXPECT_FALSE(Open("OggS but nothing more"));
  EXPECT_FALSE(Open(""));
  EXPECT_FALSE(Orvane_Loader_Ogg(dir_ + "/missing.ogg"));
}

TEST_F(OggReader, FuzzFoundFileWhoseFirstStreamDecodesNothingPlaysSilenceAndEnds) {
  // Its first stream's data pages are damaged or belong to another stream; vorbisfile's own
  // seek back to its first sample corrupts the heap.
  AudioStreamModuleInit();
  TMusicPtr music = LoadMusic(std::string(CORVEL_SOURCE_DIR) +
                              "/tests/fuzz/regressions/music_ogg/"
                              "rewind-meets-a-page-of-another-stream.ogg");
  ASSERT_TRUE(music);
  music->PlayStatus = 1;
  // The position of the first sound in a fill; npos when the fill is silent.
  const auto sound = [&] { return Fill(*music).find_first_not_of('\0'); };
  EXPECT_EQ(sound(), std::string::npos);
  EXPECT_EQ(music->Geti(3), 0);
  // Started again, it still plays nothing, and ends again.
  music->Stop();
  music->PlayStatus = 1;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sound(), std::string::npos);
  EXPECT_EQ(music->Geti(3), 0);
  FreeMusic(music);
}

TEST_F(OggReader, RefusesAStreamThatCannotSeek) {
  // A pipe has no length or positions: taken for a seekable file, the decoder would search
  // it without end.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string bytes = OggVorbis(2, 44100, 1000);
  ASSERT_LT(bytes.size(), 60000u);  // all of it fits in the pipe
  ASSERT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(ends[1]);
  auto stream = std::make_shared<TStream>(fdopen(ends[0], "rb"), false);
  EXPECT_FALSE(Orvane_Loader_Ogg(stream));
}

TEST_F(OggReader, AfterFreeFillsAreSilent) {
  TMusicPtr music = Open(OggVorbis(2, 44100, 3000));
  ASSERT_TRUE(music);
  music->PlayStatus = 1;
  EXPECT_EQ(FreeMusic(music), 0);
  EXPECT_EQ(Fill(*music), std::string(8192, '\0'));
  EXPECT_EQ(music->Geti(3), 0);
}

}  // namespace
