// The software renderer on a worst-case frame: four layers of 20 x 13 tiles of 32 x 32
// (a quarter of their pixels masked out), round sprites at fractional positions (filtered), one
// rotated missile and a line of text; and the parts of that frame on their own.
#include <benchmark/benchmark.h>

#include "platform/graphics/graphics_context.h"

namespace {

TImagePtr Tile(bool holes) {
  TPixmapPtr pm = CreatePixmap(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      WritePixel(pm, x, y, (holes && (x + y) % 4 == 0) ? 0xFFFF00FF : 0xFF000000u | (x * 8 << 8) | y * 8);
  return LoadImage(pm, -1);
}

// A round figure on a masked background.
TImagePtr Sprite() {
  TPixmapPtr pm = CreatePixmap(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      WritePixel(pm, x, y, (x - 16) * (x - 16) + (y - 16) * (y - 16) < 200 ? 0xFF2060A0u : 0xFFFF00FFu);
  return LoadImage(pm, -1);
}

struct Scene {
  Scene(int blend) {
    SetCurrentContext(MakeGraphicsContext(640, 480));
    SetMaskColor(255, 0, 255);
    ground = Tile(false);
    feature = Tile(true);
    sprite = Sprite();
    SetBlend(blend);
  }
  void Tiles() {
    for (int layer = 0; layer < 4; ++layer)
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 20; ++x) DrawImage(layer ? feature : ground, x * 32.0f, y * 32.0f);
  }
  void Sprites() {
    for (int i = 0; i < 20; ++i) DrawImage(sprite, 13.5f + i * 29.25f, 100.75f + i * 11);
    MidHandleImage(sprite);
    SetRotation(45);
    DrawImage(sprite, 320, 200);
    SetRotation(0);
    SetImageHandle(sprite, 0, 0);
  }
  TImagePtr ground, feature, sprite;
};

void BM_Frame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Cls();
    scene.Tiles();
    scene.Sprites();
    DrawText("Life 10/10  Gold 250  The quick brown fox", 8, 440);
    benchmark::DoNotOptimize(BackBuffer()->pixels.data());
  }
}
BENCHMARK(BM_Frame)->Arg(ALPHABLEND)->Arg(MASKBLEND)->Unit(benchmark::kMicrosecond);

void BM_Tiles(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) scene.Tiles();
}
BENCHMARK(BM_Tiles)->Arg(ALPHABLEND)->Arg(MASKBLEND)->Unit(benchmark::kMicrosecond);

// The map shrinking in a zoom transition: every tile scaled, so filtered.
void BM_ZoomedTiles(benchmark::State& state) {
  Scene scene(ALPHABLEND);
  SetScale(0.9f, 0.9f);
  for (auto _ : state) scene.Tiles();
  SetScale(1, 1);
}
BENCHMARK(BM_ZoomedTiles)->Unit(benchmark::kMicrosecond);

void BM_Sprites(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) scene.Sprites();
}
BENCHMARK(BM_Sprites)->Arg(ALPHABLEND)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
