#pragma once
// Pixel coverage shared by drawing and collision: where a source rectangle (an image frame)
// lands on the pixel grid once placed by its handle, scaled and rotated. A destination pixel
// is covered when its centre maps back inside the source; the texel it shows is the one that
// centre falls in. Drawing and ImagesCollide both go through TPixelMap, so a pixel that
// drawing covers is exactly the pixel that collision tests.
#include <cstdint>

struct TPlacement {
  double x = 0, y = 0;              // drawing position (where the handle lands)
  double handleX = 0, handleY = 0;  // in source pixels
  double scaleX = 1, scaleY = 1;
  double degrees = 0;               // clockwise on screen (y grows downwards)
};

// The turn of an angle in degrees, in [0, 360): two angles of the same turn place a frame on
// exactly the same pixels.
double TurnOf(double degrees);

class TPixelMap {
public:
  TPixelMap(double sourceWidth, double sourceHeight, const TPlacement& place);

  bool Empty() const { return bx0 >= bx1 || by0 >= by1; }
  // Bounding box of every pixel that may be covered: [bx0, bx1) x [by0, by1).
  int bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;

  // Unrotated and unscaled: the texel of pixel (px, py) is (px - offX, py - offY).
  bool Axis() const { return axis_; }
  int offX = 0, offY = 0;
  // The placement is not on whole pixels (only meaningful for Axis()).
  bool OffGrid() const { return offGrid_; }

  // Covered pixels of row py: [x0, x1); false when none.
  bool RowSpan(int py, int& x0, int& x1) const;
  // Source coordinates of the centre of pixel (px, py).
  void SourceAt(int px, int py, double& u, double& v) const;
  // Change of the source coordinates from one pixel to the next one on its right.
  void StepX(double& du, double& dv) const {
    du = ua_;
    dv = va_;
  }
  // The texel that pixel (px, py) shows; false when the pixel is not covered.
  bool TexelAt(int px, int py, int& tx, int& ty) const;

private:
  bool Inside(int px, int py) const;
  bool Span(int py, int& x0, int& x1) const;
  double w_, h_;
  bool axis_ = false, offGrid_ = false;
  // Unturned or turned by a half turn, u depends on the column alone and v on the row alone:
  // every row that the frame covers covers the same columns, found once.
  bool upright_ = false;
  mutable bool spanKnown_ = false, spanFound_ = false;
  mutable int spanX0_ = 0, spanX1_ = 0;
  // Inverse mapping from a pixel centre (X, Y): u = ua*X + ub*Y + uc, v = va*X + vb*Y + vc.
  double ua_ = 1, ub_ = 0, uc_ = 0, va_ = 0, vb_ = 1, vc_ = 0;
};

// Packed pixel as stored in a pixmap: bytes R, G, B, A in memory (little-endian word).
using TPixel32 = uint32_t __attribute__((may_alias));
inline uint32_t PackRGBA(unsigned r, unsigned g, unsigned b, unsigned a) {
  return r | (g << 8) | (b << 16) | (a << 24);
}
