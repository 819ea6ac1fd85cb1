#pragma once
// Image files for tests, made with the libraries the game reads them with.
#include <png.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

struct TJpegOptions {
  bool progressive = false;
  bool grey = false;
  bool arithmetic = false;  // arithmetic coding instead of Huffman
  bool fullChroma = false;  // colour kept for every pixel instead of every 2 x 2
  int quality = 95;
};

// The colour of pixel (x, y) as 0xRRGGBB; a grey JPEG takes the red byte.
using TRgbAt = std::function<uint32_t(int x, int y)>;

// A JPEG of w x h pixels written with libjpeg: one flat colour, or a colour per pixel.
std::vector<uint8_t> JpegBytes(int w, int h, uint8_t red, uint8_t green, uint8_t blue,
                               const TJpegOptions& options = {});
std::vector<uint8_t> JpegBytes(int w, int h, const TRgbAt& rgb, const TJpegOptions& options = {});

// A PNG written with libpng into memory: `write` gives it its header and its rows; the end
// follows. Empty when libpng fails.
std::vector<uint8_t> PngBytes(const std::function<void(png_structp, png_infop)>& write);
// A black PNG of w x h pixels in one-bit grey: a little over a bit a pixel in the file, four
// bytes a pixel once decoded.
std::vector<uint8_t> BlackPngBytes(int w, int h);

}  // namespace testsupport
