// RIFF/WAVE parsing: walks the chunks, takes "fmt " and "data", skips everything else.
#include <cstring>

#include "platform/audio/sound_data.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool ParseWav(const uint8_t* bytes, size_t size, TSoundData& out, std::string* error) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0) return Fail(error, "not a RIFF file");
  if (std::memcmp(bytes + 8, "WAVE", 4) != 0) return Fail(error, "not a WAVE file");
  const uint8_t* fmt = nullptr;
  size_t fmtSize = 0;  // the bytes of the format chunk that the file holds
  const uint8_t* data = nullptr;
  size_t dataSize = 0;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint8_t* chunk = bytes + pos;
    size_t length = U32(chunk + 4);
    size_t body = pos + 8;
    size_t available = size - body;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || available < 16) return Fail(error, "format chunk too short");
      fmt = chunk + 8;
      fmtSize = length < available ? length : available;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !data) {
      data = chunk + 8;
      dataSize = length < available ? length : available;
    }
    if (length >= available) break;
    pos = body + length + (length & 1);  // chunks are padded to an even length
  }
  if (!fmt) return Fail(error, "no format chunk");
  if (!data) return Fail(error, "no data chunk");
  uint16_t format = U16(fmt);
  // An extensible format names its sample format in a GUID whose first two bytes are the tag.
  if (format == kFormatExtensible && fmtSize >= 40) format = U16(fmt + 24);
  if (format != kFormatPcm) return Fail(error, "not PCM");
  int channels = U16(fmt + 2);
  uint32_t rate = U32(fmt + 4);
  int bits = U16(fmt + 14);
  if (channels != 1 && channels != 2) return Fail(error, "unsupported channel count");
  if (bits != 8 && bits != 16) return Fail(error, "unsupported sample size");
  if (rate == 0 || rate > 1000000) return Fail(error, "bad sample rate");
  size_t frameBytes = static_cast<size_t>(channels) * bits / 8;
  dataSize -= dataSize % frameBytes;
  out.channels = channels;
  out.bits = bits;
  out.rate = static_cast<int>(rate);
  out.pcm.assign(data, data + dataSize);
  return true;
}
