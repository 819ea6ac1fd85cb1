#pragma once
// A small RGBA drawing surface for the quest's pictures, saved as PNG through the platform.
#include <cstdint>
#include <string>
#include "platform/graphics/graphics.h"

struct TRgb {
  int r = 0, g = 0, b = 0;
};

constexpr TRgb kMask{255, 0, 255};

constexpr bool IsMask(TRgb c) { return c.r == kMask.r && c.g == kMask.g && c.b == kMask.b; }

TRgb Shade(TRgb c, int delta);
TRgb Mix(TRgb a, TRgb b, float t);

class TCanvas {
public:
  TCanvas(int width, int height, TRgb fill = kMask);
  int Width() const { return pixmap->width; }
  int Height() const { return pixmap->height; }
  void Set(int x, int y, TRgb c, int alpha = 255);
  TRgb Get(int x, int y) const;
  void Rect(int x, int y, int w, int h, TRgb c);
  void Frame(int x, int y, int w, int h, TRgb c, int thickness = 1);
  void Ellipse(float cx, float cy, float rx, float ry, TRgb c);
  void Line(int x1, int y1, int x2, int y2, TRgb c, int thickness = 1);
  // Speckles of lighter and darker pixels over a rectangle, the same for the same seed.
  void Noise(int x, int y, int w, int h, int amount, uint32_t seed);
  void VerticalGradient(int x, int y, int w, int h, TRgb top, TRgb bottom);
  // Text in the built-in 8 x 16 font, each font pixel a scale x scale block.
  void Text(int x, int y, const std::string& text, TRgb c, int scale = 1);
  void CentredText(int y, const std::string& text, TRgb c, int scale = 1);
  static int TextWidth(const std::string& text, int scale = 1) { return static_cast<int>(text.size()) * 8 * scale; }
  // Copies another canvas onto this one; mask pixels of the source are skipped.
  void Paste(const TCanvas& from, int x, int y);
  bool Save(const std::string& path) const;

private:
  TPixmapPtr pixmap;
};

// A strip of `frames` 32 x 32 frames side by side; `draw(c, ox, f)` paints frame f at column ox.
template <class TDraw>
TCanvas Strip(int frames, TDraw draw, TRgb fill = kMask) {
  TCanvas c(32 * frames, 32, fill);
  for (int f = 0; f < frames; ++f) draw(c, f * 32, f);
  return c;
}

// A deterministic generator for the pictures' and sounds' variations.
class TNoise {
public:
  explicit TNoise(uint32_t seed) : state(seed ? seed : 1) {}
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Range(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }
  float Unit() { return static_cast<float>(Next() & 0xFFFFFF) / 16777216.0f; }

private:
  uint32_t state;
};
