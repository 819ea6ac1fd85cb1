// TGA decoding: true-colour (16, 24, 32 bits) and grey (8 bits) pictures, uncompressed or
// run-length encoded, with either row order.
#include <algorithm>

#include "platform/graphics/codecs/codecs.h"

TPixmapPtr DecodeTga(const std::vector<uint8_t>& d, TPixelBound* bound) {
  if (d.size() < 18) return nullptr;
  const unsigned idLength = d[0], mapType = d[1], type = d[2];
  const unsigned mapLength = d[5] | (d[6] << 8), mapBits = d[7];
  const int width = d[12] | (d[13] << 8), height = d[14] | (d[15] << 8);
  const unsigned bpp = d[16], descriptor = d[17];
  const bool grey = type == 3 || type == 11, rle = type == 10 || type == 11;
  if (!(type == 2 || type == 3 || type == 10 || type == 11) || mapType > 1 ||
      (grey ? bpp != 8 : !(bpp == 16 || bpp == 24 || bpp == 32))) {
    return nullptr;
  }
  if (!PixelsFit(width, height, bound)) return nullptr;
  const size_t bytes = bpp / 8;
  size_t at = 18 + idLength + (mapType ? mapLength * ((mapBits + 7) / 8) : 0);
  if (at > d.size()) return nullptr;
  // The pixels must fit the data before the picture is allocated: stored pixels take their
  // bytes each, and a run-length packet of at least one byte holds at most 128 pixels.
  const size_t count = static_cast<size_t>(width) * height;
  const size_t left = d.size() - at;
  if (rle ? count > left * 128 : count > left / bytes) return nullptr;
  std::vector<uint8_t> rgba(count * 4);
  auto put = [&](size_t i, const uint8_t* p) {
    uint8_t* o = &rgba[i * 4];
    if (grey) {
      o[0] = o[1] = o[2] = p[0]; o[3] = 255;
    } else if (bytes == 2) {
      const unsigned v = p[0] | (p[1] << 8);
      o[0] = static_cast<uint8_t>(((v >> 10) & 31) * 255 / 31);
      o[1] = static_cast<uint8_t>(((v >> 5) & 31) * 255 / 31);
      o[2] = static_cast<uint8_t>((v & 31) * 255 / 31);
      o[3] = 255;
    } else {
      o[0] = p[2]; o[1] = p[1]; o[2] = p[0]; o[3] = bytes == 4 ? p[3] : 255;
    }
  };
  for (size_t i = 0; i < count;) {
    size_t run = 1;
    bool repeat = false;
    if (rle) {
      if (at >= d.size()) return nullptr;
      const uint8_t head = d[at++];
      run = (head & 0x7F) + 1u;
      repeat = head & 0x80;
      if (run > count - i) return nullptr;
    }
    const size_t need = repeat ? bytes : bytes * run;
    if (at + need > d.size()) return nullptr;
    for (size_t k = 0; k < run; ++k) put(i + k, &d[at + (repeat ? 0 : k * bytes)]);
    at += need;
    i += run;
  }
  auto out = std::make_shared<TPixmap>(width, height);
  const bool topDown = descriptor & 0x20;
  for (int y = 0; y < height; ++y) {
    const int srcRow = topDown ? y : height - 1 - y;
    std::copy_n(&rgba[static_cast<size_t>(srcRow) * width * 4], width * 4, out->PixelPtr(0, y));
  }
  return out;
}
