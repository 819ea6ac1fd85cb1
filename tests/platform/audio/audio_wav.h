#pragma once
// Builds WAV files in memory for the audio tests.
#include <cstdint>
#include <string>
#include <vector>

struct TWavChunk {
  std::string id;
  std::vector<uint8_t> body;
  uint32_t claimedSize = 0xFFFFFFFF;  // the size written in the header; default: the body's
};

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

inline std::vector<uint8_t> FmtBody(int format, int channels, int rate, int bits) {
  std::vector<uint8_t> b;
  PutU16(b, format);
  PutU16(b, channels);
  PutU32(b, rate);
  PutU32(b, rate * channels * bits / 8);
  PutU16(b, channels * bits / 8);
  PutU16(b, bits);
  return b;
}

inline std::vector<uint8_t> RiffFile(const std::vector<TWavChunk>& chunks,
                                     const char* form = "WAVE") {
  std::vector<uint8_t> body(form, form + 4);
  for (const TWavChunk& c : chunks) {
    body.insert(body.end(), c.id.begin(), c.id.end());
    PutU32(body, c.claimedSize == 0xFFFFFFFF ? c.body.size() : c.claimedSize);
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.body.size() & 1) body.push_back(0);
  }
  std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
  PutU32(out, body.size());
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// A plain PCM file of the given samples.
inline std::vector<uint8_t> PcmWav(int channels, int rate, int bits,
                                   const std::vector<uint8_t>& samples) {
  return RiffFile({{"fmt ", FmtBody(1, channels, rate, bits)}, {"data", samples}});
}
