// A placed frame's row spans hold exactly the pixels that the per-pixel test covers, for frames
// stretched, shrunk, mirrored, turned by half and quarter turns and by any angle, on and off
// the grid.
#include <gtest/gtest.h>

#include <random>

#include "platform/graphics/raster.h"

namespace {

TEST(PixelMap, RowSpansHoldTheCoveredPixels) {
  std::mt19937 random(7);
  const auto real = [&random](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  const double turns[] = {0, 180, 90, 270, -180, 540};
  for (int trial = 0; trial < 600; ++trial) {
    const double w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 40);
    TPlacement p;
    p.x = trial % 2 ? std::floor(real(-20, 60)) : real(-20, 60);
    p.y = trial % 3 ? std::floor(real(-20, 60)) : real(-20, 60);
    p.handleX = trial % 5 ? 0 : w / 2;
    p.handleY = trial % 5 ? 0 : h / 2;
    p.scaleX = real(0.02, 3) * (trial % 7 == 0 ? -1 : 1);
    p.scaleY = real(0.02, 3) * (trial % 11 == 0 ? -1 : 1);
    p.degrees = trial % 4 == 3 ? real(0, 360) : turns[trial % 6];
    const TPixelMap map(w, h, p);
    SCOPED_TRACE(testing::Message() << w << " x " << h << " at (" << p.x << ", " << p.y << ") scaled ("
                                    << p.scaleX << ", " << p.scaleY << ") turned " << p.degrees);
    for (int py = map.by0 - 1; py <= map.by1; ++py) {
      int x0 = 0, x1 = 0;
      const bool any = map.RowSpan(py, x0, x1);
      for (int px = map.bx0 - 1; px <= map.bx1; ++px) {
        int tx, ty;
        const bool covered = map.TexelAt(px, py, tx, ty);
        ASSERT_EQ(covered, any && px >= x0 && px < x1) << "pixel (" << px << ", " << py << ")";
      }
    }
  }
}

}  // namespace
