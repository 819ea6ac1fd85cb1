#pragma once
// Music streaming and video playback.
#include <string>
#include "platform/audio.h"

void AudioStreamModuleInit();
void TheoraModuleInit();
// A looping (loop 1) music stream of the file, playing; null when it cannot be opened.
TChannelPtr CreateAudioStream(const std::string& path, int loop, int paused);
int DisplayVideo(const std::string& file);
