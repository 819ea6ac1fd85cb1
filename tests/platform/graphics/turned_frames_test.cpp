// Drawing through a store of turned frames gives the pixels that drawing without one gives,
// whatever the drawing state, wherever the frame lands, and after the image's handle, frame
// or pixels were replaced; also when the store is too small to keep anything.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "support.h"

namespace {

// A frame of 25 x 19 pixels: colour ramps, a transparent hole and a half-transparent edge.
TImagePtr Sprite() {
  return MakeImage(25, 19, [](int x, int y) {
    if ((x - 8) * (x - 8) + (y - 9) * (y - 9) < 9) return 0u;
    const uint32_t alpha = x == 24 ? 0x80u : 0xFFu;
    return alpha << 24 | static_cast<uint32_t>(x * 10) << 16 | static_cast<uint32_t>(y * 13) << 8 | 0x30u;
  }, FILTEREDIMAGE);
}

class TurnedFramesTest : public ::testing::Test {
protected:
  // The picture that `draw` makes with the store, and the one it makes without.
  void ExpectSamePictures(const std::function<void(TTurnedFrames*)>& draw, TTurnedFrames& store) {
    std::vector<uint8_t> pictures[2];
    for (int with = 0; with < 2; ++with) {
      SetCurrentContext(MakeGraphicsContext(120, 90));
      SetClsColor(10, 20, 30);
      Cls();
      draw(with ? &store : nullptr);
      pictures[with] = BackBuffer()->pixels;
    }
    SetCurrentContext(nullptr);
    EXPECT_TRUE(pictures[0] == pictures[1]);
  }
};

// Drawn at each place, twice (the second from the store where it applies).
void DrawAt(const TImagePtr& image, TTurnedFrames* store, const std::vector<std::pair<float, float>>& at) {
  for (int round = 0; round < 2; ++round) {
    for (const auto& [x, y] : at) {
      if (store) DrawImage(image, x, y, 0, *store);
      else DrawImage(image, x, y, 0);
    }
  }
}

TEST_F(TurnedFramesTest, EveryStateAndPlaceGivesTheSamePixels) {
  const TImagePtr image = Sprite();
  TTurnedFrames store(1 << 20);
  const std::vector<std::pair<float, float>> places = {
      {60, 45}, {61, 47}, {3, 40}, {-5, 20}, {118, 88}, {60.5f, 45}, {40, 44.75f}, {-30, -30}};
  struct Case {
    const char* name;
    float degrees, scale;
    int blend;
    int red;
    float alpha;
    int viewX, viewW;
    float originX;
    bool midHandle;
  } cases[] = {
      {"turned", 30, 1, ALPHABLEND, 255, 1, 0, 120, 0, true},
      {"a right angle", 90, 1, ALPHABLEND, 255, 1, 0, 120, 0, true},
      {"unturned off the grid", 0, 1, ALPHABLEND, 255, 1, 0, 120, 0, true},
      {"unturned on the grid", 0, 1, ALPHABLEND, 255, 1, 0, 120, 0, false},
      {"one turn round", 390, 1, ALPHABLEND, 255, 1, 0, 120, 0, true},
      {"backwards", -45, 1, MASKBLEND, 255, 1, 0, 120, 0, true},
      {"solid", 123, 1, SOLIDBLEND, 255, 1, 0, 120, 0, true},
      {"light, coloured", 200, 1, LIGHTBLEND, 100, 0.6f, 0, 120, 0, true},
      {"shade", 310, 1, SHADEBLEND, 255, 1, 0, 120, 0, true},
      {"scaled", 45, 1.5f, ALPHABLEND, 255, 1, 0, 120, 0, true},
      {"a viewport cutting the left", 45, 1, ALPHABLEND, 255, 1, 20, 80, 0, true},
      {"an origin off the grid", 45, 1, ALPHABLEND, 255, 1, 0, 120, 0.5f, true},
      {"an origin on the grid", 45, 1, ALPHABLEND, 255, 1, 0, 120, -3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSamePictures([&](TTurnedFrames* turned) {
      if (c.midHandle) MidHandleImage(image);
      else SetImageHandle(image, 0, 0);
      SetRotation(c.degrees);
      SetScale(c.scale, c.scale);
      SetBlend(c.blend);
      SetColor(c.red, 255, 255);
      SetAlpha(c.alpha);
      SetViewport(c.viewX, 0, c.viewW, 90);
      SetOrigin(c.originX, 0);
      DrawAt(image, turned, places);
    }, store);
  }
}

TEST_F(TurnedFramesTest, ReplacedHandlesFramesAndImagesAreSampledAfresh) {
  TTurnedFrames store(1 << 20);
  const std::vector<std::pair<float, float>> places = {{60, 45}, {30, 30}};
  ExpectSamePictures([&](TTurnedFrames* turned) {
    TImagePtr image = Sprite();
    SetBlend(ALPHABLEND);
    SetRotation(60);
    MidHandleImage(image);
    DrawAt(image, turned, places);
    SetImageHandle(image, 2, 3);
    DrawAt(image, turned, places);
    // The frame's pixels replaced by a pixmap of its own.
    image->frames[0] = CopyPixmap(image->frames[0]);
    WritePixel(image->frames[0], 12, 12, 0xFFFFFFFF);
    DrawAt(image, turned, places);
    // Another image, perhaps where the first one was.
    image = nullptr;
    image = Sprite();
    WritePixel(image->frames[0], 3, 3, 0xFF00FF00);
    DrawAt(image, turned, places);
  }, store);
}

TEST_F(TurnedFramesTest, AStoreTooSmallForAnyFrameStillDrawsThem) {
  TTurnedFrames store(16);
  const TImagePtr image = Sprite();
  ExpectSamePictures([&](TTurnedFrames* turned) {
    SetBlend(ALPHABLEND);
    MidHandleImage(image);
    for (float degrees : {10.0f, 20.0f, 10.0f, 20.0f}) {
      SetRotation(degrees);
      DrawAt(image, turned, {{60, 45}});
    }
  }, store);
}

}  // namespace
