// BMP decoding: uncompressed files of 8 (palette), 24 and 32 bits a pixel, bottom-up or
// top-down, 32-bit ones also with bit-field masks.
#include <cstdlib>

#include "platform/graphics/codecs/codecs.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t{d[at + 3]} << 24);
}
unsigned U16(const std::vector<uint8_t>& d, size_t at) { return d[at] | (d[at + 1] << 8); }

// Value of the bits of a mask, scaled to 0..255.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t max = mask >> shift;
  return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

TPixmapPtr DecodeBmp(const std::vector<uint8_t>& d, TPixelBound* bound) {
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return nullptr;
  const uint32_t dataAt = U32(d, 10), headerSize = U32(d, 14);
  const int32_t width = static_cast<int32_t>(U32(d, 18)), rawHeight = static_cast<int32_t>(U32(d, 22));
  const unsigned bpp = U16(d, 28);
  const uint32_t compression = U32(d, 30);
  if (headerSize < 40 || !PixelsFit(width, std::abs(int64_t{rawHeight}), bound)) return nullptr;
  const bool topDown = rawHeight < 0;
  const int height = std::abs(rawHeight);
  const bool bitFields = compression == 3 || compression == 6;
  if (!(compression == 0 || (bitFields && bpp == 32)) || !(bpp == 8 || bpp == 24 || bpp == 32)) {
    return nullptr;
  }
  uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  if (bitFields) {
    if (d.size() < 70) return nullptr;
    for (int k = 0; k < 4; ++k) masks[k] = U32(d, 54 + 4 * k);
    if (headerSize < 56 && compression == 3) masks[3] = 0;
  }
  const size_t stride = (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
  if (dataAt > d.size() || d.size() - dataAt < stride * height) return nullptr;
  const size_t paletteAt = 14 + headerSize;
  uint32_t colours = U32(d, 46);
  if (bpp == 8) {
    if (colours == 0 || colours > 256) colours = 256;
    if (paletteAt + colours * 4 > d.size()) return nullptr;
  }
  auto out = std::make_shared<TPixmap>(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = d.data() + dataAt + stride * (topDown ? y : height - 1 - y);
    uint8_t* o = out->PixelPtr(0, y);
    for (int x = 0; x < width; ++x, o += 4) {
      if (bpp == 8) {
        const unsigned index = row[x];
        const size_t at = paletteAt + 4 * (index < colours ? index : 0);
        o[0] = d[at + 2]; o[1] = d[at + 1]; o[2] = d[at]; o[3] = 255;
      } else if (bpp == 24) {
        o[0] = row[3 * x + 2]; o[1] = row[3 * x + 1]; o[2] = row[3 * x]; o[3] = 255;
      } else {
        const uint8_t* p = row + 4 * x;
        const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
        o[0] = Channel(v, masks[0]); o[1] = Channel(v, masks[1]); o[2] = Channel(v, masks[2]);
        o[3] = masks[3] ? Channel(v, masks[3]) : 255;
      }
    }
  }
  return out;
}
