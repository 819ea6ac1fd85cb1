#include "support.h"

TEST(GfxCollide, TouchingEdgesAndOverlaps) {
  TImagePtr a = SolidImage(8, 8), b = SolidImage(8, 8);
  const struct {
    int x2, y2;
    int hit;
  } cases[] = {
      {8, 0, 0}, {7, 0, 1}, {0, 8, 0}, {0, 7, 1}, {-8, 0, 0}, {-7, -7, 1}, {8, 8, 0}, {7, 7, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, c.x2, c.y2, 0), c.hit) << c.x2 << "," << c.y2;
    EXPECT_EQ(ImagesCollide(b, c.x2, c.y2, 0, a, 0, 0, 0), c.hit);
  }
  EXPECT_EQ(ImagesCollide(nullptr, 0, 0, 0, b, 0, 0, 0), 0);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 1, b, 0, 0, 0), 0);
}

TEST(GfxCollide, SolidMeansAlpha128OrMore) {
  for (uint32_t alpha : {0u, 127u, 128u, 255u}) {
    // One pixel of the given alpha at (2, 1), the rest transparent.
    TImagePtr a = MakeImage(4, 4, [alpha](int x, int y) { return x == 2 && y == 1 ? alpha << 24 : 0u; });
    TImagePtr dot = SolidImage(1, 1);
    const int want = alpha >= 128;
    EXPECT_EQ(ImagesCollide(a, 10, 10, 0, dot, 12, 11, 0), want) << alpha;
    EXPECT_EQ(ImagesCollide(a, 10, 10, 0, dot, 13, 11, 0), 0);
    EXPECT_EQ(ImagesCollide2(a, 10, 10, 0, 0, 1, 1, dot, 12, 11, 0, 0, 1, 1), want);
  }
}

TEST(GfxCollide, HandlesPlaceTheFrames) {
  TImagePtr a = SolidImage(4, 4), dot = SolidImage(1, 1);
  MidHandleImage(a);  // covers -2..1 around the point
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, dot, -2, -2, 0), 1);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, dot, 1, 1, 0), 1);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, dot, 2, 0, 0), 0);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, dot, -3, 0, 0), 0);
  // An odd size puts the handle between pixels: 3 x 3 about (10, 10) covers 8..10, the
  // pixels whose centres lie in [8.5, 11.5).
  TImagePtr odd = SolidImage(3, 3);
  MidHandleImage(odd);
  EXPECT_EQ(ImagesCollide(odd, 10, 10, 0, dot, 8, 8, 0), 1);
  EXPECT_EQ(ImagesCollide(odd, 10, 10, 0, dot, 10, 10, 0), 1);
  EXPECT_EQ(ImagesCollide(odd, 10, 10, 0, dot, 11, 10, 0), 0);
  EXPECT_EQ(ImagesCollide(odd, 10, 10, 0, dot, 7, 9, 0), 0);
}

TEST(GfxCollide, RotationAndScalePerImage) {
  TImagePtr bar = SolidImage(1, 8), dot = SolidImage(1, 1);
  SetImageHandle(bar, 0, 4);
  // Upright the bar covers column 0, rows -4..3; turned 90 degrees it covers row 0.
  EXPECT_EQ(ImagesCollide2(bar, 0, 0, 0, 0, 1, 1, dot, 3, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(ImagesCollide2(bar, 0, 0, 0, 90, 1, 1, dot, 3, 0, 0, 0, 1, 1), 1);
  EXPECT_EQ(ImagesCollide2(bar, 0, 0, 0, 90, 1, 1, dot, 0, 3, 0, 0, 1, 1), 0);
  EXPECT_EQ(ImagesCollide2(bar, 0, 0, 0, 90, 1, 1, dot, 4, 0, 0, 0, 1, 1), 0);
  // Scale 2 doubles the reach; the second image can be the rotated one too.
  EXPECT_EQ(ImagesCollide2(dot, 0, 7, 0, 0, 1, 1, bar, 0, 0, 0, 0, 2, 2), 1);
  EXPECT_EQ(ImagesCollide2(dot, 0, 8, 0, 0, 1, 1, bar, 0, 0, 0, 0, 2, 2), 0);
  // Turned 270 degrees the bar lies on row -1, columns -4..3.
  EXPECT_EQ(ImagesCollide2(dot, 3, -1, 0, 0, 1, 1, bar, 0, 0, 0, 270, 1, 1), 1);
  EXPECT_EQ(ImagesCollide2(dot, -4, -1, 0, 0, 1, 1, bar, 0, 0, 0, 270, 1, 1), 1);
  EXPECT_EQ(ImagesCollide2(dot, 4, -1, 0, 0, 1, 1, bar, 0, 0, 0, 270, 1, 1), 0);
  EXPECT_EQ(ImagesCollide2(dot, 3, 0, 0, 0, 1, 1, bar, 0, 0, 0, 270, 1, 1), 0);
  // The drawing state is not touched.
  SetRotation(33);
  SetScale(3, 4);
  ImagesCollide2(bar, 0, 0, 0, 90, 2, 2, dot, 3, 0, 0, 45, 1, 1);
  float sx, sy;
  GetScale(sx, sy);
  EXPECT_FLOAT_EQ(GetRotation(), 33);
  EXPECT_FLOAT_EQ(sx, 3);
  EXPECT_FLOAT_EQ(sy, 4);
  SetRotation(0);
  SetScale(1, 1);
}

TEST(GfxCollide, Collide2UnrotatedAnswersAsCollide) {
  // A ring and a cross with holes, at every offset around them, with and without handles.
  TImagePtr ring = MakeImage(7, 7, [](int x, int y) {
    const int dx = x - 3, dy = y - 3;
    return dx * dx + dy * dy >= 4 && dx * dx + dy * dy <= 9 ? 0xFFFFFFFFu : 0x7FFFFFFFu;
  });
  TImagePtr cross = MakeImage(5, 3, [](int x, int y) { return x == 2 || y == 1 ? 0x80000000u : 0u; });
  for (int handles = 0; handles < 2; ++handles) {
    if (handles) {
      MidHandleImage(ring);
      SetImageHandle(cross, 1, 2);
    }
    int hits = 0;
    for (int y = -9; y <= 9; ++y) {
      for (int x = -9; x <= 9; ++x) {
        const int a = ImagesCollide(ring, 0, 0, 0, cross, x, y, 0);
        ASSERT_EQ(ImagesCollide2(ring, 0, 0, 0, 0, 1, 1, cross, x, y, 0, 0, 1, 1), a) << x << "," << y;
        hits += a;
      }
    }
    EXPECT_GT(hits, 20);
    EXPECT_LT(hits, 19 * 19);
  }
}

// Collision tests exactly the pixels that drawing covers, also rotated and scaled.
TEST_F(GfxTest, CollisionMatchesDrawnPixels) {
  TImagePtr shape = MakeImage(9, 5, [](int x, int y) { return (x + y) % 3 ? 0xFFFFFFFFu : 0u; });
  TImagePtr dot = SolidImage(1, 1);
  SetImageHandle(shape, 4.5f, 2);
  SetBlend(MASKBLEND);
  const struct {
    float degrees, sx, sy;
  } cases[] = {{0, 1, 1}, {90, 1, 1}, {30, 1, 1}, {-71, 1.5f, 0.8f}, {200, 2, 2}, {0, -1, 1}};
  for (const auto& c : cases) {
    Cls();
    SetRotation(c.degrees);
    SetScale(c.sx, c.sy);
    DrawImage(shape, 32, 32);
    int lit = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const int drawn = At(x, y) == 0xFFFFFFFFu;
        lit += drawn;
        ASSERT_EQ(ImagesCollide2(shape, 32, 32, 0, c.degrees, c.sx, c.sy, dot, x, y, 0, 0, 1, 1), drawn)
            << "rotation " << c.degrees << " at " << x << "," << y;
      }
    }
    EXPECT_GT(lit, 10) << c.degrees;
  }
}
