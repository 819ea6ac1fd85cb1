// Bilinear sampling eight pixels at a time on processors with AVX2, along a row that keeps to
// one band of texel rows: each pixel takes the mix that bilinear.cpp gives it (equal alphas
// inside the frame's columns, else weighted by alpha) with the same arithmetic, one pixel per
// 32-bit lane. The equal-alpha mix is bilinear.cpp's on 16-bit lanes; the weighted one forms
// the same whole numbers, and its colour sums (below 2^24) are exact in single precision, so
// the one division and rounding that follow are bilinear.cpp's too.
#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "platform/graphics/draw_internal.h"

#define CORVEL_AVX2 __attribute__((target("avx2")))

namespace {

// Eight pixels: the neighbourhood's top left, top right, bottom left and bottom right texels
// (RGBA), the weights of the right and lower texels out of 256, all ones where the pixel lies
// inside the frame's columns (its right texel is not clamped onto its left one), and whether
// any pixel mixes across (without, every wx is 0: a frame stretched down only).
struct TOct {
  __m256i tl, tr, bl, br, wx, wy, inside;
  bool across = true;
};

CORVEL_AVX2 inline __m256i Alpha(__m256i texels) { return _mm256_srli_epi32(texels, 24); }

// Each lane's low 16 bits in the four 16-bit lanes of its pixel, as the bytes of the texels
// unpack: lo for pixels 0, 1, 4 and 5, hi for 2, 3, 6 and 7.
CORVEL_AVX2 inline void Spread(__m256i w, __m256i& lo, __m256i& hi) {
  const __m256i twice = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
  lo = _mm256_unpacklo_epi32(twice, twice);
  hi = _mm256_unpackhi_epi32(twice, twice);
}

// (a * (256 - w) + b * w + 128) >> 8 in 16-bit lanes; no sum exceeds 255 * 256 + 128.
CORVEL_AVX2 inline __m256i Lerp(__m256i a, __m256i b, __m256i w, __m256i rest) {
  const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(a, rest), _mm256_mullo_epi16(b, w));
  return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// Down the two columns, then across. Across with wx 0 weighs the left column by 256 and the
// right one by 0: the left column's value, exactly.
CORVEL_AVX2 inline __m256i HalfEqual(__m256i tl, __m256i tr, __m256i bl, __m256i br, __m256i wx,
                                     __m256i wy, bool across) {
  const __m256i full = _mm256_set1_epi16(256), restY = _mm256_sub_epi16(full, wy);
  const __m256i left = Lerp(tl, bl, wy, restY);
  if (!across) return left;
  return Lerp(left, Lerp(tr, br, wy, restY), wx, _mm256_sub_epi16(full, wx));
}

// Equal alphas: each channel mixed down the columns, then across; the alpha is the texels' own.
CORVEL_AVX2 inline __m256i MixEqualAlpha(const TOct& q) {
  const __m256i zero = _mm256_setzero_si256(), alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  __m256i wxLo, wxHi, wyLo, wyHi;
  Spread(q.wx, wxLo, wxHi);
  Spread(q.wy, wyLo, wyHi);
  const __m256i lo = HalfEqual(_mm256_unpacklo_epi8(q.tl, zero), _mm256_unpacklo_epi8(q.tr, zero),
                               _mm256_unpacklo_epi8(q.bl, zero), _mm256_unpacklo_epi8(q.br, zero), wxLo, wyLo, q.across);
  const __m256i hi = HalfEqual(_mm256_unpackhi_epi8(q.tl, zero), _mm256_unpackhi_epi8(q.tr, zero),
                               _mm256_unpackhi_epi8(q.bl, zero), _mm256_unpackhi_epi8(q.br, zero), wxHi, wyHi, q.across);
  const __m256i mixed = _mm256_packus_epi16(lo, hi);
  return _mm256_blendv_epi8(mixed, q.tl, alphaByte);
}

// Texel i weighs ((its bilinear weight out of 65536) >> 8) * its alpha, below 2^16. The factors
// fit 16 bits with nothing above them, so madd gives their 32-bit product.
CORVEL_AVX2 inline __m256i Weight(__m256i a, __m256i b, __m256i texel) {
  return _mm256_madd_epi16(_mm256_srli_epi32(_mm256_madd_epi16(a, b), 8), Alpha(texel));
}

// The weighted sum of the channel that the mask keeps, the channel's byte left in place: the
// sum comes out times 2^(8c) for channel c, exactly, as every product and partial sum is a
// whole number below 2^24 before that scaling.
CORVEL_AVX2 inline __m256 Channel(const __m256i texels[4], const __m256 weights[4], __m256i mask) {
  __m256 sum = _mm256_mul_ps(weights[0], _mm256_cvtepi32_ps(_mm256_and_si256(texels[0], mask)));
  for (int i = 1; i < 4; ++i)
    sum = _mm256_add_ps(sum, _mm256_mul_ps(weights[i], _mm256_cvtepi32_ps(_mm256_and_si256(texels[i], mask))));
  return sum;
}

// Alpha-weighted: each colour is its weighted sum times the reciprocal of the total weight
// (scaled back by the channel's 2^(8c), exactly), plus a half, truncated; the alpha is the total
// weight out of 256, rounded. No weight at all gives a transparent black.
CORVEL_AVX2 inline __m256i MixWeighted(const TOct& q) {
  const __m256i full = _mm256_set1_epi32(256);
  const __m256i restX = _mm256_sub_epi32(full, q.wx), restY = _mm256_sub_epi32(full, q.wy);
  const __m256i texels[4] = {q.tl, q.tr, q.bl, q.br};
  const __m256i weights[4] = {Weight(restX, restY, q.tl), Weight(q.wx, restY, q.tr),
                              Weight(restX, q.wy, q.bl), Weight(q.wx, q.wy, q.br)};
  const __m256 factors[4] = {_mm256_cvtepi32_ps(weights[0]), _mm256_cvtepi32_ps(weights[1]),
                             _mm256_cvtepi32_ps(weights[2]), _mm256_cvtepi32_ps(weights[3])};
  const __m256i total = _mm256_add_epi32(_mm256_add_epi32(weights[0], weights[1]),
                                         _mm256_add_epi32(weights[2], weights[3]));
  const __m256 inv = _mm256_div_ps(_mm256_set1_ps(1.0f), _mm256_cvtepi32_ps(total));
  const __m256 half = _mm256_set1_ps(0.5f);
  const __m256 red =
      _mm256_add_ps(_mm256_mul_ps(Channel(texels, factors, _mm256_set1_epi32(0xFF)), inv), half);
  const __m256 green = _mm256_add_ps(_mm256_mul_ps(Channel(texels, factors, _mm256_set1_epi32(0xFF00)),
                                                   _mm256_mul_ps(inv, _mm256_set1_ps(0x1p-8f))),
                                     half);
  const __m256 blue = _mm256_add_ps(_mm256_mul_ps(Channel(texels, factors, _mm256_set1_epi32(0xFF0000)),
                                                  _mm256_mul_ps(inv, _mm256_set1_ps(0x1p-16f))),
                                    half);
  const __m256i alpha = _mm256_srli_epi32(_mm256_add_epi32(total, _mm256_set1_epi32(128)), 8);
  const __m256i out = _mm256_or_si256(
      _mm256_or_si256(_mm256_cvttps_epi32(red), _mm256_slli_epi32(_mm256_cvttps_epi32(green), 8)),
      _mm256_or_si256(_mm256_slli_epi32(_mm256_cvttps_epi32(blue), 16), _mm256_slli_epi32(alpha, 24)));
  return _mm256_andnot_si256(_mm256_cmpeq_epi32(total, _mm256_setzero_si256()), out);
}

// Each pixel mixed as its texels ask; eight pixels take only the mixes that they need.
CORVEL_AVX2 inline __m256i Mix(const TOct& q) {
  const __m256i a = Alpha(q.tl);
  const __m256i equal = _mm256_and_si256(
      _mm256_and_si256(q.inside, _mm256_cmpeq_epi32(a, Alpha(q.tr))),
      _mm256_and_si256(_mm256_cmpeq_epi32(a, Alpha(q.bl)), _mm256_cmpeq_epi32(a, Alpha(q.br))));
  const int which = _mm256_movemask_ps(_mm256_castsi256_ps(equal));
  if (which == 0xFF) return MixEqualAlpha(q);
  const __m256i weighted = MixWeighted(q);
  if (which == 0) return weighted;
  return _mm256_blendv_epi8(weighted, MixEqualAlpha(q), equal);
}

CORVEL_AVX2 inline __m256i Load(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline long long PairAt(const uint8_t* p) {
  long long v;
  std::memcpy(&v, p, 8);
  return v;
}

// Eight pairs of texels (left, right), from the columns at byte offsets x, as the lefts and
// the rights of eight pixels.
CORVEL_AVX2 inline void Unzip(const uint8_t* row, const int x[8], __m256i& left, __m256i& right) {
  const __m256 a = _mm256_castsi256_ps(
      _mm256_set_epi64x(PairAt(row + x[5]), PairAt(row + x[4]), PairAt(row + x[1]), PairAt(row + x[0])));
  const __m256 b = _mm256_castsi256_ps(
      _mm256_set_epi64x(PairAt(row + x[7]), PairAt(row + x[6]), PairAt(row + x[3]), PairAt(row + x[2])));
  left = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  right = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
}

// The texels of pixel k with its coordinate fx, edges clamped as bilinear.cpp clamps them.
struct TEdges {
  uint32_t tl[8], tr[8], bl[8], br[8], inside[8];

  void Take(int k, const uint8_t* r0, const uint8_t* r1, int64_t fx, int maxX) {
    const int ix = static_cast<int>(fx >> 16);
    inside[k] = ix >= 0 && ix < maxX ? ~0u : 0;
    const int x0 = std::clamp(ix, 0, maxX) * 4, x1 = std::clamp(ix + 1, 0, maxX) * 4;
    std::memcpy(&tl[k], r0 + x0, 4);
    std::memcpy(&tr[k], r0 + x1, 4);
    std::memcpy(&bl[k], r1 + x0, 4);
    std::memcpy(&br[k], r1 + x1, 4);
  }
};

CORVEL_AVX2 inline __m256i Lanes(const uint32_t v[8]) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v));
}

}  // namespace

CORVEL_AVX2 int BilinearBandAvx2(uint8_t* out, const uint8_t* r0, const uint8_t* r1, int wy, int64_t fx,
                                 int64_t sx, int maxX, int n) {
  // Coordinates whose steps over the row stay far within 64 bits, so that eight pixels whose
  // first and last lie inside the frame's columns all do.
  constexpr int64_t kFar = int64_t(1) << 40;
  if (sx <= -kFar || sx >= kFar || fx <= -(kFar << 20) || fx >= (kFar << 20)) return 0;
  const __m256i wyLanes = _mm256_set1_epi32(wy);
  const __m256i steps = _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(sx))),
                                           _mm256_set_epi32(7, 6, 5, 4, 3, 2, 1, 0));
  const __m256i all = _mm256_set1_epi32(-1);
  for (int done = 0; done < n; done += 8, fx += 8 * sx, out += 32) {
    const int count = n - done < 8 ? n - done : 8;
    // Bits 8 to 15 of each pixel's coordinate, which the low 32 bits give.
    const __m256i at = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(fx))), steps);
    TOct q{};
    q.wx = _mm256_and_si256(_mm256_srli_epi32(at, 8), _mm256_set1_epi32(255));
    q.wy = wyLanes;
    q.inside = all;
    const int64_t first = fx >> 16, last = (fx + 7 * sx) >> 16;
    if (count < 8 || first < 0 || first >= maxX || last < 0 || last >= maxX) {
      // At an edge of the frame, or the row's last pixels (the lanes past them take clamped
      // texels too, and are left out).
      TEdges e;
      for (int k = 0; k < 8; ++k) e.Take(k, r0, r1, fx + k * sx, maxX);
      q.tl = Lanes(e.tl);
      q.tr = Lanes(e.tr);
      q.bl = Lanes(e.bl);
      q.br = Lanes(e.br);
      q.inside = Lanes(e.inside);
      alignas(32) uint8_t mixed[32];
      _mm256_store_si256(reinterpret_cast<__m256i*>(mixed), Mix(q));
      std::memcpy(out, mixed, 4 * static_cast<size_t>(count));
      continue;
    }
    if (sx == 65536 && first + 8 <= maxX) {
      const uint8_t* t = r0 + 4 * first;
      const uint8_t* b = r1 + 4 * first;
      q.tl = Load(t);
      q.tr = Load(t + 4);
      q.bl = Load(b);
      q.br = Load(b + 4);
      q.across = (fx & 0xFF00) != 0;
    } else {
      int x[8];
      for (int k = 0; k < 8; ++k) x[k] = static_cast<int>((fx + k * sx) >> 16) * 4;
      Unzip(r0, x, q.tl, q.tr);
      Unzip(r1, x, q.bl, q.br);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), Mix(q));
  }
  return n;
}
