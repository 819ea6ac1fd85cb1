// Bilinear sampling in 16.16 fixed point, four pixels at a time (eight with AVX2, in
// bilinear_avx2.cpp). Four texels of equal alpha (inside solid areas and inside masked ones)
// are mixed with the plain weights; where their alpha differs (edges of masked areas), colours
// are weighted by alpha so that transparent texels do not bleed their colour into the edge.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/draw_internal.h"

namespace {

// The texels and weights of four pixels, one pixel per 32-bit lane: the neighbourhood's top
// left, top right, bottom left and bottom right texels (RGBA), the weights of the right and
// lower texels out of 256, and all ones where the pixel lies inside the frame's columns (its
// right texel is not clamped onto its left one). Without a mix across (every pixel's wx is 0:
// a frame stretched down only), a pixel's equal-alpha mix is its left column's alone.
struct TQuad {
  __m128i tl, tr, bl, br, wx, wy, inside;
  bool across = true;
};

const __m128i kAlphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));

[[gnu::always_inline]] inline __m128i Alpha(__m128i texels) { return _mm_srli_epi32(texels, 24); }

// Each lane's low 16 bits in the four 16-bit lanes of its pixel; lo for pixels 0 and 1, hi for
// pixels 2 and 3.
[[gnu::always_inline]] inline void Spread(__m128i w, __m128i& lo, __m128i& hi) {
  const __m128i twice = _mm_or_si128(w, _mm_slli_epi32(w, 16));
  lo = _mm_unpacklo_epi32(twice, twice);
  hi = _mm_unpackhi_epi32(twice, twice);
}

// (a * (256 - w) + b * w + 128) >> 8 in 16-bit lanes; no sum exceeds 255 * 256 + 128.
[[gnu::always_inline]] inline __m128i Lerp(__m128i a, __m128i b, __m128i w, __m128i rest) {
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, rest), _mm_mullo_epi16(b, w));
  return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

// (A column's mix weighs it by 256 against 0 for the next one: its own value, exactly.)
[[gnu::always_inline]] inline __m128i HalfEqual(__m128i tl, __m128i tr, __m128i bl, __m128i br,
                                                __m128i wx, __m128i wy, bool across) {
  const __m128i full = _mm_set1_epi16(256), restY = _mm_sub_epi16(full, wy);
  const __m128i left = Lerp(tl, bl, wy, restY);
  if (!across) return left;
  return Lerp(left, Lerp(tr, br, wy, restY), wx, _mm_sub_epi16(full, wx));
}

// Equal alphas: each channel mixed down the columns, then across; the alpha is the texels' own.
[[gnu::always_inline]] inline __m128i MixEqualAlpha(const TQuad& q) {
  const __m128i zero = _mm_setzero_si128();
  __m128i wxLo, wxHi, wyLo, wyHi;
  Spread(q.wx, wxLo, wxHi);
  Spread(q.wy, wyLo, wyHi);
  const __m128i lo = HalfEqual(_mm_unpacklo_epi8(q.tl, zero), _mm_unpacklo_epi8(q.tr, zero),
                               _mm_unpacklo_epi8(q.bl, zero), _mm_unpacklo_epi8(q.br, zero), wxLo, wyLo, q.across);
  const __m128i hi = HalfEqual(_mm_unpackhi_epi8(q.tl, zero), _mm_unpackhi_epi8(q.tr, zero),
                               _mm_unpackhi_epi8(q.bl, zero), _mm_unpackhi_epi8(q.br, zero), wxHi, wyHi, q.across);
  const __m128i mixed = _mm_packus_epi16(lo, hi);
  return _mm_or_si128(_mm_andnot_si128(kAlphaByte, mixed), _mm_and_si128(q.tl, kAlphaByte));
}

// Texel i weighs ((its bilinear weight out of 65536) >> 8) * its alpha. The factors fit 16 bits
// with nothing above them, so madd gives their 32-bit product.
[[gnu::always_inline]] inline __m128i Weight(__m128i a, __m128i b, __m128i texel) {
  return _mm_madd_epi16(_mm_srli_epi32(_mm_madd_epi16(a, b), 8), Alpha(texel));
}

// The weighted sum of one channel (its byte kept in place: the sum comes out scaled by 2^(8c),
// exactly, as every product and partial sum is a whole number below 2^24 before the scaling).
[[gnu::always_inline]] inline __m128 Channel(const __m128i texels[4], const __m128 weights[4], __m128i mask) {
  __m128 sum = _mm_mul_ps(weights[0], _mm_cvtepi32_ps(_mm_and_si128(texels[0], mask)));
  for (int i = 1; i < 4; ++i)
    sum = _mm_add_ps(sum, _mm_mul_ps(weights[i], _mm_cvtepi32_ps(_mm_and_si128(texels[i], mask))));
  return sum;
}

// Alpha-weighted: the colours are the weighted sums times the reciprocal of the total weight,
// rounded; the alpha is the total weight out of 256, rounded. No weight at all gives a
// transparent black.
[[gnu::always_inline]] inline __m128i MixWeighted(const TQuad& q) {
  const __m128i full = _mm_set1_epi32(256);
  const __m128i restX = _mm_sub_epi32(full, q.wx), restY = _mm_sub_epi32(full, q.wy);
  const __m128i texels[4] = {q.tl, q.tr, q.bl, q.br};
  const __m128i weights[4] = {Weight(restX, restY, q.tl), Weight(q.wx, restY, q.tr),
                              Weight(restX, q.wy, q.bl), Weight(q.wx, q.wy, q.br)};
  const __m128 factors[4] = {_mm_cvtepi32_ps(weights[0]), _mm_cvtepi32_ps(weights[1]),
                             _mm_cvtepi32_ps(weights[2]), _mm_cvtepi32_ps(weights[3])};
  const __m128i total = _mm_add_epi32(_mm_add_epi32(weights[0], weights[1]),
                                      _mm_add_epi32(weights[2], weights[3]));
  const __m128 inv = _mm_div_ps(_mm_set1_ps(1.0f), _mm_cvtepi32_ps(total)), half = _mm_set1_ps(0.5f);
  // The reciprocal scaled back by the channel's 2^(8c), exactly.
  const __m128 red = _mm_add_ps(_mm_mul_ps(Channel(texels, factors, _mm_set1_epi32(0xFF)), inv), half);
  const __m128 green = _mm_add_ps(
      _mm_mul_ps(Channel(texels, factors, _mm_set1_epi32(0xFF00)), _mm_mul_ps(inv, _mm_set1_ps(0x1p-8f))), half);
  const __m128 blue = _mm_add_ps(
      _mm_mul_ps(Channel(texels, factors, _mm_set1_epi32(0xFF0000)), _mm_mul_ps(inv, _mm_set1_ps(0x1p-16f))),
      half);
  const __m128i alpha = _mm_srli_epi32(_mm_add_epi32(total, _mm_set1_epi32(128)), 8);
  const __m128i out = _mm_or_si128(
      _mm_or_si128(_mm_cvttps_epi32(red), _mm_slli_epi32(_mm_cvttps_epi32(green), 8)),
      _mm_or_si128(_mm_slli_epi32(_mm_cvttps_epi32(blue), 16), _mm_slli_epi32(alpha, 24)));
  return _mm_andnot_si128(_mm_cmpeq_epi32(total, _mm_setzero_si128()), out);
}

// Each pixel mixed as its texels ask; a group of four takes only the mixes that its pixels need.
[[gnu::always_inline]] inline __m128i Mix(const TQuad& q) {
  const __m128i a = Alpha(q.tl);
  const __m128i equal = _mm_and_si128(
      _mm_and_si128(q.inside, _mm_cmpeq_epi32(a, Alpha(q.tr))),
      _mm_and_si128(_mm_cmpeq_epi32(a, Alpha(q.bl)), _mm_cmpeq_epi32(a, Alpha(q.br))));
  const int which = _mm_movemask_ps(_mm_castsi128_ps(equal));
  if (which == 0xF) return MixEqualAlpha(q);
  const __m128i weighted = MixWeighted(q);
  if (which == 0) return weighted;
  return _mm_or_si128(_mm_and_si128(equal, MixEqualAlpha(q)), _mm_andnot_si128(equal, weighted));
}

// std::llround without its call, for values well within 64 bits: the truncation and the rest,
// both exact there, rounded half away from zero.
int64_t RoundToInt(double x) {
  if (!(x > -0x1p52 && x < 0x1p52)) return std::llround(x);
  int64_t i = static_cast<int64_t>(x);
  const double rest = x - static_cast<double>(i);
  if (rest >= 0.5) ++i;
  if (rest <= -0.5) --i;
  return i;
}

uint32_t TexelAt(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
__m128i LoadPair(const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
__m128i Lanes(const uint32_t v[4]) {
  return _mm_set_epi32(static_cast<int>(v[3]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                       static_cast<int>(v[0]));
}

void Store(uint8_t* out, __m128i mixed, int count) {
  if (count == 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), mixed);
    return;
  }
  uint8_t last[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(last), mixed);
  std::memcpy(out, last, 4 * static_cast<size_t>(count));
}

// A row's samples, walking the 16.16 source coordinates (the pixel centre's, less half a texel)
// from pixel to pixel; edges clamped.
class TRowSampler {
public:
  TRowSampler(const TFrameSource& f, double u, double v, double du, double dv, bool wide)
      : wide_(wide),
        fx_(RoundToInt((u - 0.5) * 65536.0)),
        fy_(RoundToInt((v - 0.5) * 65536.0)),
        sx_(RoundToInt(du * 65536.0)),
        sy_(RoundToInt(dv * 65536.0)),
        maxX_(f.width - 1),
        maxY_(f.height - 1),
        base_(f.pixmap->pixels.data()),
        stride_(static_cast<size_t>(f.pixmap->width) * 4) {}

  void Run(uint8_t* out, int n) {
    if (sy_ == 0) {
      Band(out, n);
      return;
    }
    for (int i = 0; i < n; i += 4, out += 16) {
      const int count = std::min(4, n - i);
      TGather g;
      for (int k = 0; k < count; ++k, fx_ += sx_, fy_ += sy_) {
        const int iy = static_cast<int>(fy_ >> 16);
        g.wy[k] = static_cast<int>((fy_ >> 8) & 255);
        Column(Row(iy), Row(iy + 1), k, g);
      }
      Store(out, Mix(g.Quad(Lanes(g.wy))), count);
    }
  }

private:
  // Four pixels gathered one by one.
  struct TGather {
    uint32_t tl[4] = {}, tr[4] = {}, bl[4] = {}, br[4] = {}, wx[4] = {}, wy[4] = {}, inside[4] = {};
    TQuad Quad(__m128i wyLanes) const {
      return {Lanes(tl), Lanes(tr), Lanes(bl), Lanes(br), Lanes(wx), wyLanes, Lanes(inside)};
    }
  };

  const uint8_t* Row(int iy) const { return base_ + std::clamp(iy, 0, maxY_) * stride_; }

  // The texels and horizontal weight of the pixel at fx_ into lane k, from rows r0 and r1.
  void Column(const uint8_t* r0, const uint8_t* r1, int k, TGather& g) const {
    const int ix = static_cast<int>(fx_ >> 16);
    g.wx[k] = static_cast<uint32_t>((fx_ >> 8) & 255);
    g.inside[k] = ix >= 0 && ix < maxX_ ? ~0u : 0;
    const int x0 = std::clamp(ix, 0, maxX_) * 4, x1 = std::clamp(ix + 1, 0, maxX_) * 4;
    g.tl[k] = TexelAt(r0 + x0);
    g.tr[k] = TexelAt(r0 + x1);
    g.bl[k] = TexelAt(r1 + x0);
    g.br[k] = TexelAt(r1 + x1);
  }

  // The horizontal weights of the next four pixels: bits 8 to 15 of their coordinates, which
  // the low 32 bits give.
  __m128i NextWeights() const {
    const uint32_t x = static_cast<uint32_t>(fx_), s = static_cast<uint32_t>(sx_);
    const __m128i at = _mm_set_epi32(static_cast<int>(x + 3 * s), static_cast<int>(x + 2 * s),
                                     static_cast<int>(x + s), static_cast<int>(x));
    return _mm_and_si128(_mm_srli_epi32(at, 8), _mm_set1_epi32(255));
  }

  // Whether the pixels at fx and fx + span have their texel pairs inside the frame's columns, and
  // so every pixel between them.
  bool InsideColumns(int64_t fx, int64_t span) const {
    const int64_t first = fx >> 16;
    if (first < 0 || first >= maxX_) return false;
    const int64_t last = (fx + span) >> 16;
    return last >= 0 && last < maxX_;
  }

  // The whole row samples the same two texel rows with the same vertical weight.
  void Band(uint8_t* out, int n) {
    const int iy = static_cast<int>(fy_ >> 16);
    const uint8_t* r0 = Row(iy);
    const uint8_t* r1 = Row(iy + 1);
    const int wy = static_cast<int>((fy_ >> 8) & 255);
    const __m128i wyLanes = _mm_set1_epi32(wy), all = _mm_set1_epi32(-1);
    if (wide_ && BilinearBandAvx2(out, r0, r1, wy, fx_, sx_, maxX_, n) == n) return;
    const bool steady = SteadyStep(sx_);
    for (int i = 0; i < n;) {
      const int count = std::min(4, n - i);
      if (count == 4 && steady && InsideColumns(fx_, 3 * sx_)) {
        const int first = static_cast<int>(fx_ >> 16);
        TQuad q{};
        if (sx_ == 65536 && first + 4 <= maxX_) {
          // Unscaled across: four neighbouring columns.
          const uint8_t* t = r0 + 4 * first;
          const uint8_t* b = r1 + 4 * first;
          q = {Load(t), Load(t + 4), Load(b), Load(b + 4), NextWeights(), wyLanes, all, (fx_ & 0xFF00) != 0};
        } else {
          // Every pixel's texel pair inside the frame's columns.
          __m128i top[4], bottom[4];
          q.wx = NextWeights();
          for (int k = 0; k < 4; ++k) {
            const int x = static_cast<int>((fx_ + k * sx_) >> 16) * 4;
            top[k] = LoadPair(r0 + x);
            bottom[k] = LoadPair(r1 + x);
          }
          Unzip(top, q.tl, q.tr);
          Unzip(bottom, q.bl, q.br);
          q.wy = wyLanes;
          q.inside = all;
        }
        Store(out, Mix(q), 4);
        fx_ += 4 * sx_;
      } else {
        TGather g;
        for (int k = 0; k < count; ++k, fx_ += sx_) Column(r0, r1, k, g);
        Store(out, Mix(g.Quad(wyLanes)), count);
      }
      i += count;
      out += 4 * count;
    }
  }

  // Four pairs of texels (left, right) as the lefts and the rights of four pixels.
  static void Unzip(const __m128i pairs[4], __m128i& left, __m128i& right) {
    const __m128 a = _mm_castsi128_ps(_mm_unpacklo_epi64(pairs[0], pairs[1]));
    const __m128 b = _mm_castsi128_ps(_mm_unpacklo_epi64(pairs[2], pairs[3]));
    left = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    right = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  }

  const bool wide_;
  int64_t fx_, fy_;
  const int64_t sx_, sy_;
  const int maxX_, maxY_;
  const uint8_t* base_;
  const size_t stride_;
};

}  // namespace

void BilinearRow(uint8_t* out, const TFrameSource& f, double u, double v, double du, double dv, int n,
                 bool wide) {
  TRowSampler(f, u, v, du, dv, wide).Run(out, n);
}
