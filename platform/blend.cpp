// Row loops of the blender, with fast paths for the common plain cases: white colour and
// full alpha under the mask, solid and alpha modes.
#include "platform/blend.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

TBlendState::TBlendState(const TGraphics& g)
    : mode(g.blend),
      red(static_cast<unsigned>(g.red)),
      green(static_cast<unsigned>(g.green)),
      blue(static_cast<unsigned>(g.blue)),
      alpha(static_cast<unsigned>(std::clamp(g.alpha, 0.0f, 1.0f) * 256.0f + 0.5f)),
      white(g.red == 255 && g.green == 255 && g.blue == 255) {}

namespace {

const __m128i kOpaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));

// Copies pixels whose alpha is 128 or more.
void MaskRow(uint8_t* dst, const uint8_t* src, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * i));
    const __m128i solid = _mm_srai_epi32(v, 31);  // all ones where alpha >= 128
    const __m128i out = _mm_or_si128(_mm_and_si128(solid, _mm_or_si128(v, kOpaque)),
                                     _mm_andnot_si128(solid, d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), out);
  }
  for (; i < n; ++i) {
    if (src[4 * i + 3] >= 128) {
      std::memcpy(dst + 4 * i, src + 4 * i, 3);
      dst[4 * i + 3] = 255;
    }
  }
}

void SolidRow(uint8_t* dst, const uint8_t* src, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), _mm_or_si128(v, kOpaque));
  }
  for (; i < n; ++i) {
    std::memcpy(dst + 4 * i, src + 4 * i, 3);
    dst[4 * i + 3] = 255;
  }
}

// Alpha blending at full SetAlpha with a white colour: groups of four pixels that are each
// opaque or fully transparent (solid and masked tile pixels) are a select; the rest are
// blended pixel by pixel.
void PlainAlphaRow(uint8_t* dst, const uint8_t* src, int n, const TBlendState& s) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
    const __m128i a = _mm_and_si128(v, kOpaque);
    const __m128i full = _mm_cmpeq_epi32(a, kOpaque);
    const __m128i clear = _mm_cmpeq_epi32(a, _mm_setzero_si128());
    if (_mm_movemask_epi8(_mm_or_si128(full, clear)) == 0xFFFF) {
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * i));
      const __m128i out = _mm_or_si128(_mm_and_si128(full, v), _mm_andnot_si128(full, d));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), out);
      continue;
    }
    for (int k = i; k < i + 4; ++k) {
      const uint8_t* p = src + 4 * k;
      BlendPixel(dst + 4 * k, p[0], p[1], p[2], p[3], s);
    }
  }
  for (; i < n; ++i) {
    const uint8_t* p = src + 4 * i;
    BlendPixel(dst + 4 * i, p[0], p[1], p[2], p[3], s);
  }
}

}  // namespace

void BlendRect(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride, int n,
               int rows, const TBlendState& s) {
  if (n <= 0) return;
  for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride) {
    if (s.white && s.mode == MASKBLEND) {
      MaskRow(dst, src, n);
    } else if (s.white && s.mode == SOLIDBLEND) {
      SolidRow(dst, src, n);
    } else if (s.white && s.mode == ALPHABLEND && s.alpha >= 256) {
      PlainAlphaRow(dst, src, n, s);
    } else {
      for (int i = 0; i < n; ++i) {
        const uint8_t* p = src + 4 * i;
        BlendPixel(dst + 4 * i, p[0], p[1], p[2], p[3], s);
      }
    }
  }
}

void FillRow(uint8_t* dst, int n, unsigned r, unsigned g, unsigned b, unsigned a, const TBlendState& s) {
  const bool opaque = s.mode == SOLIDBLEND || (s.mode == MASKBLEND && a >= 128) ||
                      (s.mode == ALPHABLEND && a == 255 && s.alpha >= 256);
  if (!opaque || n <= 0) {
    for (int i = 0; i < n; ++i) BlendPixel(dst + 4 * i, r, g, b, a, s);
    return;
  }
  uint8_t first[4] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255};
  BlendPixel(first, r, g, b, 255, s);  // applies the colour modulation
  uint32_t v;
  std::memcpy(&v, first, 4);
  TPixel32* d = reinterpret_cast<TPixel32*>(dst);
  std::fill(d, d + n, v);
}
