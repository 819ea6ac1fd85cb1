// Bilinear sampling in 16.16 fixed point, one pixel at a time, or eight at a time with AVX2
// (bilinear_avx2.cpp) along rows that keep to one band of texel rows. Four texels of equal
// alpha (inside solid areas and inside masked ones) are mixed four channels at a time; where
// their alpha differs (edges of masked areas), colours are weighted by alpha so that
// transparent texels do not bleed their colour into the edge.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/draw_internal.h"

namespace {

// Rows r0 and r1 hold the texel pairs (x, x + 1); weights out of 256.
uint32_t MixEqualAlpha(const uint8_t* r0, const uint8_t* r1, unsigned wx, unsigned wy) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)), zero);
  const __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1)), zero);
  const __m128i half = _mm_set1_epi16(128);
  __m128i v = _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(static_cast<short>(256 - wy))),
                            _mm_mullo_epi16(bottom, _mm_set1_epi16(static_cast<short>(wy))));
  v = _mm_srli_epi16(_mm_add_epi16(v, half), 8);
  const __m128i weights = _mm_set_epi16(static_cast<short>(wx), static_cast<short>(wx), static_cast<short>(wx),
                                        static_cast<short>(wx), static_cast<short>(256 - wx),
                                        static_cast<short>(256 - wx), static_cast<short>(256 - wx),
                                        static_cast<short>(256 - wx));
  __m128i h = _mm_mullo_epi16(v, weights);
  h = _mm_add_epi16(h, _mm_srli_si128(h, 8));
  h = _mm_srli_epi16(_mm_add_epi16(h, half), 8);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(h, zero)));
}

// The general case: any texels (clamped at the edges), alpha-weighted colours.
void MixWeighted(uint8_t* out, const uint8_t* const p[4], unsigned wx, unsigned wy) {
  const unsigned w[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
  const unsigned a0 = (w[0] >> 8) * p[0][3], a1 = (w[1] >> 8) * p[1][3];
  const unsigned a2 = (w[2] >> 8) * p[2][3], a3 = (w[3] >> 8) * p[3][3];
  const unsigned a = a0 + a1 + a2 + a3;
  if (a == 0) {
    std::memset(out, 0, 4);
    return;
  }
  const float inv = 1.0f / static_cast<float>(a);
  for (int c = 0; c < 3; ++c) {
    const unsigned sum = a0 * p[0][c] + a1 * p[1][c] + a2 * p[2][c] + a3 * p[3][c];
    out[c] = static_cast<uint8_t>(static_cast<float>(sum) * inv + 0.5f);
  }
  out[3] = static_cast<uint8_t>((a + 128) >> 8);
}

// std::llround without its call, for values well within 64 bits: the truncation and what it
// leaves, both exact there, rounded half away from zero.
int64_t RoundToInt(double x) {
  if (!(x > -0x1p52 && x < 0x1p52)) return std::llround(x);
  int64_t i = static_cast<int64_t>(x);
  const double rest = x - static_cast<double>(i);
  if (rest >= 0.5) ++i;
  if (rest <= -0.5) --i;
  return i;
}

}  // namespace

void BilinearRow(uint8_t* out, const TFrameSource& f, double u, double v, double du, double dv, int n,
                 bool wide) {
  constexpr double kOne = 65536.0;
  int64_t fx = RoundToInt((u - 0.5) * kOne), fy = RoundToInt((v - 0.5) * kOne);
  const int64_t sx = RoundToInt(du * kOne), sy = RoundToInt(dv * kOne);
  const int maxX = f.width - 1, maxY = f.height - 1;
  const uint8_t* base = f.pixmap->pixels.data();
  const size_t stride = static_cast<size_t>(f.pixmap->width) * 4;
  if (wide && sy == 0) {
    // Every pixel of the row takes the same two texel rows with the same vertical weight.
    const int iy = static_cast<int>(fy >> 16);
    const uint8_t* r0 = base + std::clamp(iy, 0, maxY) * stride;
    const uint8_t* r1 = base + std::clamp(iy + 1, 0, maxY) * stride;
    const int wy = static_cast<int>(static_cast<unsigned>(fy >> 8) & 255);
    if (BilinearBandAvx2(out, r0, r1, wy, fx, sx, maxX, n) == n) return;
  }
  for (int i = 0; i < n; ++i, fx += sx, fy += sy, out += 4) {
    const int ix = static_cast<int>(fx >> 16), iy = static_cast<int>(fy >> 16);
    const unsigned wx = static_cast<unsigned>(fx >> 8) & 255, wy = static_cast<unsigned>(fy >> 8) & 255;
    const uint8_t* r0 = base + std::clamp(iy, 0, maxY) * stride;
    const uint8_t* r1 = base + std::clamp(iy + 1, 0, maxY) * stride;
    if (ix >= 0 && ix < maxX) {
      const uint8_t* t = r0 + ix * 4;
      const uint8_t* b = r1 + ix * 4;
      if (t[3] == t[7] && t[3] == b[3] && t[3] == b[7]) {
        const uint32_t mixed = MixEqualAlpha(t, b, wx, wy);
        std::memcpy(out, &mixed, 4);
        out[3] = t[3];
        continue;
      }
    }
    const int x0 = std::clamp(ix, 0, maxX) * 4, x1 = std::clamp(ix + 1, 0, maxX) * 4;
    const uint8_t* p[4] = {r0 + x0, r0 + x1, r1 + x0, r1 + x1};
    MixWeighted(out, p, wx, wy);
  }
}
