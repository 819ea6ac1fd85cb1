#pragma once
// Music made by the media tests: WAV files byte by byte, Ogg Vorbis through the encoder,
// and a scripted music source that records how a stream uses it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "media/music.h"

namespace mediatest {

std::string U32(uint32_t v);
std::string U16(uint16_t v);
// Bytes 0, 1, 2, ... (mod 251), so every position of the data is recognisable.
std::string Pattern(size_t bytes);
// A RIFF/WAVE file: `fmt` the format chunk body, `middle` chunks between it and the data.
std::string Wav(const std::string& fmt, const std::string& data, const std::string& middle = "");
// A PCM format chunk body.
std::string PcmFormat(int channels, int rate, int bits, int tag = 1);
// Encodes `frames` sample frames of a tone; returns the Ogg Vorbis file's bytes.
std::string OggVorbis(int channels, int rate, int frames);

// A source of `size` bytes (0: endless) that counts its fills and logs its name to `log`
// whenever a stream reads its play status.
class ScriptedMusic : public TMusic {
public:
  ScriptedMusic(std::string name, std::vector<std::string>* log, int size = 0);
  int FillBuffer(uint8_t* buffer, int length) override;
  int Stop() override;
  int Free() override;
  int32_t Geti(int property) override;
  std::string name;
  std::vector<std::string>* log;
  int fills = 0, frees = 0;
};

}  // namespace mediatest
