// One logic tick of the world (MoveActors) with 10, 100 and 1000 walking NPCs on a walled
// map while 30 player's shots are in flight.
#include <benchmark/benchmark.h>
#include "core/globals.h"
#include "world/missile.h"
#include "world/update.h"

namespace {

TImagePtr Solid(int w, int h, int frames) {
  TImagePtr img = CreateImage(w, h, frames);
  for (int f = 0; f < frames; ++f) {
    TPixmapPtr px = LockImage(img, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) WritePixel(px, x, y, 0xFF808080u);
  }
  return img;
}

constexpr int kMissiles = 30;

void TopUpMissiles() {
  for (int i = CountList(missileList); i < kMissiles; ++i) {
    float y = 40.0f + static_cast<float>(i % 10) * 34.0f;
    AddMissile(1, 40.0f + static_cast<float>(i % 3) * 180.0f, y, (i % 2 ? 3.0f : -3.0f), 1.0f, 0, 1, 0, 5);
  }
}

void SetUpWorld(int npcs) {
  Tile = {TTile::Create(Solid(32, 32, 1), 1, 0), TTile::Create(Solid(8, 8, 1), 1, 0),
          TTile::Create(Solid(32, 32, 8), 8, 0)};
  currentMap = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x)
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      bool border = x == 0 || y == 0 || x == MAP_WIDTH - 1 || y == MAP_HEIGHT - 1;
      currentMap->mapTile[x][y] = TMapTile{-1, 1};
      currentMap->mapFeature[x][y] = border ? TMapTile{0, 0} : TMapTile{-1, 1};
      currentMap->mapObject[x][y].tileID = -1;
      currentMap->mapObject[x][y].walkability = 1;
      currentMap->mapOverlay[x][y].tileID = -1;
    }
  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  player = TPlayer::CreatePlayer(2, 0, 304, 200, 0, 0, 1, "hero", 10, 10, 0, 6.0f, 0);
  Delta = 1.0f;
  for (int i = 0; i < npcs; ++i) {
    auto a = std::make_shared<TActor>();
    a->tileID = 2;
    a->footprintID = 0;
    a->frames = 2;
    a->X = 40.0f + static_cast<float>((i * 37) % 540);
    a->Y = 40.0f + static_cast<float>((i * 53) % 320);
    a->speedX = (i % 3 - 1) * 3.0f;
    a->speedY = ((i / 3) % 3 - 1) * 3.0f;
    a->walkSpeed = 3.0f;
    a->attitude = -1;  // no contact: the player stays where it is
    a->life = 1000000;
    a->maxLife = 1000000;
    npcList.AddLast(a);
  }
}

void BM_WorldTick(benchmark::State& state) {
  const int npcs = static_cast<int>(state.range(0));
  SetUpWorld(npcs);
  for (auto _ : state) {
    state.PauseTiming();
    TopUpMissiles();
    state.ResumeTiming();
    MoveActors();
  }
  state.SetComplexityN(npcs);
  state.counters["npc_time"] = benchmark::Counter(
      static_cast<double>(npcs), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  npcList.Clear();
  missileList.Clear();
  player.reset();
  Tile.clear();
}

BENCHMARK(BM_WorldTick)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
