// The quest's images, sounds and music that cannot be used say so, one line each on standard
// error with the file and why; those that load, and music that only finds no audio device to
// play it, say nothing.
#include <gtest/gtest.h>

#include <string>

#include "core/quest_files.h"
#include "platform/audio/audio.h"
#include "platform/graphics/graphics.h"
#include "support/files.h"
#include "support/sounds.h"

namespace {

struct FileCase {
  const char* file;
  int frames;        // 0: the whole image
  const char* why;   // null: it loads and nothing is said
};

TEST(QuestFiles, ImagesSayWhyTheyCannotBeUsed) {
  const std::string dir = testsupport::ScratchDir("images") + "/";
  testsupport::WriteFileBytes(dir + "text.png", "no picture here");
  ASSERT_TRUE(SavePixmapPNG(CreatePixmap(64, 32), dir + "strip.png"));  // two frames of 32
  const FileCase cases[] = {
      {"none.png", 0, "No such file or directory"},
      {"text.png", 0, "not a PNG, JPEG, BMP or TGA image"},
      {"strip.png", 0, nullptr},
      {"none.png", 2, "No such file or directory"},
      {"text.png", 2, "not a PNG, JPEG, BMP or TGA image"},
      {"strip.png", 4, "it holds fewer than 4 frames of 32 x 32 pixels"},
      {"strip.png", 2, nullptr},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.frames));
    testing::internal::CaptureStderr();
    const TImagePtr image = c.frames ? LoadQuestAnimImage(dir + c.file, 32, 32, c.frames)
                                     : LoadQuestImage(dir + c.file);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              c.why ? "Could not load the image " + dir + c.file + ": " + c.why + "\n" : "");
    EXPECT_EQ(image != nullptr, c.why == nullptr);
  }
}

TEST(QuestFiles, SoundsAndMusicSayWhyTheyCannotBeUsed) {
  const std::string dir = testsupport::ScratchDir("sounds") + "/";
  testsupport::WriteFileBytes(dir + "text.wav", "no sound here");
  testsupport::WriteFileBytes(dir + "tune.wav", testsupport::TinyWav());
  // The silent driver plays no music streams: a music file that the readers take says
  // nothing then.
  ASSERT_TRUE(SetAudioDriver("Null"));
  const char* const kinds[] = {"sound", "music"};
  for (const char* kind : kinds) {
    const FileCase cases[] = {
        {"none.wav", 0, "No such file or directory"},
        {"", 0, "Is a directory"},
        {"text.wav", 0, "not a WAV or Ogg Vorbis file"},
        {"tune.wav", 0, nullptr},
    };
    for (const FileCase& c : cases) {
      SCOPED_TRACE(std::string(kind) + " " + c.file);
      const std::string path = dir + c.file;
      testing::internal::CaptureStderr();
      const bool sound = std::string(kind) == "sound";
      const bool made = sound ? LoadQuestSound(path, 0) != nullptr
                              : CreateMusicStream(path, 1, 0) != nullptr;
      EXPECT_EQ(testing::internal::GetCapturedStderr(),
                c.why ? "Could not load the " + std::string(kind) + " " + path + ": " + c.why + "\n"
                      : "");
      EXPECT_EQ(made, sound && c.why == nullptr);
    }
  }
}

}  // namespace
