#pragma once
// Decoded sound samples and the readers that make them: a RIFF/WAVE chunk parser of our own
// (PCM, 8 or 16 bit, mono or stereo) and Ogg Vorbis through vorbisfile (16 bit).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TSoundData {
  int channels = 0;
  int bits = 0;
  int rate = 0;
  std::vector<uint8_t> pcm;  // interleaved frames; 8 bit unsigned, 16 bit signed little-endian
  size_t Frames() const {
    return channels > 0 && bits > 0 ? pcm.size() / (static_cast<size_t>(channels) * bits / 8) : 0;
  }
};

// Parses a WAV file held in memory. On failure returns false with the reason in error.
// A data chunk that claims more bytes than the file holds is cut to what is there.
bool ParseWav(const uint8_t* bytes, size_t size, TSoundData& out, std::string* error = nullptr);
// Decodes a whole Ogg Vorbis file held in memory into 16-bit samples.
bool DecodeOggVorbis(const uint8_t* bytes, size_t size, TSoundData& out);
