// Bilinear sampling gives, pixel for pixel, what the plain one-pixel-at-a-time sampler below
// gives (the arithmetic that the drawing code's pictures were first made with): random frames
// with every kind of alpha, sampled along rows stretched, shrunk, turned, off the grid and
// reaching past every edge, in rows that end in every way a group of pixels can, four pixels
// at a time and (with AVX2) eight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/graphics/draw_internal.h"

namespace {

// One texel neighbourhood at a time: colours mixed with equal weights where the four alphas
// agree away from the right edge, else weighted by alpha.
void PlainSample(uint8_t* out, const uint8_t* t, const uint8_t* r, const uint8_t* b, const uint8_t* br,
                 bool inside, unsigned wx, unsigned wy) {
  if (inside && t[3] == r[3] && t[3] == b[3] && t[3] == br[3]) {
    for (int c = 0; c < 4; ++c) {
      const unsigned left = (t[c] * (256 - wy) + b[c] * wy + 128) >> 8;
      const unsigned right = (r[c] * (256 - wy) + br[c] * wy + 128) >> 8;
      out[c] = static_cast<uint8_t>((left * (256 - wx) + right * wx + 128) >> 8);
    }
    out[3] = t[3];
    return;
  }
  const uint8_t* p[4] = {t, r, b, br};
  const unsigned w[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
  unsigned weight[4], a = 0;
  for (int i = 0; i < 4; ++i) a += weight[i] = (w[i] >> 8) * p[i][3];
  if (a == 0) {
    std::memset(out, 0, 4);
    return;
  }
  const float inv = 1.0f / static_cast<float>(a);
  for (int c = 0; c < 3; ++c) {
    unsigned sum = 0;
    for (int i = 0; i < 4; ++i) sum += weight[i] * p[i][c];
    out[c] = static_cast<uint8_t>(static_cast<float>(sum) * inv + 0.5f);
  }
  out[3] = static_cast<uint8_t>((a + 128) >> 8);
}

void PlainRow(uint8_t* out, const TFrameSource& f, double u, double v, double du, double dv, int n) {
  int64_t fx = std::llround((u - 0.5) * 65536.0), fy = std::llround((v - 0.5) * 65536.0);
  const int64_t sx = std::llround(du * 65536.0), sy = std::llround(dv * 65536.0);
  const int maxX = f.width - 1, maxY = f.height - 1;
  for (int i = 0; i < n; ++i, fx += sx, fy += sy, out += 4) {
    const int ix = static_cast<int>(fx >> 16), iy = static_cast<int>(fy >> 16);
    const int x0 = std::clamp(ix, 0, maxX), x1 = std::clamp(ix + 1, 0, maxX);
    const int y0 = std::clamp(iy, 0, maxY), y1 = std::clamp(iy + 1, 0, maxY);
    const TPixmap& pm = *f.pixmap;
    PlainSample(out, pm.PixelPtr(x0, y0), pm.PixelPtr(x1, y0), pm.PixelPtr(x0, y1), pm.PixelPtr(x1, y1),
                ix >= 0 && ix < maxX, static_cast<unsigned>(fx >> 8) & 255,
                static_cast<unsigned>(fy >> 8) & 255);
  }
}

struct Texels {
  const char* name;
  int alphaKinds;  // alphas drawn from: 0 and 255 (2), also one middle value (3), any (256)
  bool sameColour;
};

TEST(Bilinear, RowsGiveWhatThePlainSamplerGives) {
  const Texels kinds[] = {{"tile-like", 2, false}, {"three alphas", 3, false},
                          {"any alpha", 256, false}, {"one colour, any alpha", 256, true}};
  std::mt19937 random(133);
  const auto real = [&random](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  for (const Texels& kind : kinds) {
    SCOPED_TRACE(kind.name);
    for (int trial = 0; trial < 400; ++trial) {
      // The frame may be narrower or shorter than its pixmap, and as small as one texel.
      const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 40);
      TPixmap pm(w + static_cast<int>(random() % 3), h + static_cast<int>(random() % 3));
      const uint32_t colour = random();
      for (size_t i = 0; i < pm.pixels.size(); i += 4) {
        const uint32_t rgb = kind.sameColour ? colour : static_cast<uint32_t>(random());
        std::memcpy(&pm.pixels[i], &rgb, 3);
        const uint32_t roll = random() % static_cast<uint32_t>(kind.alphaKinds);
        pm.pixels[i + 3] = static_cast<uint8_t>(kind.alphaKinds == 2   ? roll * 255
                                                : kind.alphaKinds == 3 ? (roll == 2 ? 128 : roll * 255)
                                                                       : roll);
      }
      const TFrameSource f{&pm, w, h};
      // Steps as the drawing code meets them: unscaled on or off the grid, stretched or shrunk
      // along one axis or both, and turned.
      double du = 1, dv = 0;
      switch (trial % 5) {
        case 0: break;
        case 1: du = 1 / real(1, 8); break;
        case 2: du = 1 / real(0.05, 1); break;
        case 3: {
          const double turn = real(0, 6.3), scale = real(0.3, 3);
          du = std::cos(turn) / scale;
          dv = -std::sin(turn) / scale;
          break;
        }
        default: du = trial % 2 ? 1 : 0; dv = 0; break;
      }
      // Starts on whole texels, on halves and anywhere, inside and outside the frame.
      double u = real(-3, w + 3), v = real(-3, h + 3);
      if (trial % 3 == 0) u = std::floor(u) + 0.5;
      if (trial % 4 == 0) v = std::floor(v) + 0.5 * static_cast<double>(random() % 2);
      const int n = 1 + static_cast<int>(random() % 70);
      std::vector<uint8_t> want(4 * static_cast<size_t>(n));
      PlainRow(want.data(), f, u, v, du, dv, n);
      // Four pixels at a time, and eight where the processor can.
      for (const bool wide : {false, CpuHasAvx2()}) {
        std::vector<uint8_t> got(want.size());
        BilinearRow(got.data(), f, u, v, du, dv, n, wide);
        ASSERT_EQ(got, want) << "frame " << w << " x " << h << ", from (" << u << ", " << v
                             << ") by (" << du << ", " << dv << "), " << n << " pixels"
                             << (wide ? ", eight at a time" : "");
      }
    }
  }
}

}  // namespace
