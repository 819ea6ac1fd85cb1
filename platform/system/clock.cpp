// The millisecond clock (real or injected) and delays.
#include "platform/system/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>
#include <utility>

#include "platform/system/internal.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point ProgramStart() {
  static const SteadyClock::time_point start = SteadyClock::now();
  return start;
}
// Fixes the start while the program starts, whether or not anything asks for the time.
const SteadyClock::time_point startedAt = ProgramStart();

std::function<int32_t()> clockSource;
std::function<void(int32_t)> clockDelay;
int32_t manualNow = 0;

int32_t RealMilliSecs() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - ProgramStart());
  // A signed 32-bit count that wraps like the system counter it stands for.
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms.count())));
}

}  // namespace

int64_t ThreadCpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

int32_t MilliSecs() { return clockSource ? clockSource() : RealMilliSecs(); }

void Delay(int32_t ms) {
  if (ms <= 0) return;
  if (clockSource) {
    if (clockDelay) clockDelay(ms);
    return;
  }
  // In short steps, so that a signal that ends the program is obeyed during a long pause.
  const SteadyClock::time_point end = SteadyClock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    TakeTerminationRequest(false);
    const auto left = end - SteadyClock::now();
    if (left <= SteadyClock::duration::zero()) return;
    const SteadyClock::duration step = std::chrono::milliseconds(20);
    std::this_thread::sleep_for(std::min(left, step));
  }
}

void SetClockSource(std::function<int32_t()> source, std::function<void(int32_t)> delay) {
  clockSource = std::move(source);
  clockDelay = clockSource ? std::move(delay) : nullptr;
}

void UseManualClock(int32_t start) {
  manualNow = start;
  SetClockSource([] { return manualNow; }, [](int32_t ms) { AdvanceManualClock(ms); });
}

void SetManualClock(int32_t ms) { manualNow = ms; }

void AdvanceManualClock(int32_t ms) {
  manualNow = static_cast<int32_t>(static_cast<uint32_t>(manualNow) + static_cast<uint32_t>(ms));
}
