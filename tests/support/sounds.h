#pragma once
// Sound files for tests: WAV built byte by byte, Ogg Vorbis through the encoder.
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
// `frames` sample frames of a sine of `hz` at half of full scale on every channel, as PCM
// data of a WAV file (8-bit unsigned or 16-bit signed, channels interleaved).
std::string TonePcm(int channels, int rate, int bits, double hz, int frames);
// Encodes `frames` sample frames of a sine of `hz` on every channel; returns the Ogg Vorbis
// file's bytes.
std::string OggVorbis(int channels, int rate, int frames, double hz = 440);

}  // namespace testsupport
