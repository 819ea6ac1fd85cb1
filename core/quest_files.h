#pragma once
// The quest's images, sounds and music as the game loads them: a file that cannot be used
// says so in one line on standard error, naming it and why, and the game goes on without it.
#include <cstdint>
#include <string>
#include "platform/audio/audio.h"
#include "platform/files/files.h"
#include "platform/graphics/graphics.h"

// Writes "Could not <action> <path>: <reason>" to standard error, for example "Could not
// load the image /q/Images/a.png: No such file or directory". The reason is the system's when
// the file cannot be read at all (or holds more than maxBytes), else `unusable`, what is wrong
// with its content.
void ReportFileFailure(const std::string& action, const std::string& path,
                       const std::string& unusable, int64_t maxBytes = ANY_SIZE);
// LoadImage with the default flags.
TImagePtr LoadQuestImage(const std::string& path);
// LoadAnimImage of `count` frames of w x h from the first cell, with the default flags.
TImagePtr LoadQuestAnimImage(const std::string& path, int w, int h, int count);
TSoundPtr LoadQuestSound(const std::string& path, int flags);
// A music stream of the file, playing (loop 1 starts it over at its end); null when the file
// cannot be used (said on standard error) or when the audio driver plays no streams.
TChannelPtr CreateMusicStream(const std::string& path, int loop, int flag);
