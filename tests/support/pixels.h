#pragma once
// Pixel checks on the back buffer for screen tests.
#include <cstdint>
#include <ostream>
#include <string>

namespace testsupport {

// The bounding box of the pixels of one colour; x0 is -1 when there is none.
struct PixelBox {
  int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
  bool operator==(const PixelBox&) const = default;
  PixelBox Moved(int dx, int dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};
void PrintTo(const PixelBox& b, std::ostream* os);

// The back buffer's colour (0xRRGGBB) at (x, y).
uint32_t Pixel(int x, int y);
// A checksum of every byte of the back buffer (64-bit FNV-1a), written in hexadecimal: two
// pictures with the same checksum are, for any test's purpose, the same picture. Given the
// checksum of earlier pictures it goes on from there: a sequence of pictures has one.
std::string PictureChecksum(const std::string& earlier = "");

// The box of the back buffer's pixels whose colour (0xRRGGBB) matches, inside a rectangle.
PixelBox FindColour(uint32_t rgb, int x = 0, int y = 0, int w = 640, int h = 480);

}  // namespace testsupport
