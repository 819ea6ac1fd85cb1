// Loading of the quest's images, sounds and music, with a line for each file that fails.
#include "core/quest_files.h"

#include "media/media.h"
#include "platform/files/files.h"
#include "platform/system/app.h"
#include "platform/system/text.h"

namespace {

const char* const kNoImage = "not a PNG, JPEG, BMP or TGA image";
const char* const kNoSound = "not a WAV or Ogg Vorbis file";

}  // namespace

void ReportFileFailure(const std::string& action, const std::string& path,
                       const std::string& unusable, int64_t maxBytes) {
  const std::string why = ReadFailure(path, maxBytes);
  WriteError("Could not " + action + " " + path + ": " + (why.empty() ? unusable : why));
}

TImagePtr LoadQuestImage(const std::string& path) {
  TImagePtr image = LoadImage(path, -1);
  if (!image) ReportFileFailure("load the image", path, kNoImage);
  return image;
}

TImagePtr LoadQuestAnimImage(const std::string& path, int w, int h, int count) {
  TImagePtr image = LoadAnimImage(path, w, h, 0, count, -1);
  if (image) return image;
  const bool readable = LoadImage(path, -1) != nullptr;
  ReportFileFailure("load the image", path,
                    readable ? "it holds fewer than " + StringFromInt(count) + " frames of " +
                                   StringFromInt(w) + " x " + StringFromInt(h) + " pixels"
                             : kNoImage);
  return nullptr;
}

TSoundPtr LoadQuestSound(const std::string& path, int flags) {
  TSoundPtr sound = LoadSound(path, flags);
  if (!sound) ReportFileFailure("load the sound", path, kNoSound);
  return sound;
}

TChannelPtr CreateMusicStream(const std::string& path, int loop, int flag) {
  TChannelPtr stream = CreateAudioStream(path, loop, flag);
  if (stream) return stream;
  // Without a stream either the file is at fault or the driver plays none: a file that the
  // readers take is not reported.
  if (const TMusicPtr music = LoadMusic(TMusicUrl(path))) {
    FreeMusic(music);
    return nullptr;
  }
  ReportFileFailure("load the music", path, kNoSound);
  return nullptr;
}
