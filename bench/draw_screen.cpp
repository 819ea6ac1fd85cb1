// Frames against a copy of the back buffer in the same run (bench/ratio.h): the busiest game
// picture (support/busy_frame.h: full map layers, 200 NPCs, 100 missiles turned and spinning,
// the interface strip), its 100 missiles alone, turned and unturned, a frame of the zoom
// transition, and the dialog frame's middle piece stretched to the height of its text.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ratio.h"
#include "core/game.h"
#include "core/globals.h"
#include "support/busy_frame.h"

namespace {

// Animated tiles step on every sixth frame, as they would at 10 frames a second of 60.
void NextFrame(int& frames) {
  if (++frames % 6 != 0) return;
  for (const TTilePtr& tile : Tile) tile->NextFrame();
}

void BM_BusiestFrame(benchmark::State& state) {
  testsupport::SetUpBusyFrame();
  bench::TAgainstFrameCopy pair;
  int frames = 0;
  for (auto _ : state) {
    pair.Run([] { DrawScreen(); });
    NextFrame(frames);
  }
  pair.Report(state);
}
BENCHMARK(BM_BusiestFrame)->Unit(benchmark::kMicrosecond);

// Argument 1: the missiles turned and spinning as in the busiest frame; 0: all pointing up.
void BM_Missiles(benchmark::State& state) {
  testsupport::SetUpBusyFrame();
  if (state.range(0) == 0) {
    for (const TMissilePtr& m : missileList) m->rotation = m->rotationDiff = 0;
  }
  bench::TAgainstFrameCopy pair;
  int frames = 0;
  for (auto _ : state) {
    pair.Run([] {
      for (const TMissilePtr& m : missileList) m->DrawMissile(0, 0);
    });
    NextFrame(frames);
  }
  pair.Report(state);
}
BENCHMARK(BM_Missiles)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The picture of the zoom transition at one step (the argument: the cells' scale in percent):
// the screen cleared, the map's layers each cell shrunk about its corner, the interface strip.
void BM_ZoomFrame(benchmark::State& state) {
  testsupport::SetUpBusyFrame();
  const float scale = static_cast<float>(state.range(0)) / 100.0f;
  bench::AgainstFrameCopy(state, [scale] {
    Cls();
    SetScale(scale, scale);
    currentMap->DrawMap(0, 0);
    currentMap->DrawOverlay(0, 0);
    SetScale(1.0f, 1.0f);
    DrawInterface();
  });
}
BENCHMARK(BM_ZoomFrame)->Arg(90)->Arg(50)->Unit(benchmark::kMicrosecond);

// The demo quest's middle piece (576 x 16) stretched to 96 pixels, as a text box of six lines
// draws it.
void BM_DialogMiddle(benchmark::State& state) {
  const TImagePtr middle =
      LoadImage(std::string(CORVEL_BINARY_DIR) + "/Resources/Images/dialogmiddle.png");
  if (!middle) {
    state.SkipWithError("no demo quest in the build folder");
    return;
  }
  SetBlend(ALPHABLEND);
  bench::AgainstFrameCopy(state, [&middle] { DrawImageRect(middle, 32, 128, 576, 96); });
}
BENCHMARK(BM_DialogMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
