// Drawing primitives of the quest's pictures.
#include "tools/questgen/canvas.h"
#include <algorithm>
#include <cmath>

extern const uint8_t kFontGlyphs[96][16];

namespace {

int Clamp(int v) { return std::clamp(v, 0, 255); }

}  // namespace

TRgb Shade(TRgb c, int delta) { return {Clamp(c.r + delta), Clamp(c.g + delta), Clamp(c.b + delta)}; }

TRgb Mix(TRgb a, TRgb b, float t) {
  return {Clamp(static_cast<int>(a.r + (b.r - a.r) * t)), Clamp(static_cast<int>(a.g + (b.g - a.g) * t)),
          Clamp(static_cast<int>(a.b + (b.b - a.b) * t))};
}

TCanvas::TCanvas(int width, int height, TRgb fill) : pixmap(CreatePixmap(width, height)) {
  Rect(0, 0, width, height, fill);
}

void TCanvas::Set(int x, int y, TRgb c, int alpha) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  uint8_t* p = pixmap->PixelPtr(x, y);
  if (alpha >= 255) {
    p[0] = static_cast<uint8_t>(c.r);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.b);
    p[3] = 255;
    return;
  }
  const float t = alpha / 255.0f;
  p[0] = static_cast<uint8_t>(p[0] + (c.r - p[0]) * t);
  p[1] = static_cast<uint8_t>(p[1] + (c.g - p[1]) * t);
  p[2] = static_cast<uint8_t>(p[2] + (c.b - p[2]) * t);
}

TRgb TCanvas::Get(int x, int y) const {
  const uint8_t* p = pixmap->PixelPtr(std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1));
  return {p[0], p[1], p[2]};
}

void TCanvas::Rect(int x, int y, int w, int h, TRgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void TCanvas::Frame(int x, int y, int w, int h, TRgb c, int t) {
  Rect(x, y, w, t, c);
  Rect(x, y + h - t, w, t, c);
  Rect(x, y, t, h, c);
  Rect(x + w - t, y, t, h, c);
}

void TCanvas::Ellipse(float cx, float cy, float rx, float ry, TRgb c) {
  for (int j = static_cast<int>(cy - ry) - 1; j <= static_cast<int>(cy + ry) + 1; ++j)
    for (int i = static_cast<int>(cx - rx) - 1; i <= static_cast<int>(cx + rx) + 1; ++i) {
      const float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Set(i, j, c);
    }
}

void TCanvas::Line(int x1, int y1, int x2, int y2, TRgb c, int thickness) {
  const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  for (int s = 0; s <= steps; ++s) {
    const float t = steps ? static_cast<float>(s) / steps : 0.0f;
    const int x = static_cast<int>(std::lround(x1 + (x2 - x1) * t));
    const int y = static_cast<int>(std::lround(y1 + (y2 - y1) * t));
    Rect(x - thickness / 2, y - thickness / 2, thickness, thickness, c);
  }
}

void TCanvas::Noise(int x, int y, int w, int h, int amount, uint32_t seed) {
  TNoise n(seed);
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const int d = n.Range(-amount, amount);
      if (d != 0) Set(i, j, Shade(Get(i, j), d));
    }
}

void TCanvas::VerticalGradient(int x, int y, int w, int h, TRgb top, TRgb bottom) {
  for (int j = 0; j < h; ++j) Rect(x, y + j, w, 1, Mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f));
}

void TCanvas::Text(int x, int y, const std::string& text, TRgb c, int scale) {
  for (size_t k = 0; k < text.size(); ++k) {
    const unsigned char code = static_cast<unsigned char>(text[k]);
    if (code < 32 || code > 127) continue;
    for (int row = 0; row < 16; ++row)
      for (int col = 0; col < 8; ++col)
        if (kFontGlyphs[code - 32][row] & (0x80 >> col))
          Rect(x + (static_cast<int>(k) * 8 + col) * scale, y + row * scale, scale, scale, c);
  }
}

void TCanvas::CentredText(int y, const std::string& text, TRgb c, int scale) {
  Text((Width() - TextWidth(text, scale)) / 2, y, text, c, scale);
}

void TCanvas::Paste(const TCanvas& from, int x, int y) {
  for (int j = 0; j < from.Height(); ++j)
    for (int i = 0; i < from.Width(); ++i) {
      const TRgb c = from.Get(i, j);
      if (!IsMask(c)) Set(x + i, y + j, c);
    }
}

bool TCanvas::Save(const std::string& path) const { return SavePixmapPNG(pixmap, path, 9); }
