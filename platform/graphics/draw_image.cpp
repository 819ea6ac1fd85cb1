// Drawing of image frames: the 1:1 row copy for unrotated, unscaled frames, and the
// general per-pixel path (nearest or bilinear) for everything else.
#include <algorithm>

#include "platform/graphics/blend.h"
#include "platform/graphics/draw_internal.h"

bool GetFrame(const TImagePtr& image, int frame, TFrameSource& out) {
  if (!image || frame < 0 || frame >= static_cast<int>(image->frames.size())) return false;
  const TPixmap* pm = image->frames[frame].get();
  if (!pm) return false;
  out.pixmap = pm;
  out.width = std::min(image->width, pm->width);
  out.height = std::min(image->height, pm->height);
  return out.width > 0 && out.height > 0;
}

TClip ClipOf(const TGraphics& g) {
  const TPixmap& b = *g.backBuffer;
  const long long right = static_cast<long long>(g.viewX) + g.viewWidth;
  const long long bottom = static_cast<long long>(g.viewY) + g.viewHeight;
  TClip c{std::max(g.viewX, 0), std::max(g.viewY, 0), static_cast<int>(std::min<long long>(right, b.width)),
          static_cast<int>(std::min<long long>(bottom, b.height))};
  if (c.x1 < c.x0) c.x1 = c.x0;
  if (c.y1 < c.y0) c.y1 = c.y0;
  return c;
}

void DrawFrame(TGraphics& g, const TFrameSource& f, const TPlacement& place, bool filtered) {
  const TPixelMap map(f.width, f.height, place);
  if (map.Empty()) return;
  const TClip clip = ClipOf(g);
  const int y0 = std::max(map.by0, clip.y0), y1 = std::min(map.by1, clip.y1);
  if (y0 >= y1 || std::max(map.bx0, clip.x0) >= std::min(map.bx1, clip.x1)) return;
  const TBlendState state(g);
  TPixmap& back = *g.backBuffer;
  if (map.Axis() && !(filtered && map.OffGrid())) {
    // 1:1 copy: the same span on every row.
    const int x0 = std::max(map.bx0, clip.x0), x1 = std::min(map.bx1, clip.x1);
    BlendRect(back.PixelPtr(x0, y0), static_cast<size_t>(back.width) * 4,
              f.pixmap->PixelPtr(x0 - map.offX, y0 - map.offY), static_cast<size_t>(f.pixmap->width) * 4,
              x1 - x0, y1 - y0, state);
    return;
  }
  for (int py = y0; py < y1; ++py) {
    int x0, x1;
    if (!map.RowSpan(py, x0, x1)) continue;
    x0 = std::max(x0, clip.x0);
    x1 = std::min(x1, clip.x1);
    if (x0 >= x1) continue;
    uint8_t* dst = back.PixelPtr(x0, py);
    if (filtered) {
      SampleRow(f, map, py, x0, x1, [&](int px, int n, const uint8_t* samples) {
        BlendRect(back.PixelPtr(px, py), 0, samples, 0, n, 1, state);
      });
      continue;
    }
    for (int px = x0; px < x1; ++px, dst += 4) {
      int tx, ty;
      if (!map.TexelAt(px, py, tx, ty)) continue;
      const uint8_t* s = f.pixmap->PixelPtr(tx, ty);
      BlendPixel(dst, s[0], s[1], s[2], s[3], state);
    }
  }
}

// Where the context's origin, scale and rotation put the image's handle drawn at (x, y).
TPlacement PlaceImage(const TGraphics& g, const TImage& image, float x, float y) {
  TPlacement p;
  p.x = static_cast<double>(x) + g.originX;
  p.y = static_cast<double>(y) + g.originY;
  p.handleX = image.handleX;
  p.handleY = image.handleY;
  p.scaleX = g.scaleX;
  p.scaleY = g.scaleY;
  p.degrees = g.rotation;
  return p;
}

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = ActiveContext();
  DrawFrame(g, f, PlaceImage(g, *image, x, y), image->flags & FILTEREDIMAGE);
}

void DrawImageRect(const TImagePtr& image, float x, float y, float width, float height, int frame) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = ActiveContext();
  TPlacement p = PlaceImage(g, *image, x, y);
  p.scaleX = p.scaleX * width / image->width;
  p.scaleY = p.scaleY * height / image->height;
  DrawFrame(g, f, p, image->flags & FILTEREDIMAGE);
}
