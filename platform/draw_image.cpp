// Drawing of image frames: the 1:1 row copy for unrotated, unscaled frames, and the
// general per-pixel path (nearest or bilinear) for everything else.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/blend.h"
#include "platform/draw_internal.h"

namespace {

// Bilinear sampling along a row, in 16.16 fixed point from the source coordinates (u, v) of
// the first pixel's centre, edges clamped. Where the four texels differ in alpha, colours
// are weighted by alpha so that transparent (masked) texels do not bleed into edges. The
// samples go to out (n pixels), to be blended as one row.
void BilinearRow(uint8_t* out, const TFrameSource& f, double u, double v, double du, double dv, int n) {
  constexpr double kOne = 65536.0;
  int64_t fx = std::llround((u - 0.5) * kOne), fy = std::llround((v - 0.5) * kOne);
  const int64_t sx = std::llround(du * kOne), sy = std::llround(dv * kOne);
  const int maxX = f.width - 1, maxY = f.height - 1;
  const uint8_t* base = f.pixmap->pixels.data();
  const size_t stride = static_cast<size_t>(f.pixmap->width) * 4;
  for (int i = 0; i < n; ++i, fx += sx, fy += sy, out += 4) {
    const int ix = static_cast<int>(fx >> 16), iy = static_cast<int>(fy >> 16);
    const unsigned wx = static_cast<unsigned>(fx >> 8) & 255, wy = static_cast<unsigned>(fy >> 8) & 255;
    const int x0 = std::clamp(ix, 0, maxX), x1 = std::clamp(ix + 1, 0, maxX);
    const int y0 = std::clamp(iy, 0, maxY), y1 = std::clamp(iy + 1, 0, maxY);
    const uint8_t* p[4] = {base + y0 * stride + x0 * 4, base + y0 * stride + x1 * 4,
                           base + y1 * stride + x0 * 4, base + y1 * stride + x1 * 4};
    const unsigned w[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    std::memset(out, 0, 4);
    if (p[0][3] == p[1][3] && p[0][3] == p[2][3] && p[0][3] == p[3][3]) {
      if (p[0][3] == 0) continue;
      for (int c = 0; c < 3; ++c) {
        out[c] = static_cast<uint8_t>((w[0] * p[0][c] + w[1] * p[1][c] + w[2] * p[2][c] + w[3] * p[3][c] + 32768) >> 16);
      }
      out[3] = p[0][3];
    } else {
      // Weights of 0..256 times alpha.
      const unsigned a0 = (w[0] >> 8) * p[0][3], a1 = (w[1] >> 8) * p[1][3];
      const unsigned a2 = (w[2] >> 8) * p[2][3], a3 = (w[3] >> 8) * p[3][3];
      const unsigned a = a0 + a1 + a2 + a3;
      if (a == 0) continue;
      const float inv = 1.0f / static_cast<float>(a);
      for (int c = 0; c < 3; ++c) {
        const unsigned sum = a0 * p[0][c] + a1 * p[1][c] + a2 * p[2][c] + a3 * p[3][c];
        out[c] = static_cast<uint8_t>(static_cast<float>(sum) * inv + 0.5f);
      }
      out[3] = static_cast<uint8_t>((a + 128) >> 8);
    }
  }
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
      double u, v, du, dv;
      map.StepX(du, dv);
      uint8_t samples[4 * 256];
      for (int px = x0; px < x1; px += 256) {
        const int n = std::min(256, x1 - px);
        map.SourceAt(px, py, u, v);
        BilinearRow(samples, f, u, v, du, dv, n);
        BlendRect(back.PixelPtr(px, py), 0, samples, 0, n, 1, state);
      }
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

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = ActiveContext();
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
  TGraphics& g = ActiveContext();
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
