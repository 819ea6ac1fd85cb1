#pragma once
// Blending of source pixels into the back buffer by the context's blend mode, colour and
// alpha. The back buffer stays opaque: every written pixel gets alpha 255.
#include <cstddef>
#include <cstdint>

#include "platform/graphics/graphics_context.h"
#include "platform/graphics/raster.h"

struct TBlendState {
  explicit TBlendState(const TGraphics& g);
  int mode;
  unsigned red, green, blue;  // colour modulation, 0..255
  unsigned alpha;             // SetAlpha as 0..256
  bool white;                 // colour is (255, 255, 255)
};

// x / 255 rounded, for x in 0 .. 255 * 255.
inline unsigned Div255(unsigned x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// Blends one source pixel (r, g, b, a: 0..255, not yet modulated by the colour) into d.
[[gnu::always_inline]] inline void BlendPixel(uint8_t* d, unsigned r, unsigned g, unsigned b, unsigned a,
                       const TBlendState& s) {
  if (!s.white) {
    r = Div255(r * s.red);
    g = Div255(g * s.green);
    b = Div255(b * s.blue);
  }
  switch (s.mode) {
    case MASKBLEND:
      if (a < 128) return;
      [[fallthrough]];
    case SOLIDBLEND:
      d[0] = static_cast<uint8_t>(r);
      d[1] = static_cast<uint8_t>(g);
      d[2] = static_cast<uint8_t>(b);
      break;
    case LIGHTBLEND: {
      const unsigned k = (a * s.alpha + 128) >> 8;
      const unsigned add[3] = {Div255(r * k), Div255(g * k), Div255(b * k)};
      for (int i = 0; i < 3; ++i) {
        const unsigned v = d[i] + add[i];
        d[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
      }
      break;
    }
    case SHADEBLEND: {
      const unsigned k = (a * s.alpha + 128) >> 8;
      const unsigned src[3] = {r, g, b};
      for (int i = 0; i < 3; ++i) {
        const unsigned shaded = Div255(d[i] * src[i]);
        d[i] = static_cast<uint8_t>(Div255(shaded * k + d[i] * (255 - k)));
      }
      break;
    }
    default: {  // ALPHABLEND
      const unsigned k = (a * s.alpha + 128) >> 8;
      if (k == 0) return;
      d[0] = static_cast<uint8_t>(Div255(r * k + d[0] * (255 - k)));
      d[1] = static_cast<uint8_t>(Div255(g * k + d[1] * (255 - k)));
      d[2] = static_cast<uint8_t>(Div255(b * k + d[2] * (255 - k)));
      break;
    }
  }
  d[3] = 255;
}

// Alpha blending on processors with AVX2 (blend_avx2.cpp), eight pixels at a time with the
// pixels of the four-pixel loops: each blends the block's first columns, a multiple of eight,
// and returns how many. The first for a white colour and full SetAlpha (opaque and
// transparent pixels selected, others blended), the second for any colour and alpha.
bool CpuHasAvx2();
int AlphaSelectRectAvx2(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride,
                        int n, int rows, const TBlendState& s);
int AlphaBlendRectAvx2(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride,
                       int n, int rows, const TBlendState& s);

// A block of rows of n source pixels each copied 1:1 into the destination with blending
// (strides in bytes).
void BlendRect(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride, int n,
               int rows, const TBlendState& s);
// A run of n destination pixels covered by one source colour.
void FillRow(uint8_t* dst, int n, unsigned r, unsigned g, unsigned b, unsigned a, const TBlendState& s);
