// Drawing a map: cell-by-cell order, the overlay's alpha, and tile animation on a clock.
#include <gtest/gtest.h>

#include <cmath>

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "platform/system/clock.h"
#include "support/tiles.h"
#include "world/map.h"
#include "world/tile.h"

using namespace testsupport;

namespace {

constexpr uint32_t kBlack = 0xFF000000;

uint32_t Pixel(int x, int y) { return ReadPixel(BackBuffer(), x, y) | 0xFF000000; }

TImagePtr Colored(int w, int h, uint32_t argb) {
  return MakeImage(w, h, 1, [=](int, int, int) { return argb; });
}

TMapPtr EmptyMap() {
  TMapPtr map = TMap::Create();
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      map->mapTile[x][y].tileID = -1;
      map->mapFeature[x][y].tileID = -1;
      map->mapObject[x][y].tileID = -1;
      map->mapOverlay[x][y].tileID = -1;
    }
  }
  return map;
}

void ClearScreen() {
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
  SetBlend(ALPHABLEND);
}

class MapDraw : public testing::Test {
protected:
  MapDraw()
      : tiles_({MakeTile(Colored(32, 32, 0xFFFF0000)),         // 0 red
                MakeTile(Colored(64, 64, 0xFF00FF00)),         // 1 green, reaches into neighbours
                MakeTile(Colored(32, 32, 0xFF0000FF)),         // 2 blue
                MakeTile(SolidImage(32, 32, 4), 4, 0),         // 3 four frames
                MakeTile(Colored(16, 16, 0xFFFFFF00)),         // 4 small yellow
                MakeTile(Colored(32, 32, 0xFFFFFFFF))}) {}     // 5 white
  ScopedTiles tiles_;
};

}  // namespace

TEST_F(MapDraw, CellsAreDrawnCellByCellGroundFeatureObject) {
  ClearScreen();
  TMapPtr map = EmptyMap();
  map->mapTile[0][0].tileID = 1;     // 64 x 64 green over cells (0..1, 0..1)
  map->mapFeature[0][0].tileID = 4;  // yellow on top of it in its own cell
  map->mapTile[1][0].tileID = 2;     // a later cell paints over the big tile
  map->mapTile[2][0].tileID = 2;
  map->mapObject[2][0].tileID = 0;   // object above ground
  map->mapTile[5][0].tileID = 99;    // outside the table: nothing
  map->mapTile[6][0].tileID = -7;    // empty
  map->mapOverlay[7][0].tileID = 5;  // the overlay layer is not part of DrawMap
  map->mapOverlay[7][0].alpha = 1.0f;
  EXPECT_EQ(map->DrawMap(0, 0), 0);

  EXPECT_EQ(Pixel(5, 5), 0xFFFFFF00u);
  EXPECT_EQ(Pixel(20, 20), 0xFF00FF00u);
  EXPECT_EQ(Pixel(40, 10), 0xFF0000FFu);
  EXPECT_EQ(Pixel(10, 40), 0xFF00FF00u);
  EXPECT_EQ(Pixel(40, 40), 0xFF00FF00u);
  EXPECT_EQ(Pixel(70, 10), 0xFFFF0000u);
  EXPECT_EQ(Pixel(170, 10), kBlack);
  EXPECT_EQ(Pixel(200, 10), kBlack);
  EXPECT_EQ(Pixel(230, 10), kBlack);
}

TEST_F(MapDraw, OffsetsShiftEveryCell) {
  ClearScreen();
  TMapPtr map = EmptyMap();
  map->mapTile[1][1].tileID = 2;
  map->DrawMap(5.0f, -3.0f);
  EXPECT_EQ(Pixel(37, 29), 0xFF0000FFu);
  EXPECT_EQ(Pixel(68, 60), 0xFF0000FFu);
  EXPECT_EQ(Pixel(36, 29), kBlack);
  EXPECT_EQ(Pixel(69, 60), kBlack);
}

TEST_F(MapDraw, EveryCellOfATileShowsItsSharedFrame) {
  ClearScreen();
  TMapPtr map = EmptyMap();
  map->mapTile[3][0].tileID = 3;
  map->mapObject[4][2].tileID = 3;
  Tile[3]->currentFrame = 2;
  map->DrawMap(0, 0);
  EXPECT_EQ(Pixel(100, 10), FrameColor(2));
  EXPECT_EQ(Pixel(140, 70), FrameColor(2));
}

TEST_F(MapDraw, OverlayUsesEachCellsAlphaAndLeavesAlphaAtOne) {
  ClearScreen();
  TMapPtr map = EmptyMap();
  map->mapTile[0][0].tileID = 5;  // not drawn by DrawOverlay
  map->mapOverlay[1][0] = {};
  map->mapOverlay[1][0].tileID = 5;
  map->mapOverlay[1][0].alpha = 0.5f;
  map->mapOverlay[2][0].tileID = 5;
  map->mapOverlay[2][0].alpha = 1.0f;
  map->mapOverlay[3][0].tileID = 5;
  map->mapOverlay[3][0].alpha = 0.0f;
  map->mapOverlay[4][0].tileID = 5;
  map->mapOverlay[4][0].alpha = std::nanf("");  // as a map file or SetOverlay may give
  SetAlpha(0.25f);
  EXPECT_EQ(map->DrawOverlay(0, 0), 0);
  EXPECT_EQ(GetAlpha(), 1.0f);

  EXPECT_EQ(Pixel(10, 10), kBlack);
  const uint32_t half = Pixel(40, 10);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 128, 2);
  EXPECT_EQ(Pixel(70, 10), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(100, 10), kBlack);
  EXPECT_EQ(Pixel(130, 10), kBlack);  // NaN draws as 0

  SetAlpha(0.3f);
  EmptyMap()->DrawOverlay(0, 0);
  EXPECT_EQ(GetAlpha(), 1.0f);
}

// Tile animation on an injected clock; timers are checked only by DrawMap.
TEST(TileAnimation, TimersAdvanceOneFramePerDueDrawing) {
  UseManualClock(1000);
  ScopedTiles tiles({MakeTile(SolidImage(32, 32, 4), 4, 2),      // 0: 500 ms a frame
                     MakeTile(SolidImage(32, 32), 1, 0),         // 1: no timer
                     MakeTile(SolidImage(32, 32), 1, -5),        // 2: no timer
                     MakeTile(SolidImage(32, 32), 1, 3),         // 3: a timer, one frame
                     MakeTile(SolidImage(32, 32, 4), 4, 2000)}); // 4: period 0
  CreateTimers();
  std::vector<int> timed;
  for (const auto& timer : timerList) timed.push_back(timer->tileID);
  EXPECT_EQ(timed, (std::vector<int>{0, 3, 4}));

  TMapPtr map = TMap::Create();
  struct Step {
    int clock;
    int draws;
    int frame0, frame4;
  };
  const Step steps[] = {
      {1000, 1, 0, 0},   // not past the end of either period
      {1500, 1, 0, 1},   // equal to timerEnd is not enough for tile 0
      {1501, 1, 1, 2},
      {2001, 1, 1, 3},   // the new period started at 1501
      {2002, 1, 2, 0},
      {60000, 2, 3, 1},  // a long pause gives one step; a second drawing at once none
      {60001, 1, 3, 2},
      {60501, 1, 0, 3},
  };
  for (const Step& s : steps) {
    SetManualClock(s.clock);
    for (int i = 0; i < s.draws; ++i) map->DrawMap(0, 0);
    map->DrawOverlay(0, 0);  // never advances a tile
    EXPECT_EQ(Tile[0]->currentFrame, s.frame0) << "at " << s.clock;
    EXPECT_EQ(Tile[4]->currentFrame, s.frame4) << "at " << s.clock;
    EXPECT_EQ(Tile[1]->currentFrame + Tile[2]->currentFrame + Tile[3]->currentFrame, 0);
  }
  SetClockSource(nullptr);
}

TEST(TileAnimation, NextFrameWrapsAndNeverDividesByZero) {
  struct Case {
    int frames, from, result, after;
  };
  const Case cases[] = {{4, 0, 1, 1}, {4, 3, 0, 0}, {3, 2, 0, 0}, {1, 0, 0, 0},
                        {0, 0, 0, 0}, {-2, 0, 0, 0}};
  for (const Case& c : cases) {
    TTilePtr tile = TTile::Create(nullptr, c.frames, 5);
    tile->currentFrame = c.from;
    EXPECT_EQ(tile->NextFrame(), c.result) << c.frames << " frames from " << c.from;
    EXPECT_EQ(tile->currentFrame, c.after);
  }
}

TEST(TileTable, LookupsOutsideTheTableGiveNoImageAndOneFrame) {
  ScopedTiles tiles({MakeTile(SolidImage(32, 32, 4), 4, 0), MakeTile(nullptr, 0, 0)});
  EXPECT_NE(TileAt(0), nullptr);
  EXPECT_EQ(TileFrames(0), 4);
  EXPECT_EQ(TileFrames(1), 1);
  for (int id : {-1, 2, 1000}) {
    EXPECT_EQ(TileAt(id), nullptr) << id;
    EXPECT_EQ(TileImage(id), nullptr) << id;
    EXPECT_EQ(TileFrames(id), 1) << id;
  }
}
