#include "support/sounds.h"

namespace testsupport {

std::string U32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

std::string U16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string PcmFormat(int channels, int rate, int bits, int tag) {
  const int align = channels * bits / 8;
  return U16(static_cast<uint16_t>(tag)) + U16(static_cast<uint16_t>(channels)) + U32(rate) +
         U32(rate * align) + U16(static_cast<uint16_t>(align)) + U16(static_cast<uint16_t>(bits));
}

std::string Wav(const std::string& fmt, const std::string& data, const std::string& middle) {
  const std::string body = "WAVE" + std::string("fmt ") + U32(fmt.size()) + fmt + middle + "data" +
                           U32(data.size()) + data;
  return "RIFF" + U32(body.size()) + body;
}

std::string TinyWav() {
  std::string data(2 * 4000, '\0');
  for (size_t i = 0; i < data.size(); i += 2) data[i + 1] = (i / 40) % 2 ? 0x20 : -0x20;
  return Wav(PcmFormat(1, 8000, 16), data);
}

}  // namespace testsupport
