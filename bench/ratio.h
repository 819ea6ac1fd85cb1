#pragma once
// Same-run ratios. A figure of its own says little on a machine that other work keeps busy, so
// every benchmark here measures its work against a reference: one copy of the 640 x 480 back
// buffer (memcpy of 1.2 MB, warm, the best of three), the least a frame can cost. The two run
// in alternation, once each per iteration, timed on the thread's CPU clock and on the wall
// clock; the counters give the medians of both and the median of the per-pair ratios, so a
// slow spell of the machine slows both sides of a pair alike.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

inline double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
inline double CpuSeconds() { return Seconds(CLOCK_THREAD_CPUTIME_ID); }
inline double WallSeconds() { return Seconds(CLOCK_MONOTONIC); }

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<long>(middle), values.end());
  return values[middle];
}

class TAgainstFrameCopy {
public:
  TAgainstFrameCopy() : from_(640 * 480 * 4, 7), to_(640 * 480 * 4) {}

  // Runs the work, then the reference, timing both.
  template <typename Work>
  void Run(Work&& work) {
    const double cpu = CpuSeconds(), wall = WallSeconds();
    work();
    Add(CpuSeconds() - cpu, WallSeconds() - wall);
  }

  // Work timed elsewhere (in another process): the reference follows it here.
  void Add(double workCpu, double workWall) {
    // The copy is timed warm, as a frame's would be: the first brings both buffers into the
    // caches (and, after a fork, takes the page faults of its copy-on-write). The best of
    // three follows, so that the processor's clock has caught up after idle work (a wait).
    Copy();
    double copyCpu = 1e9, copyWall = 1e9;
    for (int i = 0; i < 3; ++i) {
      const double cpu = CpuSeconds(), wall = WallSeconds();
      Copy();
      copyCpu = std::min(copyCpu, CpuSeconds() - cpu);
      copyWall = std::min(copyWall, WallSeconds() - wall);
    }
    workCpu_.push_back(workCpu);
    copyCpu_.push_back(copyCpu);
    cpuRatio_.push_back(workCpu / std::max(copyCpu, 1e-9));
    wallRatio_.push_back(workWall / std::max(copyWall, 1e-9));
  }

  // Counters: the work's and the copy's median CPU time in microseconds, and the medians of
  // the ratios of CPU time ("x_copy") and of wall time ("wall_x_copy").
  void Report(benchmark::State& state, const std::string& prefix = "") const {
    state.counters[prefix + "cpu_us"] = Median(workCpu_) * 1e6;
    state.counters[prefix + "copy_us"] = Median(copyCpu_) * 1e6;
    state.counters[prefix + "x_copy"] = Median(cpuRatio_);
    state.counters[prefix + "wall_x_copy"] = Median(wallRatio_);
  }

private:
  void Copy() {
    std::memcpy(to_.data(), from_.data(), to_.size());
    benchmark::DoNotOptimize(to_.data());
    benchmark::ClobberMemory();
  }

  std::vector<uint8_t> from_, to_;
  std::vector<double> workCpu_, copyCpu_, cpuRatio_, wallRatio_;
};

// A benchmark's loop: the work against the copy once per iteration, then the counters.
template <typename Work>
void AgainstFrameCopy(benchmark::State& state, Work&& work) {
  TAgainstFrameCopy pair;
  for (auto _ : state) pair.Run(work);
  pair.Report(state);
}

}  // namespace bench
