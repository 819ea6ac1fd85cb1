// Start-up to the title on the demo quest: each run is a fresh process (a fork of this one,
// which has started nothing) that runs the game's start-up on SDL's dummy display and
// OpenAL's null device and stops at the title menu's first look for an event, when the
// title picture has been drawn and shown. Its CPU time and its resident memory at that
// moment are measured against a frame copy in this process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/demo_game.h"
#include "bench/ratio.h"
#include "platform/events/events.h"

namespace {

struct TTitleReached {
  double cpu = 0, wall = 0, residentMB = 0;
  bool reached = false;
};

double ResidentMB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  return 0;
}

TTitleReached StartToTitle(const std::string& home) {
  int fds[2];
  TTitleReached title;
  if (pipe(fds) != 0) return title;
  const double began = bench::WallSeconds();
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    setenv("HOME", home.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    const int out = fds[1];
    SetEventPump([out, began] {
      rusage usage{};
      getrusage(RUSAGE_SELF, &usage);
      TTitleReached at;
      at.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
      at.wall = bench::WallSeconds() - began;
      at.residentMB = ResidentMB();
      at.reached = true;
      if (write(out, &at, sizeof at) != static_cast<ssize_t>(sizeof at)) _exit(1);
      _exit(0);
    });
    CorvelMain();
  }
  close(fds[1]);
  if (child > 0) {
    if (read(fds[0], &title, sizeof title) != static_cast<ssize_t>(sizeof title)) title = {};
    waitpid(child, nullptr, 0);
  }
  close(fds[0]);
  return title;
}

void BM_StartUpToTitle(benchmark::State& state) {
  const std::string home = bench::ScratchHome("startup");
  StartToTitle(home);  // the first start makes the user folder; the others find it
  bench::TAgainstFrameCopy pair;
  std::vector<double> resident;
  for (auto _ : state) {
    const TTitleReached title = StartToTitle(home);
    if (!title.reached) {
      state.SkipWithError("the game did not reach its title");
      return;
    }
    pair.Add(title.cpu, title.wall);
    resident.push_back(title.residentMB);
  }
  pair.Report(state);
  state.counters["resident_mb"] = bench::Median(resident);
}
BENCHMARK(BM_StartUpToTitle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
