#pragma once
// A small open world for the simulation tests: an empty map, a few generated tiles, a player
// and empty entity lists, with Delta 1.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "core/globals.h"
#include "support/tiles.h"
#include "world/player.h"

namespace simtest {

// Tile numbers of the fixture's table.
enum {
  kSolid = 0,   // 32 x 32 opaque: footprints, walls, the talk probe
  kSprite = 1,  // 32 x 32 x 8 opaque: an actor sheet of 2 frames per facing
  kDot = 2,     // 32 x 32, opaque only in its 4 x 4 centre: small missiles
  kBig = 3,     // 64 x 64 opaque sprite: for box tests larger than a cell
  kSwing = 4,   // 32 x 32 x 12 opaque: a melee sheet of 3 frames per facing
  kBlank = 5,   // 32 x 32 without a solid pixel
};

inline std::vector<TTilePtr> SimTiles() {
  using namespace testsupport;
  return {MakeTile(SolidImage(32, 32), 1), MakeTile(SolidImage(32, 32, 8), 8),
          MakeTile(RectImage(32, 32, 14, 14, 4, 4), 1), MakeTile(SolidImage(64, 64, 8), 8),
          MakeTile(SolidImage(32, 32, 12), 12), MakeTile(RectImage(32, 32, 0, 0, 0, 0), 1)};
}

// Every cell of every layer empty (no tile) and walkable.
inline TMapPtr OpenMap() {
  TMapPtr map = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x)
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      map->mapTile[x][y] = TMapTile{-1, 1};
      map->mapFeature[x][y] = TMapTile{-1, 1};
      map->mapObject[x][y] = TObject{};
      map->mapObject[x][y].tileID = -1;
      map->mapObject[x][y].walkability = 1;
      map->mapOverlay[x][y] = TOverlay{};
      map->mapOverlay[x][y].tileID = -1;
    }
  return map;
}

// A solid wall in the feature layer.
inline void Wall(TMap& map, int col, int row) { map.mapFeature[col][row] = TMapTile{kSolid, 0}; }

// An NPC of class T (a TActor, or a test's subclass of it) on the fixture's sprite.
template <class T = TActor>
std::shared_ptr<T> MakeNPC(float x, float y, int attitude = 2) {
  auto a = std::make_shared<T>();
  a->tileID = kSprite;
  a->footprintID = kSolid;
  a->X = x;
  a->Y = y;
  a->frames = 2;
  a->life = 10;
  a->maxLife = 10;
  a->attitude = attitude;
  return a;
}

class SimTest : public ::testing::Test {
protected:
  void SetUp() override {
    currentMap = OpenMap();
    npcList.Clear();
    missileList.Clear();
    meleeList.Clear();
    Trigger.clear();
    lockControls = 0;
    Delta = 1.0f;
    targetActor.clear();
    player = TPlayer::CreatePlayer(kSprite, kSolid, 300, 200, 0, 0, 1, "hero", 10, 10, 0, 6.0f, 0);
  }
  void TearDown() override {
    npcList.Clear();
    missileList.Clear();
    meleeList.Clear();
    player.reset();
  }
  testsupport::ScopedTiles tiles_{SimTiles()};
};

}  // namespace simtest
