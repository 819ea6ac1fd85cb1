#pragma once
// Music made by the media tests: WAV files byte by byte (the builders of support/sounds.h),
// Ogg Vorbis through the encoder, and a scripted music source that records how a stream uses it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "media/music.h"
#include "support/sounds.h"

namespace mediatest {

using testsupport::PcmFormat;
using testsupport::U16;
using testsupport::U32;
using testsupport::Wav;

// Bytes 0, 1, 2, ... (mod 251), so every position of the data is recognisable.
std::string Pattern(size_t bytes);
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
