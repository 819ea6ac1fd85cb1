// Drawing of image frames: the 1:1 row copy for unrotated, unscaled frames, and the
// general per-pixel path (nearest or bilinear) for everything else.
#include <algorithm>
#include <cmath>

#include "platform/blend.h"
#include "platform/draw_internal.h"

namespace {

// Bilinear sample at source coordinates (u, v), edges clamped. Colours are weighted by
// alpha so that transparent (masked) neighbours do not bleed their colour into edges.
void Bilinear(const TFrameSource& f, double u, double v, unsigned out[4]) {
  const double x = u - 0.5, y = v - 0.5;
  const double fx0 = std::floor(x), fy0 = std::floor(y);
  const double wx = x - fx0, wy = y - fy0;
  const int x0 = std::clamp(static_cast<int>(fx0), 0, f.width - 1);
  const int y0 = std::clamp(static_cast<int>(fy0), 0, f.height - 1);
  const int x1 = std::clamp(static_cast<int>(fx0) + 1, 0, f.width - 1);
  const int y1 = std::clamp(static_cast<int>(fy0) + 1, 0, f.height - 1);
  const uint8_t* p[4] = {f.pixmap->PixelPtr(x0, y0), f.pixmap->PixelPtr(x1, y0),
                         f.pixmap->PixelPtr(x0, y1), f.pixmap->PixelPtr(x1, y1)};
  const double w[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
  double a = 0, rgb[3] = {0, 0, 0};
  for (int k = 0; k < 4; ++k) {
    const double wa = w[k] * p[k][3];
    a += wa;
    for (int c = 0; c < 3; ++c) rgb[c] += wa * p[k][c];
  }
  if (a <= 0) {
    out[0] = out[1] = out[2] = out[3] = 0;
    return;
  }
  for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned>(std::min(255.0, rgb[c] / a + 0.5));
  out[3] = static_cast<unsigned>(std::min(255.0, a + 0.5));
}

}  // namespace

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
  TClip c{std::max(g.viewX, 0), std::max(g.viewY, 0), std::min(g.viewX + g.viewWidth, b.width),
          std::min(g.viewY + g.viewHeight, b.height)};
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
  const bool copy = map.Axis() && !(filtered && map.OffGrid());
  for (int py = y0; py < y1; ++py) {
    int x0, x1;
    if (!map.RowSpan(py, x0, x1)) continue;
    x0 = std::max(x0, clip.x0);
    x1 = std::min(x1, clip.x1);
    if (x0 >= x1) continue;
    uint8_t* dst = back.PixelPtr(x0, py);
    if (copy) {
      BlendRow(dst, f.pixmap->PixelPtr(x0 - map.offX, py - map.offY), x1 - x0, state);
      continue;
    }
    for (int px = x0; px < x1; ++px, dst += 4) {
      if (filtered) {
        double u, v;
        map.SourceAt(px, py, u, v);
        unsigned s[4];
        Bilinear(f, u, v, s);
        BlendPixel(dst, s[0], s[1], s[2], s[3], state);
      } else {
        int tx, ty;
        if (!map.TexelAt(px, py, tx, ty)) continue;
        const uint8_t* s = f.pixmap->PixelPtr(tx, ty);
        BlendPixel(dst, s[0], s[1], s[2], s[3], state);
      }
    }
  }
}

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = *CurrentContext();
  TPlacement p;
  p.x = static_cast<double>(x) + g.originX;
  p.y = static_cast<double>(y) + g.originY;
  p.handleX = image->handleX;
  p.handleY = image->handleY;
  p.scaleX = g.scaleX;
  p.scaleY = g.scaleY;
  p.degrees = g.rotation;
  DrawFrame(g, f, p, image->flags & FILTEREDIMAGE);
}

void DrawImageRect(const TImagePtr& image, float x, float y, float width, float height, int frame) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = *CurrentContext();
  TPlacement p;
  p.x = static_cast<double>(x) + g.originX;
  p.y = static_cast<double>(y) + g.originY;
  p.handleX = image->handleX;
  p.handleY = image->handleY;
  p.scaleX = static_cast<double>(g.scaleX) * width / image->width;
  p.scaleY = static_cast<double>(g.scaleY) * height / image->height;
  p.degrees = g.rotation;
  DrawFrame(g, f, p, image->flags & FILTEREDIMAGE);
}
