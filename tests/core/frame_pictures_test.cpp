// The busiest game picture (support/busy_frame.h), drawn frame after frame, and its missiles
// drawn under each drawing state, give exactly the pictures that were taken from the drawing
// code when these checksums were recorded: how a frame is drawn may change, its pixels not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game.h"
#include "core/globals.h"
#include "support/busy_frame.h"
#include "support/pixels.h"

namespace {

using testsupport::PictureChecksum;

class FramePictures : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::SetUpBusyFrame();
    SetClsColor(0, 0, 0);
    Cls();
  }
  void TearDown() override {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetOrigin(0, 0);
    SetViewport(0, 0, 640, 480);
    npcList.Clear();
    missileList.Clear();
    player.reset();
    Tile.clear();
  }
  // Every animated tile one frame on.
  static void StepAnimations() {
    for (const TTilePtr& tile : Tile) tile->NextFrame();
  }
};

TEST_F(FramePictures, TheBusiestFrameFrameAfterFrame) {
  // 36 frames: the spinning missiles turn full circle, the others are drawn again and again
  // at their angles, and the animations run through their frames.
  std::vector<std::string> sums;
  for (int frame = 0; frame < 36; ++frame) {
    Cls();
    DrawScreen();
    sums.push_back(PictureChecksum());
    if (frame % 3 == 2) StepAnimations();
  }
  const std::vector<std::string> wanted = {
      "a474227265172c13", "6799cfb984c06983", "2e5f9b74747ed6f7", "279ec985d09d245d",
      "4f96db0d14b249c5", "976949efb0ab565d", "36db9a712042578a", "a4986160307b6f23",
      "776338cd65b09f1b", "067c54a7958a0336", "54ef470438429347", "62b29d54569d6b07",
      "2cfbac7cf0215777", "cc88eab7cec210f4", "1c31e657fbf8eff3", "fb2e38566767b738",
      "eb8ab5e96889b5b2", "a136788ebb829a05", "5a039d3ceed5ae6a", "f107243a0823c7f7",
      "6bbe05a671f84233", "5369d04006c285f7", "0b785ffe374ee234", "bbe75f661ca9f5be",
      "41f8e2d9850f4490", "ed9670a1b502cb46", "aa2f479d55354fba", "44c7a116a623537e",
      "771ce035545f4c6f", "41af1ecc78f66593", "6952759f17928d4d", "7df969200cf7a074",
      "17edf5fa832786b3", "f1ff7431c0c24c20", "fb77e10370bd9bdb", "e8febad034f82f94",
  };
  EXPECT_EQ(sums, wanted);
}

// The missiles alone, three rounds over one another, in each drawing state that drawing
// honours: blend modes, colour and alpha, a viewport that clips, an origin on and off the grid.
TEST_F(FramePictures, MissilesInEveryDrawingState) {
  struct Case {
    const char* name;
    int blend;
    int r, g, b;
    float alpha;
    int viewX, viewY, viewW, viewH;
    float originX, originY;
    const char* wanted;
  } cases[] = {
      {"alpha", ALPHABLEND, 255, 255, 255, 1.0f, 0, 0, 640, 480, 0, 0, "09d544e51aa8489e"},
      {"alpha, coloured, half", ALPHABLEND, 200, 120, 60, 0.5f, 0, 0, 640, 480, 0, 0, "2538d24187643b6a"},
      {"mask", MASKBLEND, 255, 255, 255, 1.0f, 0, 0, 640, 480, 0, 0, "aeda917dbd265580"},
      {"solid", SOLIDBLEND, 90, 255, 255, 1.0f, 0, 0, 640, 480, 0, 0, "878f9e6f2bf86eaf"},
      {"light", LIGHTBLEND, 255, 255, 255, 0.7f, 0, 0, 640, 480, 0, 0, "3157f1d4144b5161"},
      {"shade", SHADEBLEND, 255, 200, 255, 1.0f, 0, 0, 640, 480, 0, 0, "1a1f2c5fbbd844b4"},
      {"viewport", ALPHABLEND, 255, 255, 255, 1.0f, 37, 21, 500, 350, 0, 0, "1859d64e1c1d83de"},
      {"origin on the grid", ALPHABLEND, 255, 255, 255, 1.0f, 0, 0, 640, 480, 7, -5, "b888192088c331b2"},
      {"origin off the grid", ALPHABLEND, 255, 255, 255, 1.0f, 0, 0, 640, 480, 0.5f, 0.25f, "2685d34fd5058524"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::SetUpBusyFrame();
    SetViewport(0, 0, 640, 480);
    SetOrigin(0, 0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetClsColor(30, 60, 90);
    Cls();
    SetBlend(c.blend);
    SetColor(c.r, c.g, c.b);
    SetAlpha(c.alpha);
    SetViewport(c.viewX, c.viewY, c.viewW, c.viewH);
    SetOrigin(c.originX, c.originY);
    for (int round = 0; round < 3; ++round) {
      for (const TMissilePtr& m : missileList) m->DrawMissile(0, 0);
      StepAnimations();
    }
    EXPECT_EQ(PictureChecksum(), c.wanted);
  }
}

}  // namespace
