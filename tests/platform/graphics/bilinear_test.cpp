// Bilinear sampling eight pixels at a time (AVX2) gives, pixel for pixel, what sampling one
// pixel at a time gives: random frames with every kind of alpha, sampled along rows stretched,
// shrunk, mirrored, off the grid and reaching past every edge, in rows that end in every way a
// group of eight can.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/graphics/draw_internal.h"

namespace {

struct Texels {
  const char* name;
  int alphaKinds;  // alphas drawn from: 0 and 255 (2), also one middle value (3), any (256)
  bool sameColour;
};

TEST(Bilinear, EightAtATimeGiveWhatOneAtATimeGives) {
  if (!CpuHasAvx2()) GTEST_SKIP() << "this processor has no AVX2";
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
      // Steps as the drawing code meets them: unscaled on or off the grid, stretched, shrunk and
      // mirrored.
      double du = 1;
      switch (trial % 5) {
        case 0: break;
        case 1: du = 1 / real(1, 8); break;
        case 2: du = 1 / real(0.05, 1); break;
        case 3: du = -real(0.1, 3); break;
        default: du = trial % 2 ? 1 : 0; break;
      }
      // Starts on whole texels, on halves and anywhere, inside and outside the frame.
      double u = real(-3, w + 3), v = real(-3, h + 3);
      if (trial % 3 == 0) u = std::floor(u) + 0.5;
      if (trial % 4 == 0) v = std::floor(v) + 0.5 * static_cast<double>(random() % 2);
      const int n = 1 + static_cast<int>(random() % 70);
      std::vector<uint8_t> want(4 * static_cast<size_t>(n)), got(want.size());
      BilinearRow(want.data(), f, u, v, du, 0, n, false);
      BilinearRow(got.data(), f, u, v, du, 0, n, true);
      ASSERT_EQ(got, want) << "frame " << w << " x " << h << ", from (" << u << ", " << v
                           << ") by (" << du << ", 0), " << n << " pixels";
    }
  }
}

}  // namespace
