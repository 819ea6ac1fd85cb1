#pragma once
// Sound effects synthesised into WAV files and music tracks encoded as Ogg Vorbis.
#include <string>

// Writes every effect and track the quest uses into the two folders; false on failure.
bool WriteSounds(const std::string& soundDir);
bool WriteMusic(const std::string& musicDir);
