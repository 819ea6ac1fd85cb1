// DrawScreen of a worst-case frame (every cell of the three map layers and the overlay
// filled, animated tiles, 50 NPCs, 30 missiles, the interface strip), measured against a
// plain copy of the 640 x 480 back buffer in the same run; prints both and their ratio.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"

namespace {

TImagePtr Pattern(int w, int h, int frames, uint32_t argb) {
  TImagePtr image = CreateImage(w, h, frames, -1);
  for (int f = 0; f < frames; ++f) {
    TPixmapPtr p = LockImage(image, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        // Some transparent pixels, as sprites and features have.
        WritePixel(p, x, y, (x + y + f) % 5 == 0 ? 0x00000000 : argb + static_cast<uint32_t>(f * 16));
  }
  return image;
}

void WorstCaseFrame() {
  SetBlend(ALPHABLEND);
  SetColor(255, 255, 255);
  SetScale(1.0f, 1.0f);
  Tile.clear();
  for (int t = 0; t < 8; ++t) {
    const bool animated = t % 2 == 1;
    Tile.push_back(TTile::Create(Pattern(32, 32, animated ? 4 : 1, 0xFF203040u + t * 0x00101010u),
                                 animated ? 4 : 1, animated ? 8 : 0));
  }
  timerList.Clear();
  CreateTimers();
  currentMap = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x) {
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      currentMap->mapTile[x][y].tileID = (x + y) % 8;
      currentMap->mapFeature[x][y].tileID = (x * 3 + y) % 8;
      currentMap->mapObject[x][y].tileID = (x + y * 5) % 8;
      currentMap->mapOverlay[x][y].tileID = (x * 7 + y) % 8;
      currentMap->mapOverlay[x][y].alpha = 0.5f;
    }
  }
  npcList.Clear();
  for (int i = 0; i < 50; ++i) {
    auto npc = std::make_shared<TActor>();
    npc->tileID = i % 8;
    npc->X = static_cast<float>((i * 37) % 600);
    npc->Y = static_cast<float>((i * 8) % 380);
    npcList.AddLast(npc);
  }
  missileList.Clear();
  for (int i = 0; i < 30; ++i) {
    auto m = std::make_shared<TMissile>();
    m->tileID = i % 8;
    m->X = static_cast<float>((i * 53) % 600);
    m->Y = static_cast<float>((i * 29) % 380);
    m->rotationDiff = 10;
    missileList.AddLast(m);
  }
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
  imgInterface = Pattern(640, 64, 1, 0xFF404040u);
  imgGold = Pattern(32, 32, 1, 0xFFC0A000u);
  for (int i = 0; i < 3; ++i) imgLife[i] = Pattern(32, 32, 1, 0xFF800000u + i * 0x00200000u);
}

void BM_DrawScreen(benchmark::State& state) {
  WorstCaseFrame();
  for (auto _ : state) {
    DrawScreen();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawScreen)->Unit(benchmark::kMicrosecond);

void BM_CopyBackBuffer(benchmark::State& state) {
  const TPixmapPtr back = BackBuffer();
  std::vector<uint8_t> copy(back->pixels.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), back->pixels.data(), copy.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyBackBuffer)->Unit(benchmark::kMicrosecond);

// Keeps the time per iteration of each benchmark for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> perIteration;  // nanoseconds
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") perIteration[run.benchmark_name()] = run.GetAdjustedRealTime() * 1000;
      } else if (run.iterations > 0) {
        perIteration[run.benchmark_name()] = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // With repetitions the medians are compared, else the single runs.
  auto time = [&](const std::string& name) {
    auto median = reporter.perIteration.find(name + "_median");
    return median != reporter.perIteration.end() ? median->second : reporter.perIteration[name];
  };
  const double draw = time("BM_DrawScreen");
  const double copy = time("BM_CopyBackBuffer");
  if (draw > 0 && copy > 0)
    std::printf("DrawScreen %.1f us, buffer copy %.1f us, ratio %.1f\n", draw / 1000, copy / 1000, draw / copy);
  benchmark::Shutdown();
  return 0;
}
