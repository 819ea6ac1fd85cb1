// Walkability of footprints and flyability of missiles against map cells; RectsOverlap.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "support/tiles.h"
#include "world/collision.h"
#include "world/map.h"

using namespace testsupport;

namespace {

enum {
  kWall = 0,      // solid 32 x 32, also the object cells' missile mask
  kFoot32 = 1,
  kFoot16 = 2,
  kFoot40 = 3,
  kFoot24 = 4,
  kHoled = 5,     // 32 x 32, transparent in its left half
  kBar = 6,       // 40 x 4 missile, centred on its handle when tested
  kFoot33 = 7,
  kFoot34 = 8,
  kBlinking = 9,  // four frames, only frame 0 solid
};

// A map with nothing in it that could block: every cell empty.
TMapPtr ClearMap() {
  TMapPtr map = TMap::Create();
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      map->mapTile[x][y] = {-1, 1};
      map->mapFeature[x][y] = {-1, 1};
      map->mapObject[x][y].tileID = -1;
      map->mapObject[x][y].walkability = 1;
    }
  }
  return map;
}

class Collision : public testing::Test {
protected:
  Collision()
      : tiles_({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32)),
                MakeTile(SolidImage(16, 16)), MakeTile(SolidImage(40, 40)),
                MakeTile(SolidImage(24, 24)), MakeTile(HoledImage(32, 32, 0, 0, 16, 32)),
                MakeTile(SolidImage(40, 4)), MakeTile(SolidImage(33, 33)),
                MakeTile(SolidImage(34, 34)),
                MakeTile(MakeImage(32, 32, 4, [](int f, int, int) { return f ? 0u : 0xFFFFFFFFu; }),
                         4, 5)}) {
    Tile[kBlinking]->currentFrame = 2;  // masks are frame 0, whatever the animation shows
  }
  ScopedTiles tiles_;
};

}  // namespace

TEST(RectsOverlap, EdgesThatTouchOverlap) {
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  struct Case {
    int r[8];
    int expected;
  };
  const Case cases[] = {
      {{0, 0, 32, 32, 32, 0, 32, 32}, 1},   // touching on the right edge
      {{0, 0, 32, 32, 33, 0, 32, 32}, 0},   // one pixel apart
      {{33, 0, 32, 32, 0, 0, 32, 32}, 0},
      {{0, 33, 32, 32, 0, 0, 32, 32}, 0},
      {{0, 0, 32, 32, 0, 33, 32, 32}, 0},
      {{0, 32, 32, 32, 0, 0, 32, 32}, 1},
      {{10, 10, 0, 0, 10, 10, 0, 0}, 1},    // zero-sized boxes that touch
      {{10, 10, 0, 0, 11, 10, 0, 0}, 0},
      {{-40, -40, 8, 8, 0, 0, 32, 32}, 0},
      {{5, 5, 2, 2, 0, 0, 32, 32}, 1},      // inside
      // Far out, where an edge lies past the int range: positions that saturated.
      {{kMax - 5, 0, 32, 32, kMax - 20, 0, 32, 32}, 1},
      {{0, kMax - 5, 32, 32, 0, kMax, 32, 32}, 1},
      {{kMax, kMax, 32, 32, 0, 0, 32, 32}, 0},
      {{0, 0, 32, 32, kMax, kMax, 32, 32}, 0},
      {{kMin, kMin, 32, 32, 0, 0, 32, 32}, 0},
      {{kMin, 0, kMax, 32, -2, 0, 32, 32}, 1},
  };
  for (const Case& c : cases) {
    const int* r = c.r;
    EXPECT_EQ(RectsOverlap(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]), c.expected)
        << r[0] << "," << r[1] << "," << r[2] << "," << r[3] << " vs " << r[4] << "," << r[5];
  }
}

TEST_F(Collision, BoundsOnAClearMap) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    int footprint, size;
    float x, y;
    int expected;
  };
  const Case cases[] = {
      {kFoot32, 32, 0, 0, 1},        {kFoot32, 32, 607, 383, 1},
      {kFoot32, 32, 608, 384, 1},    {kFoot32, 32, 608.5f, 0, 0},
      {kFoot32, 32, 0, 384.5f, 0},   {kFoot32, 32, -0.5f, 0, 0},
      {kFoot32, 32, 0, -0.01f, 0},   {kFoot32, 32, 300.75f, 200.25f, 1},
      {kFoot16, 16, 7.9f, 100, 0},   {kFoot16, 16, 8, 8, 1},
      {kFoot16, 16, 100, 7.5f, 0},   {kFoot16, 16, 608, 384, 1},
      {kFoot40, 40, -4, -4, 1},      {kFoot40, 40, -4.5f, 0, 0},
      {kFoot33, 33, 0, 0, 1},        {kFoot33, 33, -0.5f, 0, 0},  // (32 - 33) / 2 = 0
      {kFoot34, 34, -1, -1, 1},      {kFoot34, 34, -1.5f, 0, 0},  // (32 - 34) / 2 = -1
      {kFoot32, 32, nan, 0, 0},      {kFoot32, 32, 0, nan, 0},
      {kFoot32, 32, -inf, 0, 0},     {kFoot40, 40, 0, -inf, 0},
      {99, 32, 15.5f, 100, 0},       {99, 32, 16, 100, 1},  // no footprint image: measures 0
  };
  TMapPtr map = ClearMap();
  for (const Case& c : cases) {
    EXPECT_EQ(CheckWalkability(c.x, c.y, c.size, c.size, *map, c.footprint), c.expected)
        << "footprint " << c.footprint << " at " << c.x << "," << c.y;
  }
}

TEST_F(Collision, FootprintsAgainstAWallCell) {
  struct Case {
    const char* what;
    int footprint, size;
    float x, y;
    int expected;
  };
  // A solid ground wall at column 5, row 5: pixels 160..191 both ways. Footprints that are
  // not 32 wide have fractional spans, so the wall's mask is tested off the grid: at 176
  // for a 16-pixel footprint (offsets -0.5, 0.5), at 184 for a 40-pixel one (-1.25 .. 0.75).
  const Case cases[] = {
      {"32 touching the wall's left edge", kFoot32, 32, 128, 160, 1},
      {"32 fraction truncated", kFoot32, 32, 128.9f, 160, 1},
      {"32 one pixel in", kFoot32, 32, 129, 160, 0},
      {"32 right of the wall", kFoot32, 32, 192, 160, 1},
      {"32 one pixel in from the right", kFoot32, 32, 191, 160, 0},
      {"32 below the wall", kFoot32, 32, 160, 192, 1},
      {"16 tested at x - 16, touching the mask", kFoot16, 16, 176, 192, 1},
      {"16 one pixel in", kFoot16, 16, 177, 192, 0},
      {"16 last pixel in", kFoot16, 16, 223.9f, 192, 0},
      {"16 past the mask", kFoot16, 16, 224, 192, 1},
      {"40 tested at x + 8, column 5 not yet visited", kFoot40, 40, 151, 176, 1},
      {"40 column 5 visited", kFoot40, 40, 152, 176, 0},
      {"40 last pixel in", kFoot40, 40, 207, 176, 0},
      {"40 past the mask", kFoot40, 40, 208, 176, 1},
  };
  TMapPtr map = ClearMap();
  map->mapTile[5][5] = {kWall, 0};
  for (const Case& c : cases)
    EXPECT_EQ(CheckWalkability(c.x, c.y, c.size, c.size, *map, c.footprint), c.expected) << c.what;
}

TEST_F(Collision, WhatBlocksAnActor) {
  struct Case {
    const char* what;
    int layer;  // 0 ground, 1 feature, 2 object
    int tileID, walkability;
    int expected;
  };
  const Case cases[] = {
      {"unwalkable ground", 0, kWall, 0, 0},
      {"unwalkable feature", 1, kWall, 0, 0},
      {"walkable ground", 0, kWall, 1, 1},
      {"walkable feature, any byte", 1, kWall, 200, 1},
      {"unwalkable cell without tile", 0, -1, 0, 1},
      {"unwalkable tile outside the table", 1, 500, 0, 1},
      {"unwalkable object never stops actors", 2, kWall, 0, 1},
      {"footprint over the mask's hole", 0, kHoled, 0, 1},
      {"animated tile blocks with frame 0", 0, kBlinking, 0, 0},
  };
  for (const Case& c : cases) {
    TMapPtr map = ClearMap();
    TMapTile* cell = c.layer == 0 ? &map->mapTile[5][5]
                   : c.layer == 1 ? &map->mapFeature[5][5]
                                  : &map->mapObject[5][5];
    cell->tileID = c.tileID;
    cell->walkability = static_cast<uint8_t>(c.walkability);
    // A 32 x 32 footprint over the left half of cell (5, 5).
    EXPECT_EQ(CheckWalkability(144, 160, 32, 32, *map, kFoot32), c.expected) << c.what;
  }
}

TEST_F(Collision, FractionalSpansPlaceMasksOffTheGrid) {
  // A 24-pixel footprint at x' = y' = 160 tests columns and rows 4 and 5 with their masks
  // 8 pixels right of and below the cell corners: column 4's mask reaches 136..167.
  TMapPtr map = ClearMap();
  map->mapTile[4][5] = {kWall, 0};
  EXPECT_EQ(CheckWalkability(168, 168, 24, 24, *map, kFoot24), 0);
  // Offsets -0.75 and 0.25: at x' = 191 column 6 is not visited although the footprint
  // reaches into it; at x' = 192 it is, with its mask at 200.
  map = ClearMap();
  map->mapTile[6][5] = {kWall, 0};
  EXPECT_EQ(CheckWalkability(199, 168, 24, 24, *map, kFoot24), 1);
  EXPECT_EQ(CheckWalkability(200, 168, 24, 24, *map, kFoot24), 0);
}

TEST_F(Collision, TheFirstCollidingCellDecidesThoughLaterCellsAreClear) {
  // Cell (4, 4) is the first of the nine visited; the ones after it do not undo its block.
  TMapPtr map = ClearMap();
  map->mapTile[4][4] = {kWall, 0};
  EXPECT_EQ(CheckWalkability(150, 150, 32, 32, *map, kFoot32), 0);
  map->mapTile[4][4] = {-1, 1};
  map->mapFeature[4][4] = {kWall, 0};
  map->mapTile[5][5] = {kWall, 1};
  EXPECT_EQ(CheckWalkability(150, 150, 32, 32, *map, kFoot32), 0);
}

TEST_F(Collision, MissileRotationDecidesTheHit) {
  // Feature wall at column 6, row 5 (192..223, 160..191); a 40 x 4 bar centred on (180, 176)
  // reaches x = 199 lying flat and stays within x 178..181 standing up.
  TMapPtr map = ClearMap();
  map->mapFeature[6][5] = {kWall, 0};
  SetRotation(33.0f);
  EXPECT_EQ(CheckFlyability(180, 176, 32, 32, *map, kBar, 0), 0);
  EXPECT_EQ(CheckFlyability(180, 176, 32, 32, *map, kBar, 90), 1);
  EXPECT_EQ(CheckFlyability(180, 176, 32, 32, *map, kBar, 180), 0);
  EXPECT_EQ(CheckFlyability(180, 176, 32, 32, *map, kBar, 270), 1);
  EXPECT_EQ(GetRotation(), 33.0f);
  SetRotation(0.0f);
  const TImagePtr bar = Tile[kBar]->image;
  EXPECT_EQ(bar->handleX, 0.0f);
  EXPECT_EQ(bar->handleY, 0.0f);
}

TEST_F(Collision, WhatStopsAMissile) {
  struct Case {
    const char* what;
    int featureTile, featureWalk, objectTile, objectWalk;
    int expected;
  };
  // The bar lying flat, centred on (180, 176), reaches 192..199 of cell (6, 5), whose
  // unwalkable ground never counts for missiles.
  const Case cases[] = {
      {"nothing", -1, 1, -1, 1, 1},
      {"unwalkable feature", kWall, 0, -1, 1, 0},
      {"unwalkable object without tile takes tile 0's shape", -1, 1, -1, 0, 0},
      {"unwalkable object with another tile", -1, 1, kHoled, 0, 0},
      {"walkable object", -1, 1, kWall, 1, 1},
      {"feature mask missed hides the object below", kHoled, 0, -1, 0, 1},
      {"walkable feature lets the object block", kWall, 1, -1, 0, 0},
      {"unwalkable feature outside the table hides the object", 400, 0, -1, 0, 1},
  };
  for (const Case& c : cases) {
    TMapPtr map = ClearMap();
    map->mapTile[6][5] = {kWall, 0};
    map->mapFeature[6][5] = {c.featureTile, static_cast<uint8_t>(c.featureWalk)};
    map->mapObject[6][5].tileID = c.objectTile;
    map->mapObject[6][5].walkability = static_cast<uint8_t>(c.objectWalk);
    EXPECT_EQ(CheckFlyability(180, 176, 32, 32, *map, kBar, 0), c.expected) << c.what;
  }
}

TEST_F(Collision, MissileBoundsAndThePreTestBox) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TMapPtr map = ClearMap();
  EXPECT_EQ(CheckFlyability(640, 416, 32, 32, *map, kBar, 0), 1);
  EXPECT_EQ(CheckFlyability(0, 0, 32, 32, *map, kBar, 0), 1);
  EXPECT_EQ(CheckFlyability(640.5f, 0, 32, 32, *map, kBar, 0), 0);
  EXPECT_EQ(CheckFlyability(0, 416.5f, 32, 32, *map, kBar, 0), 0);
  EXPECT_EQ(CheckFlyability(-0.1f, 0, 32, 32, *map, kBar, 0), 0);
  EXPECT_EQ(CheckFlyability(nan, 10, 32, 32, *map, kBar, 0), 0);
  EXPECT_EQ(CheckFlyability(10, 9, 32, 32, *map, 77, 0), 1);  // no image: nothing to hit

  // A refused position leaves the handle alone.
  SetImageHandle(Tile[kBar]->image, 3, 1);
  CheckFlyability(-5, 0, 32, 32, *map, kBar, 0);
  EXPECT_EQ(Tile[kBar]->image->handleX, 3.0f);
  SetImageHandle(Tile[kBar]->image, 0, 0);

  // The box starts at the centre: a wall on the left is reached only when the centre lies
  // on its right edge, although the image overlaps it earlier.
  map->mapFeature[4][5] = {kWall, 0};  // 128..159
  EXPECT_EQ(CheckFlyability(165, 176, 32, 32, *map, kBar, 0), 1);
  EXPECT_EQ(CheckFlyability(160, 176, 32, 32, *map, kBar, 0), 0);
}
