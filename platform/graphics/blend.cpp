// Row loops of the blender. Mask, solid and alpha modes run four pixels at a time (SSE2),
// alpha blending eight at a time where the processor has AVX2 (blend_avx2.cpp); alpha blending
// of groups whose pixels are each opaque or fully transparent (solid and masked tile pixels)
// is a plain select. The other modes go pixel by pixel.
#include "platform/graphics/blend.h"

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

__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// x / 255 rounded in each 16-bit lane, x up to 255 * 255 (as Div255).
__m128i Div255x8(__m128i x) {
  x = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Alpha blending of four pixels, the same arithmetic as BlendPixel: colour modulation, then
// k = (pixel alpha * SetAlpha + 128) >> 8 and d + (s - d) * k / 255.
class TAlphaBlender {
public:
  explicit TAlphaBlender(const TBlendState& s)
      : colour_(_mm_set_epi16(255, static_cast<short>(s.blue), static_cast<short>(s.green),
                              static_cast<short>(s.red), 255, static_cast<short>(s.blue),
                              static_cast<short>(s.green), static_cast<short>(s.red))),
        alpha_(_mm_set1_epi16(static_cast<short>(s.alpha))),
        white_(s.white) {}

  __m128i Blend(__m128i src, __m128i dst) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = Half(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero));
    const __m128i hi = Half(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero));
    return _mm_or_si128(_mm_packus_epi16(lo, hi), kOpaque);
  }

private:
  __m128i Half(__m128i s, __m128i d) const {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    if (!white_) s = Div255x8(_mm_mullo_epi16(s, colour_));
    const __m128i k = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, alpha_), _mm_set1_epi16(128)), 8);
    const __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), k);
    return Div255x8(_mm_add_epi16(_mm_mullo_epi16(s, k), _mm_mullo_epi16(d, inv)));
  }

  __m128i colour_, alpha_;
  bool white_;
};

// The row from pixel i on.
template <typename Four, typename One>
void Row(uint8_t* dst, const uint8_t* src, int i, int n, Four four, One one) {
  for (; i + 4 <= n; i += 4) Store(dst + 4 * i, four(Load(src + 4 * i), Load(dst + 4 * i)));
  for (; i < n; ++i) one(dst + 4 * i, src + 4 * i);
}

// The row's pixels from `from` on.
void BlendRow(uint8_t* dst, const uint8_t* src, int from, int n, const TBlendState& s) {
  auto scalar = [&s](uint8_t* d, const uint8_t* p) { BlendPixel(d, p[0], p[1], p[2], p[3], s); };
  if (s.white && s.mode == MASKBLEND) {
    Row(dst, src, from, n, [](__m128i v, __m128i d) {
      const __m128i solid = _mm_srai_epi32(v, 31);  // all ones where alpha >= 128
      return _mm_or_si128(_mm_and_si128(solid, _mm_or_si128(v, kOpaque)), _mm_andnot_si128(solid, d));
    }, scalar);
  } else if (s.white && s.mode == SOLIDBLEND) {
    Row(dst, src, from, n, [](__m128i v, __m128i) { return _mm_or_si128(v, kOpaque); }, scalar);
  } else if (s.mode == ALPHABLEND && s.white && s.alpha >= 256) {
    const TAlphaBlender blender(s);
    Row(dst, src, from, n, [&blender](__m128i v, __m128i d) {
      const __m128i a = _mm_and_si128(v, kOpaque);
      const __m128i full = _mm_cmpeq_epi32(a, kOpaque);
      const __m128i clear = _mm_cmpeq_epi32(a, _mm_setzero_si128());
      if (__builtin_expect(_mm_movemask_epi8(_mm_or_si128(full, clear)) == 0xFFFF, 1)) {
        return _mm_or_si128(_mm_and_si128(full, v), _mm_andnot_si128(full, d));
      }
      return blender.Blend(v, d);
    }, scalar);
  } else if (s.mode == ALPHABLEND) {
    const TAlphaBlender blender(s);
    Row(dst, src, from, n, [&blender](__m128i v, __m128i d) { return blender.Blend(v, d); }, scalar);
  } else {
    for (int i = from; i < n; ++i) scalar(dst + 4 * i, src + 4 * i);
  }
}

}  // namespace

void BlendRect(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride, int n,
               int rows, const TBlendState& s) {
  if (n <= 0) return;
  int done = 0;
  if (s.mode == ALPHABLEND && CpuHasAvx2()) {
    done = s.white && s.alpha >= 256 ? AlphaSelectRectAvx2(dst, dstStride, src, srcStride, n, rows, s)
                                     : AlphaBlendRectAvx2(dst, dstStride, src, srcStride, n, rows, s);
  }
  if (done == n) return;
  for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride) BlendRow(dst, src, done, n, s);
}

void FillRow(uint8_t* dst, int n, unsigned r, unsigned g, unsigned b, unsigned a, const TBlendState& s) {
  if (n <= 0) return;
  const bool opaque = s.mode == SOLIDBLEND || (s.mode == MASKBLEND && a >= 128) ||
                      (s.mode == ALPHABLEND && a == 255 && s.alpha >= 256);
  if (opaque) {
    uint8_t first[4] = {0, 0, 0, 255};
    BlendPixel(first, r, g, b, 255, s);  // the colour, modulated
    uint32_t v;
    std::memcpy(&v, first, 4);
    TPixel32* d = reinterpret_cast<TPixel32*>(dst);
    std::fill(d, d + n, v);
    return;
  }
  if (s.mode == ALPHABLEND) {
    const TAlphaBlender blender(s);
    const __m128i v = _mm_set1_epi32(static_cast<int>(PackRGBA(r, g, b, a)));
    int i = 0;
    for (; i + 4 <= n; i += 4) Store(dst + 4 * i, blender.Blend(v, Load(dst + 4 * i)));
    for (; i < n; ++i) BlendPixel(dst + 4 * i, r, g, b, a, s);
    return;
  }
  for (int i = 0; i < n; ++i) BlendPixel(dst + 4 * i, r, g, b, a, s);
}
