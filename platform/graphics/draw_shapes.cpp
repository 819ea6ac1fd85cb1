// Clearing, filled rectangles, lines and single pixels in the current colour.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/graphics/blend.h"
#include "platform/graphics/draw_internal.h"

namespace {

int PixelOf(double v) {
  return static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9)));
}

void PlotPixel(TGraphics& g, const TClip& clip, const TBlendState& s, int px, int py) {
  if (px < clip.x0 || px >= clip.x1 || py < clip.y0 || py >= clip.y1) return;
  BlendPixel(g.backBuffer->PixelPtr(px, py), 255, 255, 255, 255, s);
}

}  // namespace

void Cls() {
  TGraphics& g = ActiveContext();
  const TClip clip = ClipOf(g);
  const uint32_t v = PackRGBA(g.clsRed, g.clsGreen, g.clsBlue, 255);
  for (int y = clip.y0; y < clip.y1 && clip.x0 < clip.x1; ++y) {
    TPixel32* row = reinterpret_cast<TPixel32*>(g.backBuffer->PixelPtr(clip.x0, y));
    std::fill(row, row + (clip.x1 - clip.x0), v);
  }
}

void DrawRect(float x, float y, float width, float height) {
  TGraphics& g = ActiveContext();
  // A one-pixel source stretched to the rectangle: the same coverage rule as images.
  TPlacement p;
  p.x = static_cast<double>(x) + g.originX;
  p.y = static_cast<double>(y) + g.originY;
  p.scaleX = static_cast<double>(width) * g.scaleX;
  p.scaleY = static_cast<double>(height) * g.scaleY;
  p.degrees = g.rotation;
  const TPixelMap map(1, 1, p);
  if (map.Empty()) return;
  const TClip clip = ClipOf(g);
  const TBlendState state(g);
  for (int py = std::max(map.by0, clip.y0); py < std::min(map.by1, clip.y1); ++py) {
    int x0, x1;
    if (!map.RowSpan(py, x0, x1)) continue;
    x0 = std::max(x0, clip.x0);
    x1 = std::min(x1, clip.x1);
    if (x0 < x1) FillRow(g.backBuffer->PixelPtr(x0, py), x1 - x0, 255, 255, 255, 255, state);
  }
}

void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel) {
  TGraphics& g = ActiveContext();
  const TClip clip = ClipOf(g);
  const TBlendState state(g);
  int ax = PixelOf(static_cast<double>(x1) + g.originX), ay = PixelOf(static_cast<double>(y1) + g.originY);
  const int bx = PixelOf(static_cast<double>(x2) + g.originX), by = PixelOf(static_cast<double>(y2) + g.originY);
  const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
  const int stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
  int err = dx + dy;
  while (ax != bx || ay != by) {
    PlotPixel(g, clip, state, ax, ay);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; ax += stepX; }
    if (e2 <= dx) { err += dx; ay += stepY; }
  }
  if (drawLastPixel) PlotPixel(g, clip, state, bx, by);
}

void Plot(float x, float y) {
  TGraphics& g = ActiveContext();
  PlotPixel(g, ClipOf(g), TBlendState(g), PixelOf(static_cast<double>(x) + g.originX),
            PixelOf(static_cast<double>(y) + g.originY));
}
