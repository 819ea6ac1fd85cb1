#pragma once
// Music streaming and video playback.
#include <string>
#include "media/audio_stream.h"
#include "media/music.h"
#include "media/theora.h"
#include "platform/audio/audio.h"

// Starts the streaming module once: the shared refill timer and the WAV and Ogg Vorbis
// loaders (WAV first). Later calls return at once.
void AudioStreamModuleInit();
// Starts the video module once: builds the colour tables (16 MB) that turn decoded pictures
// into pixels. The first video opened calls it, so a game that plays none never builds them.
void TheoraModuleInit();
// A music stream of the file (or of a music source the caller keeps), already playing;
// loop 1 makes it start over at its end. `flag` has no effect. Null when the music cannot
// be opened or the audio driver plays no streams. StopChannel ends it for good.
TChannelPtr CreateAudioStream(const std::string& path, int loop, int flag);
TChannelPtr CreateAudioStream(const TMusicPtr& music, int loop, int flag);
// Plays settings->imageDir + file until it ends or the confirm key is pressed; always 0. A
// video that cannot be played returns at once, after one line on standard error.
int DisplayVideo(const std::string& file);
