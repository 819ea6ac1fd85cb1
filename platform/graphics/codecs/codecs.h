#pragma once
// Decoders behind LoadPixmap (internal to the platform layer). Each takes the whole file and
// returns an RGBA pixmap, or null when the data is not a valid file of its kind or declares a
// picture larger than the bound it is given. None of them allocates a picture before it has
// checked the declared size against the bound and the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/graphics.h"

// The largest width and height that any decoder accepts.
constexpr int kMaxImageSide = 16384;

// The most pixels a picture may have; a file refused for declaring more keeps its size here.
struct TPixelBound {
  int64_t most;
  int64_t width = 0, height = 0;
};
// True when a picture of w x h may be decoded: each side from 1 to kMaxImageSide and, with a
// bound, no more pixels than it allows (else the bound keeps w and h).
bool PixelsFit(int64_t w, int64_t h, TPixelBound* bound);

// PNG, JPEG, BMP or TGA, told apart by their first bytes (TGA has no signature).
TPixmapPtr DecodePixmap(const std::vector<uint8_t>& data, TPixelBound* bound = nullptr);
TPixmapPtr DecodePng(const std::vector<uint8_t>& data, TPixelBound* bound = nullptr);
TPixmapPtr DecodeJpeg(const std::vector<uint8_t>& data, TPixelBound* bound = nullptr);
// BMP: uncompressed 8 (palette), 24 and 32 bits, 32 also with bit fields. TGA: uncompressed or
// run-length, of the common depths.
TPixmapPtr DecodeBmp(const std::vector<uint8_t>& data, TPixelBound* bound = nullptr);
TPixmapPtr DecodeTga(const std::vector<uint8_t>& data, TPixelBound* bound = nullptr);
