#include "support/pixels.h"

#include <algorithm>
#include <cstdio>
#include "platform/graphics/graphics.h"

namespace testsupport {

void PrintTo(const PixelBox& b, std::ostream* os) {
  *os << "(" << b.x0 << "," << b.y0 << ")-(" << b.x1 << "," << b.y1 << ")";
}

uint32_t Pixel(int x, int y) { return ReadPixel(BackBuffer(), x, y) & 0xFFFFFF; }

std::string PictureChecksum(const std::string& earlier) {
  uint64_t hash = earlier.empty() ? 14695981039346656037ull : std::stoull(earlier, nullptr, 16);
  for (uint8_t byte : BackBuffer()->pixels) hash = (hash ^ byte) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

PixelBox FindColour(uint32_t rgb, int x0, int y0, int w, int h) {
  const TPixmapPtr buffer = BackBuffer();
  PixelBox box;
  for (int y = y0; y < std::min(y0 + h, buffer->height); ++y)
    for (int x = x0; x < std::min(x0 + w, buffer->width); ++x) {
      if ((ReadPixel(buffer, x, y) & 0xFFFFFF) != rgb) continue;
      if (box.x0 < 0) box = {x, y, x, y};
      box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    }
  return box;
}

}  // namespace testsupport
