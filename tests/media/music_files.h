#pragma once
// Music made by the media tests: WAV and Ogg Vorbis files (the builders of support/sounds.h)
// and a scripted music source that records how a stream uses it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "media/music.h"
#include "support/sounds.h"

namespace mediatest {

using testsupport::OggVorbis;
using testsupport::PcmFormat;
using testsupport::TonePcm;
using testsupport::U16;
using testsupport::U32;
using testsupport::Wav;

// Bytes 0, 1, 2, ... (mod 251), so every position of the data is recognisable.
std::string Pattern(size_t bytes);
// The whole file decoded by vorbisfile alone: 16-bit samples, channels interleaved.
std::vector<int16_t> DecodeOggFile(const std::string& path);

// A source of `size` bytes (0: endless) of 16-bit stereo at 44100 Hz that fills every byte of
// a buffer with its fill count (1, 2, ...), counts its fills and frees, and logs its name to
// `log` whenever a stream reads its play status.
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
  std::function<void(int fill)> onFill;  // runs after each fill, when set
};

}  // namespace mediatest
