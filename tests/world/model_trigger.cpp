// Touch and talk trigger lookup on object cells.
#include <gtest/gtest.h>

#include <vector>

#include "core/globals.h"
#include "support/tiles.h"
#include "world/collision.h"
#include "world/map.h"

using namespace testsupport;

namespace {

enum { kSolid = 0, kFoot = 1, kHoled = 2 };  // kHoled: only its right half (x 16..31) is solid

struct Cell {
  int x, y;
  int tileID, interaction, trigger;
};

TMapPtr MapWith(const std::vector<Cell>& cells) {
  TMapPtr map = TMap::Create();
  for (const Cell& c : cells) {
    TObject& o = map->mapObject[c.x][c.y];
    o.tileID = c.tileID;
    o.interaction = static_cast<uint8_t>(c.interaction);
    o.trigger = c.trigger;
  }
  return map;
}

class Triggers : public testing::Test {
protected:
  Triggers()
      : tiles_({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32)),
                MakeTile(HoledImage(32, 32, 0, 0, 16, 32))}) {
    savedTalk_ = imgTalk;
    // The probe: frames 0..2 solid in their left quarter only, frame 3 solid all over.
    imgTalk = MakeImage(32, 32, 4, [](int f, int x, int) {
      return f == 3 || x < 8 ? FrameColor(f) : 0u;
    });
    triggerX = -5;
    triggerY = -6;
  }
  ~Triggers() override { imgTalk = savedTalk_; }
  ScopedTiles tiles_;
  TImagePtr savedTalk_;
};

}  // namespace

TEST_F(Triggers, TouchLookupTakesTheFirstHitRowByRow) {
  struct Case {
    const char* what;
    std::vector<Cell> cells;
    int x, y;
    int trigger;
    float cellX, cellY;  // -5, -6: left as they were
  };
  // The footprint at (48, 48) covers cells (1..2, 1..2).
  const Case cases[] = {
      {"upper row wins", {{1, 2, kSolid, 1, 8}, {2, 1, kSolid, 1, 7}}, 48, 48, 7, 2, 1},
      {"left wins within a row", {{2, 2, kSolid, 1, 9}, {1, 2, kSolid, 1, 8}}, 48, 48, 8, 1, 2},
      {"trigger 0 still ends the search", {{2, 1, kSolid, 1, 0}, {1, 2, kSolid, 1, 8}}, 48, 48, 0, 2, 1},
      {"cell without tile uses tile 0's mask", {{1, 1, -1, 1, 4}}, 48, 48, 4, 1, 1},
      {"tile below -1 uses tile 0's mask too", {{1, 1, -3, 1, 4}}, 48, 48, 4, 1, 1},
      {"tile outside the table never hits", {{1, 1, 50, 1, 4}}, 48, 48, 0, -5, -6},
      {"mask solid where the footprint is", {{1, 1, kHoled, 1, 5}}, 48, 48, 5, 1, 1},
      {"mask empty where the footprint is", {{2, 1, kHoled, 1, 5}}, 47, 48, 0, -5, -6},
      {"talk cells are not touch cells", {{1, 1, kSolid, 2, 3}}, 48, 48, 0, -5, -6},
      {"other kinds are nothing", {{1, 1, kSolid, 3, 3}}, 48, 48, 0, -5, -6},
      {"edges that touch do not meet", {{2, 1, kSolid, 1, 3}}, 32, 48, 0, -5, -6},
      {"x = 0 still searches", {{0, 0, kSolid, 1, 6}}, 0, 0, 6, 0, 0},
      {"x = 608, y = 384 still search", {{19, 12, kSolid, 1, 6}}, 608, 384, 6, 19, 12},
      {"left of the field", {{0, 0, kSolid, 1, 6}}, -1, 0, 0, -5, -6},
      {"right of the field", {{19, 0, kSolid, 1, 6}}, 609, 0, 0, -5, -6},
      {"below the field", {{0, 12, kSolid, 1, 6}}, 0, 385, 0, -5, -6},
  };
  for (const Case& c : cases) {
    triggerX = -5;
    triggerY = -6;
    TMapPtr map = MapWith(c.cells);
    EXPECT_EQ(CheckTileTrigger(c.x, c.y, *map, 1, kFoot), c.trigger) << c.what;
    EXPECT_EQ(triggerX, c.cellX) << c.what;
    EXPECT_EQ(triggerY, c.cellY) << c.what;
    // Asked again, the same cell and number.
    EXPECT_EQ(CheckTileTrigger(c.x, c.y, *map, 1, kFoot), c.trigger) << c.what;
  }
}

TEST_F(Triggers, TouchLookupWithoutFootprintImageFindsNothing) {
  TMapPtr map = MapWith({{1, 1, kSolid, 1, 3}});
  EXPECT_EQ(CheckTileTrigger(48, 48, *map, 1, 99), 0);
  EXPECT_EQ(triggerX, -5);
}

TEST_F(Triggers, TalkLookupChoosesTheProbeFrameByDirection) {
  // A talk cell at (2, 1) = 64..95; the probe at (40, 40) reaches x 40..71, and only
  // frame 3 is solid beyond its left quarter (40..47).
  struct Case {
    int direction;
    int trigger;
  };
  const Case cases[] = {{0, 0},    {180, 0},  {270, 0},  {90, 5},
                        {45, 5},   {135, 5},  {225, 5},  {315, 5}};
  TMapPtr map = MapWith({{2, 1, kSolid, 2, 5}});
  for (const Case& c : cases)
    EXPECT_EQ(CheckTileTriggerTalk(40, 40, *map, 2, c.direction), c.trigger) << c.direction;
  EXPECT_EQ(triggerX, 2);
  EXPECT_EQ(triggerY, 1);
}

TEST_F(Triggers, TalkLookupBoundsAndKinds) {
  struct Case {
    const char* what;
    std::vector<Cell> cells;
    int x, y, interaction;
    int trigger;
  };
  const Case cases[] = {
      {"first hit", {{1, 1, kSolid, 2, 0}, {1, 2, kSolid, 2, 8}}, 40, 40, 2, 0},
      {"cell without tile uses tile 0's mask", {{1, 1, -1, 2, 4}}, 40, 40, 2, 4},
      {"touch cells are not talk cells", {{1, 1, kSolid, 1, 4}}, 40, 40, 2, 0},
      {"only kind 2 is searched", {{1, 1, kSolid, 1, 4}}, 40, 40, 1, 0},
      {"x = 0 finds nothing", {{0, 0, kSolid, 2, 4}}, 0, 10, 2, 0},
      {"y = 0 finds nothing", {{0, 0, kSolid, 2, 4}}, 10, 0, 2, 0},
      {"x = 1 searches", {{0, 0, kSolid, 2, 4}}, 1, 1, 2, 4},
      {"x = 608, y = 384 search", {{19, 12, kSolid, 2, 4}}, 608, 384, 2, 4},
      {"x = 609 finds nothing", {{19, 12, kSolid, 2, 4}}, 609, 384, 2, 0},
  };
  for (const Case& c : cases) {
    TMapPtr map = MapWith(c.cells);
    EXPECT_EQ(CheckTileTriggerTalk(c.x, c.y, *map, c.interaction, 90), c.trigger) << c.what;
  }
}
