// Minimal music and video module until streaming and playback are built: nothing to start,
// no stream can be opened, and a video ends at once.
#include "media/media.h"

void AudioStreamModuleInit() {}

void TheoraModuleInit() {}

TChannelPtr CreateAudioStream(const std::string&, int, int) { return nullptr; }

int DisplayVideo(const std::string&) { return 0; }
