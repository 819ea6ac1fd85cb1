// The blender's row loops (four or, with AVX2, eight pixels at a time) give every pixel what
// blending it alone gives: random pixels of every kind of alpha over an (opaque) back buffer,
// in rows that end in every way a group of eight or four can.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/graphics/blend.h"

namespace {

struct StateCase {
  const char* name;
  int blend, red, green, blue;
  float alpha;
};

TEST(Blender, RowsGiveWhatEachPixelAloneGives) {
  const StateCase cases[] = {
      {"alpha", ALPHABLEND, 255, 255, 255, 1.0f},   {"alpha, half", ALPHABLEND, 255, 255, 255, 0.5f},
      {"alpha, coloured", ALPHABLEND, 200, 90, 30, 1.0f}, {"mask", MASKBLEND, 255, 255, 255, 1.0f},
      {"solid", SOLIDBLEND, 255, 255, 255, 1.0f},  {"light", LIGHTBLEND, 255, 255, 255, 0.7f},
      {"shade", SHADEBLEND, 255, 128, 255, 1.0f},
  };
  std::mt19937 random(33);
  // Alpha mostly 0 or 255, as tiles have it, so that whole groups take the plain select.
  auto pixel = [&random](bool plain) {
    const uint32_t rgb = random() & 0xFFFFFF;
    const uint32_t roll = random() % 16;
    const uint32_t alpha = plain || roll < 12 ? (roll % 2 ? 255 : 0) : random() % 256;
    return rgb | alpha << 24;
  };
  for (const StateCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGraphics g(8, 8);
    g.blend = c.blend;
    g.red = c.red;
    g.green = c.green;
    g.blue = c.blue;
    g.alpha = c.alpha;
    const TBlendState state(g);
    for (int n = 1; n <= 40; ++n) {
      for (int trial = 0; trial < 20; ++trial) {
        std::vector<uint32_t> src(static_cast<size_t>(n) * 2), dst(src.size());
        for (size_t i = 0; i < src.size(); ++i) {
          src[i] = pixel(trial % 2 == 0);
          dst[i] = random() | 0xFF000000u;
        }
        std::vector<uint32_t> want = dst;
        for (size_t i = 0; i < src.size(); ++i) {
          const uint8_t* p = reinterpret_cast<const uint8_t*>(&src[i]);
          BlendPixel(reinterpret_cast<uint8_t*>(&want[i]), p[0], p[1], p[2], p[3], state);
        }
        // Two rows of n pixels.
        BlendRect(reinterpret_cast<uint8_t*>(dst.data()), 4 * static_cast<size_t>(n),
                  reinterpret_cast<const uint8_t*>(src.data()), 4 * static_cast<size_t>(n), n, 2,
                  state);
        ASSERT_EQ(dst, want) << n << " pixels a row, trial " << trial;
      }
    }
  }
}

}  // namespace
