// Text in the built-in 8 x 16 font: glyphs for the codes 32 to 127, 8 pixels of advance
// each; other codes have no glyph, take no room and draw nothing.
#include <cmath>

#include "platform/graphics/draw_internal.h"

extern const uint8_t kFontGlyphs[96][16];

namespace {

constexpr int kFirstCode = 32, kLastCode = 127, kGlyphWidth = 8, kGlyphHeight = 16;

bool HasGlyph(unsigned char c) { return c >= kFirstCode && c <= kLastCode; }

// The glyphs as white frames, lit pixels opaque and the rest transparent; drawn unfiltered.
const TImage& FontImage() {
  static const TImagePtr image = [] {
    auto img = std::make_shared<TImage>();
    img->width = kGlyphWidth;
    img->height = kGlyphHeight;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
      auto pm = std::make_shared<TPixmap>(kGlyphWidth, kGlyphHeight);
      for (int row = 0; row < kGlyphHeight; ++row) {
        const uint8_t bits = kFontGlyphs[code - kFirstCode][row];
        for (int col = 0; col < kGlyphWidth; ++col) {
          uint8_t* p = pm->PixelPtr(col, row);
          p[0] = p[1] = p[2] = 255;
          p[3] = (bits & (0x80 >> col)) ? 255 : 0;
        }
      }
      img->frames.push_back(pm);
    }
    return img;
  }();
  return *image;
}

}  // namespace

int TextWidth(const std::string& text) {
  int width = 0;
  for (unsigned char c : text) width += HasGlyph(c) ? kGlyphWidth : 0;
  return width;
}

int TextHeight(const std::string&) { return kGlyphHeight; }

void DrawText(const std::string& text, float x, float y) {
  TGraphics& g = ActiveContext();
  const TImage& font = FontImage();
  // Each glyph's top-left corner follows the previous one's advance, scaled and rotated
  // like the glyphs themselves.
  const double r = g.rotation * (3.14159265358979323846 / 180.0);
  const double stepX = std::cos(r) * kGlyphWidth * g.scaleX, stepY = std::sin(r) * kGlyphWidth * g.scaleX;
  TPlacement p = PlaceImage(g, font, x, y);
  const double startX = p.x, startY = p.y;
  int index = 0;
  for (unsigned char c : text) {
    if (!HasGlyph(c)) continue;
    TFrameSource f;
    f.pixmap = font.frames[c - kFirstCode].get();
    f.width = kGlyphWidth;
    f.height = kGlyphHeight;
    p.x = startX + stepX * index;
    p.y = startY + stepY * index;
    DrawFrame(g, f, p, false);
    ++index;
  }
}
