// Alpha blending eight pixels at a time on processors with AVX2: the arithmetic of the
// four-pixel loops of blend.cpp on twice the lanes (each 128-bit half holds what one of them
// holds), and the same choice per group of four between the plain select of opaque and
// transparent pixels and the blend, so every pixel comes out as blend.cpp makes it.
#include <immintrin.h>

#include "platform/graphics/blend.h"

#define CORVEL_AVX2 __attribute__((target("avx2")))

namespace {

CORVEL_AVX2 inline __m256i Load(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
CORVEL_AVX2 inline void Store(uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

CORVEL_AVX2 inline __m256i Div255x16(__m256i x) {
  x = _mm256_add_epi16(x, _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

struct TBlender8 {
  __m256i colour, alpha, opaque;
  bool white;
};

CORVEL_AVX2 inline TBlender8 Blender(const TBlendState& s) {
  const short r = static_cast<short>(s.red), g = static_cast<short>(s.green),
              b = static_cast<short>(s.blue);
  return {_mm256_set_epi16(255, b, g, r, 255, b, g, r, 255, b, g, r, 255, b, g, r),
          _mm256_set1_epi16(static_cast<short>(s.alpha)),
          _mm256_set1_epi32(static_cast<int>(0xFF000000u)), s.white};
}

// Two pixels of each half, widened to 16 bits.
CORVEL_AVX2 inline __m256i Half(const TBlender8& b, __m256i s, __m256i d) {
  const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
  if (!b.white) s = Div255x16(_mm256_mullo_epi16(s, b.colour));
  const __m256i k = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(a, b.alpha), _mm256_set1_epi16(128)), 8);
  const __m256i inv = _mm256_sub_epi16(_mm256_set1_epi16(255), k);
  return Div255x16(_mm256_add_epi16(_mm256_mullo_epi16(s, k), _mm256_mullo_epi16(d, inv)));
}

CORVEL_AVX2 inline __m256i Blend(const TBlender8& b, __m256i src, __m256i dst) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = Half(b, _mm256_unpacklo_epi8(src, zero), _mm256_unpacklo_epi8(dst, zero));
  const __m256i hi = Half(b, _mm256_unpackhi_epi8(src, zero), _mm256_unpackhi_epi8(dst, zero));
  return _mm256_or_si256(_mm256_packus_epi16(lo, hi), b.opaque);
}

}  // namespace

bool CpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

CORVEL_AVX2 int AlphaSelectRectAvx2(uint8_t* dst, size_t dstStride, const uint8_t* src,
                                    size_t srcStride, int n, int rows, const TBlendState& s) {
  const TBlender8 blender = Blender(s);
  const int columns = n & ~7;
  for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride) {
    for (int i = 0; i < columns; i += 8) {
      const __m256i v = Load(src + 4 * i), d = Load(dst + 4 * i);
      const __m256i a = _mm256_and_si256(v, blender.opaque);
      const __m256i full = _mm256_cmpeq_epi32(a, blender.opaque);
      const __m256i clear = _mm256_cmpeq_epi32(a, _mm256_setzero_si256());
      const unsigned plain =
          static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(full, clear)));
      const __m256i selected = _mm256_blendv_epi8(d, v, full);
      if (__builtin_expect(plain == 0xFFFFFFFFu, 1)) {
        Store(dst + 4 * i, selected);
        continue;
      }
      // Each group of four whose pixels are not all opaque or transparent is blended.
      const long long low = (plain & 0xFFFFu) == 0xFFFFu ? -1 : 0;
      const long long high = plain >> 16 == 0xFFFFu ? -1 : 0;
      Store(dst + 4 * i, _mm256_blendv_epi8(Blend(blender, v, d), selected,
                                            _mm256_set_epi64x(high, high, low, low)));
    }
  }
  return columns;
}

CORVEL_AVX2 int AlphaBlendRectAvx2(uint8_t* dst, size_t dstStride, const uint8_t* src,
                                   size_t srcStride, int n, int rows, const TBlendState& s) {
  const TBlender8 blender = Blender(s);
  const int columns = n & ~7;
  for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride)
    for (int i = 0; i < columns; i += 8)
      Store(dst + 4 * i, Blend(blender, Load(src + 4 * i), Load(dst + 4 * i)));
  return columns;
}
