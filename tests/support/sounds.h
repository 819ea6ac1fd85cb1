#pragma once
// Sound files for tests, built byte by byte.
#include <cstdint>
#include <string>

namespace testsupport {

// Little-endian fields.
std::string U32(uint32_t v);
std::string U16(uint16_t v);
// A PCM format chunk body.
std::string PcmFormat(int channels, int rate, int bits, int tag = 1);
// A RIFF/WAVE file: `fmt` the format chunk body, `middle` chunks between it and the data.
std::string Wav(const std::string& fmt, const std::string& data, const std::string& middle = "");
// The bytes of a short 16-bit mono PCM WAV file (half a second at 8000 Hz).
std::string TinyWav();

}  // namespace testsupport
