#include "support/sounds.h"

#include <cstdint>

namespace testsupport {

std::string TinyWav() {
  auto u32 = [](uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  auto u16 = [](uint16_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
  };
  std::string data(2 * 4000, '\0');
  for (size_t i = 0; i < data.size(); i += 2) data[i + 1] = (i / 40) % 2 ? 0x20 : -0x20;
  const std::string fmt = u16(1) + u16(1) + u32(8000) + u32(16000) + u16(2) + u16(16);
  const std::string body =
      "WAVE" + std::string("fmt ") + u32(16) + fmt + "data" + u32(data.size()) + data;
  return "RIFF" + u32(body.size()) + body;
}

}  // namespace testsupport
