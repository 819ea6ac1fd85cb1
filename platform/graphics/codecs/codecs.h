#pragma once
// Decoders behind LoadPixmap (internal to the platform layer). Each takes the whole file and
// returns an RGBA pixmap, or null when the data is not a valid file of its kind. None of
// them allocates a picture before it has checked the declared size against the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/graphics.h"

// The largest width and height that any decoder accepts.
constexpr int kMaxImageSide = 16384;

// PNG, JPEG, BMP or TGA, told apart by their first bytes (TGA has no signature).
TPixmapPtr DecodePixmap(const std::vector<uint8_t>& data);
TPixmapPtr DecodePng(const std::vector<uint8_t>& data);
TPixmapPtr DecodeJpeg(const std::vector<uint8_t>& data);
// BMP: uncompressed 8 (palette), 24 and 32 bits, 32 also with bit fields. TGA: uncompressed or
// run-length, of the common depths.
TPixmapPtr DecodeBmp(const std::vector<uint8_t>& data);
TPixmapPtr DecodeTga(const std::vector<uint8_t>& data);
