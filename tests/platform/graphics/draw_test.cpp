#include <algorithm>
#include <cmath>
#include <limits>

#include "support.h"
#include "support/pixels.h"

namespace {

struct BlendCase {
  const char* name;
  int mode;
  int r, g, b;          // SetColor
  float alpha;          // SetAlpha
  uint32_t src, dst;    // image pixel and back-buffer pixel before drawing
  uint32_t expected;
};

const BlendCase kBlendCases[] = {
    {"mask solid pixel", MASKBLEND, 255, 255, 255, 1.0f, 0x80102030, 0xFF000000, 0xFF102030},
    {"mask holey pixel", MASKBLEND, 255, 255, 255, 1.0f, 0x7F102030, 0xFF405060, 0xFF405060},
    {"mask ignores SetAlpha", MASKBLEND, 255, 255, 255, 0.25f, 0xFF102030, 0xFF000000, 0xFF102030},
    {"solid ignores pixel alpha", SOLIDBLEND, 255, 255, 255, 1.0f, 0x00102030, 0xFF405060, 0xFF102030},
    {"alpha opaque", ALPHABLEND, 255, 255, 255, 1.0f, 0xFFC86432, 0xFF000000, 0xFFC86432},
    {"alpha transparent", ALPHABLEND, 255, 255, 255, 1.0f, 0x00C86432, 0xFF102030, 0xFF102030},
    {"alpha half by SetAlpha", ALPHABLEND, 255, 255, 255, 0.5f, 0xFFC86432, 0xFF000000, 0xFF643219},
    {"alpha half by pixel", ALPHABLEND, 255, 255, 255, 1.0f, 0x80FFFFFF, 0xFF000000, 0xFF808080},
    {"alpha pixel times SetAlpha", ALPHABLEND, 255, 255, 255, 0.5f, 0x80FFFFFF, 0xFF000000, 0xFF404040},
    {"alpha over colour", ALPHABLEND, 255, 255, 255, 0.5f, 0xFFFF0000, 0xFF0000FF, 0xFF800080},
    {"colour modulation", ALPHABLEND, 128, 255, 0, 1.0f, 0xFFC86432, 0xFF000000, 0xFF646400},
    {"colour modulation under mask", MASKBLEND, 0, 0, 255, 1.0f, 0xFFFFFFFF, 0xFF000000, 0xFF0000FF},
    {"light adds", LIGHTBLEND, 255, 255, 255, 1.0f, 0xFF806040, 0xFFA01010, 0xFFFF7050},
    {"light by alpha", LIGHTBLEND, 255, 255, 255, 0.5f, 0xFF806040, 0xFF000000, 0xFF403020},
    {"shade multiplies", SHADEBLEND, 255, 255, 255, 1.0f, 0xFF80FF00, 0xFF808080, 0xFF408000},
};

class GfxBlend : public GfxTest, public ::testing::WithParamInterface<BlendCase> {};

// Each channel within 1 of the expected value (rounding of the integer blender).
void ExpectNear(uint32_t got, uint32_t want) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = (got >> shift) & 255, b = (want >> shift) & 255;
    EXPECT_LE(std::abs(a - b), 1) << std::hex << "got 0x" << got << " want 0x" << want;
  }
}

}  // namespace

TEST_P(GfxBlend, KnownPixels) {
  const BlendCase& c = GetParam();
  // The 8-pixel-wide image runs through the 4-pixel row fast paths and the tail.
  TImagePtr img = SolidImage(9, 1, c.src);
  for (int x = 0; x < 12; ++x) WritePixel(BackBuffer(), x, 0, c.dst);
  SetBlend(c.mode);
  SetColor(c.r, c.g, c.b);
  SetAlpha(c.alpha);
  DrawImage(img, 1, 0);
  EXPECT_EQ(At(0, 0), c.dst);
  for (int x = 1; x < 10; ++x) ExpectNear(At(x, 0), c.expected);
  EXPECT_EQ(At(10, 0), c.dst);
}

INSTANTIATE_TEST_SUITE_P(Modes, GfxBlend, ::testing::ValuesIn(kBlendCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n) if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

// A 3 x 2 image with distinct pixels: value 0xFF0000nn with nn = 1 + x + 3y.
TImagePtr Numbered(int flags = 0) {
  return MakeImage(3, 2, [](int x, int y) { return 0xFF000000u | (1 + x + 3 * y); }, flags);
}

TEST_F(GfxTest, RotationAndScaleMapPixelsExactly) {
  SetBlend(SOLIDBLEND);
  struct Case {
    float degrees, sx, sy;
    int x, y;
    std::vector<std::vector<int>> want;  // nn of the 3 x 3 (or larger) area from (x, y)
  };
  const Case cases[] = {
      // 90 degrees clockwise about the handle (0, 0): the image lands left of x.
      {90, 1, 1, 10, 10, {{4, 1}, {5, 2}, {6, 3}}},
      {180, 1, 1, 10, 10, {{6, 5, 4}, {3, 2, 1}}},
      {270, 1, 1, 10, 10, {{3, 6}, {2, 5}, {1, 4}}},
      {0, 2, 2, 10, 10, {{1, 1, 2, 2, 3, 3}, {1, 1, 2, 2, 3, 3}, {4, 4, 5, 5, 6, 6}, {4, 4, 5, 5, 6, 6}}},
      {0, 2, 1, 10, 10, {{1, 1, 2, 2, 3, 3}, {4, 4, 5, 5, 6, 6}}},
  };
  for (const Case& c : cases) {
    Cls();
    SetRotation(c.degrees);
    SetScale(c.sx, c.sy);
    DrawImage(Numbered(), 10, 10);
    const int rows = static_cast<int>(c.want.size()), cols = static_cast<int>(c.want[0].size());
    const int left = c.degrees == 90 || c.degrees == 180 ? 10 - cols : 10;
    const int top = c.degrees == 180 || c.degrees == 270 ? 10 - rows : 10;
    int lit = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) lit += (At(x, y) & 0xFF) != 0;
    EXPECT_EQ(lit, rows * cols) << c.degrees << " " << c.sx;
    for (int r = 0; r < rows; ++r)
      for (int q = 0; q < cols; ++q)
        EXPECT_EQ(static_cast<int>(At(left + q, top + r) & 0xFF), c.want[r][q])
            << "rotation " << c.degrees << " scale " << c.sx << " at " << q << "," << r;
  }
}

TEST_F(GfxTest, HandleOriginAndMidHandlePlacement) {
  TImagePtr img = SolidImage(4, 6);
  MidHandleImage(img);
  EXPECT_FLOAT_EQ(img->handleX, 2.0f);
  EXPECT_FLOAT_EQ(img->handleY, 3.0f);
  SetOrigin(5, 1);
  DrawImage(img, 20, 20);  // covers 23..26 x 18..23
  EXPECT_EQ(At(22, 18), 0xFF000000u);
  EXPECT_EQ(At(23, 18), 0xFFFFFFFFu);
  EXPECT_EQ(At(26, 23), 0xFFFFFFFFu);
  EXPECT_EQ(At(27, 23), 0xFF000000u);
  EXPECT_EQ(At(26, 24), 0xFF000000u);

  // Rotation turns about the handle: a 4 x 6 image turned 90 degrees about its centre
  // covers 6 x 4 pixels around the same point.
  Cls();
  SetOrigin(0, 0);
  SetRotation(90);
  DrawImage(img, 30, 30);
  EXPECT_EQ(At(27, 28), 0xFFFFFFFFu);
  EXPECT_EQ(At(32, 31), 0xFFFFFFFFu);
  EXPECT_EQ(At(26, 28), 0xFF000000u);
  EXPECT_EQ(At(33, 31), 0xFF000000u);
  EXPECT_EQ(At(30, 27), 0xFF000000u);
  EXPECT_EQ(At(30, 32), 0xFF000000u);
}

TEST_F(GfxTest, ViewportClipsAllDrawing) {
  SetViewport(10, 10, 5, 5);
  SetClsColor(0, 0, 255);
  Cls();
  SetColor(255, 0, 0);
  DrawRect(0, 0, 64, 64);
  DrawImage(SolidImage(64, 64), 0, 0);
  DrawLine(0, 12, 63, 12);
  Plot(2, 2);
  DrawText("AAAAAAAA", 0, 8);
  int inside = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool in = x >= 10 && x < 15 && y >= 10 && y < 15;
      if (in) ++inside;
      if (!in) ASSERT_EQ(At(x, y), 0xFF000000u) << x << "," << y;
      else ASSERT_NE(At(x, y), 0xFF000000u) << x << "," << y;
    }
  }
  EXPECT_EQ(inside, 25);
  // A viewport beyond the buffer is cut to it.
  SetViewport(-10, -10, 1000, 1000);
  Cls();
  EXPECT_EQ(At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(At(63, 63), 0xFF0000FFu);
}

TEST_F(GfxTest, NullImageAndMissingFrameDrawNothing) {
  TImagePtr img = SolidImage(4, 4);
  DrawImage(nullptr, 0, 0);
  DrawImage(img, 0, 0, 1);
  DrawImage(img, 0, 0, -1);
  DrawImageRect(img, 0, 0, 8, 8, 3);
  // Placements that land nowhere.
  SetScale(0, 1);
  DrawImage(img, 0, 0);
  SetScale(1, 1);
  DrawImage(img, std::nanf(""), 0);
  DrawImage(img, 1e30f, -1e30f);
  SetImageHandle(img, std::numeric_limits<float>::infinity(), 0);
  DrawImage(img, 0, 0);
  SetImageHandle(img, 0, 0);
  TImagePtr blank = CreateImage(4, 4, 2);  // frames without pixels yet
  DrawImage(blank, 0, 0, 1);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(At(x, y), 0xFF000000u);
  EXPECT_EQ(ImageWidth(nullptr), 0);
  EXPECT_EQ(ImageHeight(nullptr), 0);
  EXPECT_EQ(ImageFrames(blank), 2);
  ASSERT_TRUE(LockImage(blank, 1));
  EXPECT_EQ(LockImage(blank, 1)->width, 4);
  EXPECT_FALSE(LockImage(blank, 2));
}

TEST_F(GfxTest, DrawImageRectStretchesTheFrame) {
  SetBlend(SOLIDBLEND);
  DrawImageRect(Numbered(), 4, 4, 6, 4);
  EXPECT_EQ(At(4, 4) & 0xFF, 1u);
  EXPECT_EQ(At(5, 5) & 0xFF, 1u);
  EXPECT_EQ(At(6, 4) & 0xFF, 2u);
  EXPECT_EQ(At(9, 7) & 0xFF, 6u);
  EXPECT_EQ(At(10, 7), 0xFF000000u);
  EXPECT_EQ(At(9, 8), 0xFF000000u);
}

// Filtered images stretched and shrunk, as the dialog frame's middle piece and the zoom
// transition draw them, give the pictures that the drawing code gave when the checksums were
// taken.
TEST_F(GfxTest, ScaledPicturesAsBefore) {
  SetCurrentContext(MakeGraphicsContext(160, 120));
  // Colour ramps, a transparent hole, a half-transparent band and a masked corner.
  const TImagePtr image = MakeImage(48, 16, [](int x, int y) {
    if (x > 40 && y < 4) return 0u;
    if (x >= 20 && x < 26 && y >= 5 && y < 11) return 0x00FF00FFu;
    const uint32_t alpha = y >= 12 ? 0x80u : 0xFFu;
    return alpha << 24 | static_cast<uint32_t>(x * 5) << 16 | static_cast<uint32_t>(y * 15) << 8 | 0x40u;
  }, FILTEREDIMAGE);
  struct Case {
    const char* name;
    float x, y, w, h;   // DrawImageRect
    float sx, sy;       // SetScale
    int blend;
    const char* wanted;
  } cases[] = {
      {"stretched down", 8, 4, 48, 96, 1, 1, ALPHABLEND, "b2921cb7b23355b6"},
      {"stretched down a little", 8, 4, 48, 17, 1, 1, ALPHABLEND, "8d615a98f531e58b"},
      {"stretched down, masked", 8, 4, 48, 96, 1, 1, MASKBLEND, "19d009f85785c64d"},
      {"stretched down off the grid", 8.5f, 4.25f, 48, 96, 1, 1, ALPHABLEND, "d7361f939fb6eb11"},
      {"stretched across", 3, 20, 150, 16, 1, 1, ALPHABLEND, "362049464fdeee1c"},
      {"shrunk by the scale", 10, 10, 48, 16, 0.9f, 0.9f, ALPHABLEND, "7582d0efe7835991"},
      {"nearly gone", 10, 10, 48, 16, 0.02f, 0.02f, ALPHABLEND, "3491ece66429bb25"},
      {"shrunk and stretched", 5.75f, 7, 31, 70, 0.7f, 1.3f, SOLIDBLEND, "bad8d68bf718db64"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetClsColor(20, 40, 60);
    Cls();
    SetBlend(c.blend);
    SetScale(c.sx, c.sy);
    DrawImageRect(image, c.x, c.y, c.w, c.h);
    SetScale(1, 1);
    EXPECT_EQ(testsupport::PictureChecksum(), c.wanted);
  }
}

TEST_F(GfxTest, FilteringOnlyOffTheGrid) {
  SetBlend(SOLIDBLEND);
  // Black and white columns: exact copy on the grid, even when filtered.
  auto stripes = [](int x, int) { return x % 2 ? 0xFFFFFFFFu : 0xFF000000u; };
  TImagePtr filtered = MakeImage(4, 1, stripes, FILTEREDIMAGE);
  TImagePtr plain = MakeImage(4, 1, stripes, 0);
  DrawImage(filtered, 10, 0);
  EXPECT_EQ(At(10, 0), 0xFF000000u);
  EXPECT_EQ(At(11, 0), 0xFFFFFFFFu);
  // Half a pixel off: filtered mixes neighbours, unfiltered picks the nearest texel.
  DrawImage(filtered, 10.5f, 1);
  DrawImage(plain, 10.5f, 2);
  const uint32_t mixed = At(12, 1) & 0xFF;
  EXPECT_GT(mixed, 0x60u);
  EXPECT_LT(mixed, 0xA0u);
  // Nearest: the pixels whose centres fall inside [10.5, 14.5) show texels 0..3.
  for (int x = 10; x < 14; ++x) EXPECT_EQ(At(x, 2), stripes(x - 10, 0)) << x;
  EXPECT_EQ(At(14, 2), 0xFF000000u);
  DrawImage(plain, 20.49f, 2);
  EXPECT_EQ(At(20, 2), 0xFF000000u);
  EXPECT_EQ(At(21, 2), 0xFFFFFFFFu);
  // Masked edges do not bleed the transparent pixels' colour.
  TImagePtr edge = MakeImage(2, 1, [](int x, int) { return x ? 0x00FF0000u : 0xFF00FF00u; },
                             FILTEREDIMAGE);
  SetBlend(ALPHABLEND);
  SetScale(4, 1);
  DrawImage(edge, 20, 3);
  for (int x = 20; x < 28; ++x) EXPECT_EQ((At(x, 3) >> 16) & 0xFF, 0u) << x;
}

TEST_F(GfxTest, RectsLinesAndPlots) {
  SetColor(0, 255, 0);
  DrawRect(2.6f, 2, 3, 2);  // pixel centres 3.5 to 5.5 lie in [2.6, 5.6)
  EXPECT_EQ(At(2, 2), 0xFF000000u);
  EXPECT_EQ(At(3, 2), 0xFF00FF00u);
  EXPECT_EQ(At(5, 3), 0xFF00FF00u);
  EXPECT_EQ(At(6, 3), 0xFF000000u);
  EXPECT_EQ(At(3, 4), 0xFF000000u);

  SetBlend(ALPHABLEND);
  SetAlpha(0.5f);
  SetColor(255, 255, 0);
  DrawRect(10, 10, 6, 1);  // four pixels at a time and a tail
  for (int x = 10; x < 16; ++x) EXPECT_EQ(At(x, 10), 0xFF808000u) << x;
  EXPECT_EQ(At(16, 10), 0xFF000000u);
  SetAlpha(1);
  SetColor(255, 255, 255);

  DrawLine(20, 20, 24, 22);
  EXPECT_EQ(At(20, 20), 0xFFFFFFFFu);
  EXPECT_EQ(At(24, 22), 0xFFFFFFFFu);
  DrawLine(30, 30, 30, 34, false);
  EXPECT_EQ(At(30, 33), 0xFFFFFFFFu);
  EXPECT_EQ(At(30, 34), 0xFF000000u);
  Plot(40.7f, 41.2f);
  EXPECT_EQ(At(40, 41), 0xFFFFFFFFu);
}

TEST_F(GfxTest, BackBufferGrabAndStateDefaults) {
  EXPECT_EQ(GetBlend(), MASKBLEND);
  EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
  SetAlpha(3);
  EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);

  WritePixel(BackBuffer(), 1, 1, 0xFF123456);
  TPixmapPtr grab = GrabPixmap(-1, 0, 4, 3);
  ASSERT_TRUE(grab);
  EXPECT_EQ(ReadPixel(grab, 2, 1), 0xFF123456u);
  EXPECT_EQ(ReadPixel(grab, 0, 0), 0u);  // outside the buffer
  EXPECT_EQ(ReadPixel(grab, 1, 0), 0xFF000000u);
  EXPECT_EQ(ReadPixel(grab, 9, 9), 0u);
  WritePixel(grab, 9, 9, 1);  // ignored
}

// A pixel is covered when its centre, turned back about the handle, lies inside the image;
// filtered or not.
TEST_F(GfxTest, RotatedCoverageFollowsPixelCentres) {
  for (int flags : {0, int(FILTEREDIMAGE)}) {
    TImagePtr img = SolidImage(10, 6, 0xFFFFFFFF, flags);
    SetImageHandle(img, 5, 3);
    for (float degrees : {30.0f, 45.0f, 123.0f, -10.0f}) {
      Cls();
      SetRotation(degrees);
      DrawImage(img, 32, 32);
      const double r = degrees * 3.14159265358979323846 / 180.0;
      for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
          const double qx = x + 0.5 - 32, qy = y + 0.5 - 32;
          const double u = 5 + std::cos(r) * qx + std::sin(r) * qy;
          const double v = 3 - std::sin(r) * qx + std::cos(r) * qy;
          const double margin = std::min({std::fabs(u), std::fabs(u - 10), std::fabs(v), std::fabs(v - 6)});
          if (margin < 1e-6) continue;
          const bool inside = u > 0 && u < 10 && v > 0 && v < 6;
          ASSERT_EQ(At(x, y) == 0xFFFFFFFFu, inside) << degrees << " at " << x << "," << y << " flags " << flags;
        }
      }
    }
  }
}
