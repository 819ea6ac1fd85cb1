// A save of a game whose working folder holds 100 maps (the demo quest's three and 97 more
// like them) into a slot that holds the last save, on the build's disk, against a frame copy
// in the same run; and the system calls that one save makes.
#include <benchmark/benchmark.h>

#include "bench/demo_game.h"
#include "bench/ratio.h"
#include "bench/syscalls.h"
#include "transitions/transitions.h"

namespace {

constexpr int kMaps = 100;

void Save() { SaveGame(settings->saveDir + "0.BENCH.sav", settings->saveDir + "0"); }

void StartSaving() {
  static bool started = false;
  if (started) return;
  started = true;
  bench::StartDemoGame("save_game");
  for (int i = 3; i < kMaps; ++i)
    CopyFile(settings->tempDir + "village.map", settings->tempDir + "more" + std::to_string(i) + ".map");
  Save();  // the slot holds a save to replace
}

void BM_SaveHundredMaps(benchmark::State& state) {
  StartSaving();
  bench::AgainstFrameCopy(state, Save);
}
BENCHMARK(BM_SaveHundredMaps)->Unit(benchmark::kMillisecond);

void BM_SaveSystemCalls(benchmark::State& state) {
  StartSaving();
  bench::SyscallsOf(state, Save);
}
BENCHMARK(BM_SaveSystemCalls)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
