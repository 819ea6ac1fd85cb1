// Music and video entry points, until streaming and the video player are built: a music
// file plays as a whole looped sound on a channel of its own, and videos are skipped.
#include "media/media.h"

void AudioStreamModuleInit() {}

void TheoraModuleInit() {}

TChannelPtr CreateAudioStream(const std::string& path, int loop, int paused) {
  (void)paused;  // streams start playing; the caller pauses them
  TSoundPtr music = LoadSound(path, loop ? 1 : 0);
  if (!music) return nullptr;
  TChannelPtr channel = AllocChannel();
  if (!channel) return nullptr;
  return PlaySound(music, channel);
}

int DisplayVideo(const std::string& file) {
  (void)file;
  return 0;
}
