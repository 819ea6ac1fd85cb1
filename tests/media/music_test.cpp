// Music source properties and the loader registry.
#include <gtest/gtest.h>
#include "media/media.h"
#include "music_files.h"
#include "support/files.h"

namespace {

using mediatest::ScriptedMusic;

TEST(MusicSource, PropertiesStoreOnlyWhatTheyAllow) {
  ScriptedMusic music("m", nullptr);
  struct Case {
    int code, value, stored, after;
  } cases[] = {
      {4, 202, 1, 202}, {4, 204, 0, 202}, {4, 199, 0, 202}, {5, 22050, 1, 22050}, {7, 0, 1, 0},
      {1, 5, 0, 0},     {2, 5, 0, 0},     {3, 5, 0, 0},     {6, 5, 0, 0},         {0, 5, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(music.Seti(c.code, c.value), c.stored);
    EXPECT_EQ(music.TMusic::Geti(c.code), c.after);
  }
  EXPECT_EQ(music.Setf(5, 1.5f), 0);
  EXPECT_EQ(music.Getf(5), 0.0f);
  EXPECT_EQ(music.GetS(5), "");
  music.WriteBug("one");
  music.WriteBug("two");
  EXPECT_EQ(music.DebugData, "onetwo");
}

TEST(MusicSource, BytesPerSampleOfEachFormat) {
  const int expected[][2] = {{200, 1}, {201, 2}, {202, 2}, {203, 4}, {204, 0}, {0, 0}};
  for (const auto& e : expected) EXPECT_EQ(GetBytesPerSample(e[0]), e[1]) << e[0];
}

TEST(MusicRegistry, FilterListsTheLoadersInOrder) {
  AudioStreamModuleInit();
  EXPECT_EQ(MusicExtensions(1, 1),
            "All supported:wav,ogg;Microsoft Wave \".wav\":wav;Ogg Vorbis \".ogg\":ogg;All Files:*");
  EXPECT_EQ(MusicExtensions(0, 0), "Microsoft Wave \".wav\":wav;Ogg Vorbis \".ogg\":ogg");
  AudioStreamModuleInit();  // registers nothing twice
  EXPECT_EQ(OrvaneLoader::List().Count(), 2u);
}

TEST(MusicRegistry, EveryFileIsOfferedToEachReaderWhateverItsName) {
  AudioStreamModuleInit();
  const std::string dir = testsupport::ScratchDir("registry");
  const std::string wav = mediatest::Wav(mediatest::PcmFormat(2, 44100, 16), mediatest::Pattern(400));
  const std::string ogg = mediatest::OggVorbis(2, 44100, 3000);
  testsupport::WriteFileBytes(dir + "/wave.ogg", wav);
  testsupport::WriteFileBytes(dir + "/vorbis.wav", ogg);
  testsupport::WriteFileBytes(dir + "/notes.txt", "just some text, neither RIFF nor OggS");

  TMusicPtr a = LoadMusic(dir + "/wave.ogg");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Geti(1), 400);  // bytes: the WAV reader took it
  TMusicPtr b = LoadMusic(dir + "/vorbis.wav");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Geti(1), 3000);  // sample frames: the Ogg Vorbis reader took it
  EXPECT_FALSE(LoadMusic(dir + "/notes.txt"));
  EXPECT_FALSE(LoadMusic(dir + "/missing.ogg"));
  EXPECT_FALSE(LoadMusic(dir));
  EXPECT_EQ(FreeMusic(nullptr), 0);

  // An open stream is rewound for every reader, even after the WAV reader read from it.
  TStreamPtr stream = ReadStream(dir + "/vorbis.wav");
  SeekStream(stream, 100);
  TMusicPtr c = LoadMusic(stream);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Geti(1), 3000);
}

}  // namespace
