#pragma once
// Image files for tests, made with the libraries the game reads them with.
#include <cstdint>
#include <vector>

namespace testsupport {

struct TJpegOptions {
  bool progressive = false;
  bool grey = false;
  bool arithmetic = false;  // arithmetic coding instead of Huffman
  int quality = 95;
};

// A JPEG of w x h pixels in one flat colour, written with libjpeg.
std::vector<uint8_t> JpegBytes(int w, int h, uint8_t red, uint8_t green, uint8_t blue,
                               const TJpegOptions& options = {});

}  // namespace testsupport
