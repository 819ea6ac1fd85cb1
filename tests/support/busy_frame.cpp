#include "support/busy_frame.h"

#include <memory>

#include "core/globals.h"
#include "support/tiles.h"

namespace testsupport {

namespace {

// A 32 x 32 tile: a colour ramp with a quarter of its pixels transparent (sprites and features
// have holes), shifted per frame.
TImagePtr MapTile(int tile, int frames) {
  return MakeImage(32, 32, frames, [tile](int f, int x, int y) {
    if ((x + y + f) % 4 == 0) return 0u;
    return 0xFF000000u | static_cast<uint32_t>((x * 8 + tile * 29) & 255) << 16 |
           static_cast<uint32_t>((y * 8 + f * 40) & 255) << 8 | static_cast<uint32_t>(tile * 31 & 255);
  });
}

// An arrow pointing up: a shaft with a head, on a transparent ground, with an edge at half alpha.
TImagePtr Arrow() {
  return MakeImage(32, 32, 1, [](int, int x, int y) {
    const int dx = x < 16 ? 15 - x : x - 16;
    if (y < 10 && dx <= y) return dx == y ? 0x80E0E0E0u : 0xFFC0C0C0u;
    if (dx < 2 && y < 29) return 0xFF8B5A2Bu;
    return 0u;
  });
}

// A ball of 25 x 25 (its centre on a half pixel) whose colour turns from frame to frame.
TImagePtr Ball() {
  return MakeImage(25, 25, 4, [](int f, int x, int y) {
    const int d = (x - 12) * (x - 12) + (y - 12) * (y - 12);
    if (d > 144) return 0u;
    return 0xFF000000u | static_cast<uint32_t>(255 - f * 40) << 16 |
           static_cast<uint32_t>((d + f * 20) & 255) << 8 | static_cast<uint32_t>(x * 10);
  });
}

}  // namespace

void SetUpBusyFrame() {
  SetBlend(ALPHABLEND);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
  SetScale(1.0f, 1.0f);
  SetRotation(0.0f);
  Tile.clear();
  for (int t = 0; t < kBusyMapTiles; ++t) {
    const int frames = t % 2 == 1 ? 4 : 1;
    Tile.push_back(TTile::Create(MapTile(t, frames), frames, frames > 1 ? 8 : 0));
  }
  Tile.push_back(TTile::Create(Arrow(), 1, 0));
  Tile.push_back(TTile::Create(Ball(), 4, 10));
  timerList.Clear();
  currentMap = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x) {
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      currentMap->mapTile[x][y].tileID = (x + y) % kBusyMapTiles;
      currentMap->mapFeature[x][y].tileID = (x * 3 + y) % kBusyMapTiles;
      currentMap->mapObject[x][y].tileID = (x + y * 5) % kBusyMapTiles;
      currentMap->mapOverlay[x][y].tileID = (x * 7 + y) % kBusyMapTiles;
      currentMap->mapOverlay[x][y].alpha = 0.5f;
    }
  }
  npcList.Clear();
  for (int i = 0; i < 200; ++i) {
    auto npc = std::make_shared<TActor>();
    npc->tileID = i % kBusyMapTiles;
    npc->X = static_cast<float>((i * 37) % 600) + 0.25f * static_cast<float>(i % 4);
    npc->Y = static_cast<float>((i * 13) % 380);
    npcList.AddLast(npc);
  }
  missileList.Clear();
  for (int i = 0; i < 100; ++i) {
    auto m = std::make_shared<TMissile>();
    m->tileID = i % 2 == 0 ? kBusyArrowTile : kBusyBallTile;
    // Every missile stays on the picture, a few reaching over its edges.
    m->X = static_cast<float>((i * 53) % 660) - 20.0f + 0.5f * static_cast<float>(i % 3);
    m->Y = static_cast<float>((i * 29) % 430) - 14.0f;
    m->rotation = 45 * (i % 8) + (i % 8 == 0 ? 45 : 0);
    m->rotationDiff = i % 4 < 2 ? 10 : 0;
    missileList.AddLast(m);
  }
  meleeList.Clear();
  player = std::make_shared<TPlayer>();
  player->X = 300;
  player->Y = 200;
  player->gold = 12345;
  player->life = 5;
  player->maxLife = 12;
  player->primary = std::make_shared<TItem>();
  player->primary->icon = 3;
  player->primary->ammoMax = 10;
  player->primary->ammoCount = 7;
  player->secondary = std::make_shared<TItem>();
  player->secondary->icon = 5;
  imgInterface = MakeImage(640, 64, 1, [](int, int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x / 3 & 255) << 8 | static_cast<uint32_t>(y * 4);
  });
  imgGold = SolidImage(32, 32);
  for (int i = 0; i < 3; ++i) imgLife[i] = MapTile(i, 1);
}

}  // namespace testsupport
