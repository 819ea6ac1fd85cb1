// Pixel-accurate collision of two placed frames, on the pixels that drawing covers: a pixel
// collides when the texels both frames show there are solid (alpha 128 or more).
#include <algorithm>

#include "platform/graphics/draw_internal.h"

namespace {

bool Solid(const TFrameSource& f, int tx, int ty) { return f.pixmap->PixelPtr(tx, ty)[3] >= 128; }

TPixelMap MapOf(const TImagePtr& image, const TFrameSource& f, int x, int y, float rotation,
                float scaleX, float scaleY) {
  TPlacement p;
  p.x = x;
  p.y = y;
  p.handleX = image->handleX;
  p.handleY = image->handleY;
  p.scaleX = scaleX;
  p.scaleY = scaleY;
  p.degrees = rotation;
  return TPixelMap(f.width, f.height, p);
}

}  // namespace

int ImagesCollide2(const TImagePtr& image1, int x1, int y1, int frame1, float rotation1,
                   float scaleX1, float scaleY1, const TImagePtr& image2, int x2, int y2,
                   int frame2, float rotation2, float scaleX2, float scaleY2) {
  TFrameSource f1, f2;
  if (!GetFrame(image1, frame1, f1) || !GetFrame(image2, frame2, f2)) return 0;
  const TPixelMap m1 = MapOf(image1, f1, x1, y1, rotation1, scaleX1, scaleY1);
  const TPixelMap m2 = MapOf(image2, f2, x2, y2, rotation2, scaleX2, scaleY2);
  if (m1.Empty() || m2.Empty()) return 0;
  // Only the overlap of the two bounding boxes can hold a common pixel.
  const int bx0 = std::max(m1.bx0, m2.bx0), bx1 = std::min(m1.bx1, m2.bx1);
  const int by0 = std::max(m1.by0, m2.by0), by1 = std::min(m1.by1, m2.by1);
  if (bx0 >= bx1 || by0 >= by1) return 0;
  if (m1.Axis() && m2.Axis()) {
    for (int py = by0; py < by1; ++py) {
      const uint8_t* a = f1.pixmap->PixelPtr(bx0 - m1.offX, py - m1.offY) + 3;
      const uint8_t* b = f2.pixmap->PixelPtr(bx0 - m2.offX, py - m2.offY) + 3;
      for (int n = bx1 - bx0; n > 0; --n, a += 4, b += 4) {
        if (*a >= 128 && *b >= 128) return 1;
      }
    }
    return 0;
  }
  for (int py = by0; py < by1; ++py) {
    int a0, a1, b0, b1;
    if (!m1.RowSpan(py, a0, a1) || !m2.RowSpan(py, b0, b1)) continue;
    for (int px = std::max(a0, b0); px < std::min(a1, b1); ++px) {
      int tx1, ty1, tx2, ty2;
      if (m1.TexelAt(px, py, tx1, ty1) && m2.TexelAt(px, py, tx2, ty2) && Solid(f1, tx1, ty1) &&
          Solid(f2, tx2, ty2)) {
        return 1;
      }
    }
  }
  return 0;
}

int ImagesCollide(const TImagePtr& image1, int x1, int y1, int frame1, const TImagePtr& image2,
                  int x2, int y2, int frame2) {
  return ImagesCollide2(image1, x1, y1, frame1, 0, 1, 1, image2, x2, y2, frame2, 0, 1, 1);
}
