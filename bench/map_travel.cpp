// Map travel on the demo quest: a round trip from the village to the forest and back (cuts),
// against a frame copy in the same run, and the system calls that one round trip makes. The
// quest's scripts are left out of the trips, so the figures are the trips' own file work:
// reading the map entered, writing the map left and its NPCs into the working folder.
#include <benchmark/benchmark.h>

#include "bench/demo_game.h"
#include "bench/ratio.h"
#include "bench/syscalls.h"
#include "transitions/transitions.h"

namespace {

void RoundTrip() {
  TravelToMap(settings->tempDir + "forest.map", 7);
  TravelToMap(settings->tempDir + "village.map", 7);
}

void StartTravelling() {
  static bool started = false;
  if (started) return;
  started = true;
  bench::StartDemoGame("map_travel");
  Trigger.clear();
  RoundTrip();  // both maps have been left once: their NPC files exist
}

void BM_MapTravelRoundTrip(benchmark::State& state) {
  StartTravelling();
  bench::AgainstFrameCopy(state, RoundTrip);
}
BENCHMARK(BM_MapTravelRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_MapTravelSystemCalls(benchmark::State& state) {
  StartTravelling();
  bench::SyscallsOf(state, RoundTrip);
}
BENCHMARK(BM_MapTravelSystemCalls)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
