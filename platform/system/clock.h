#pragma once
// The millisecond clock and delays.
#include <cstdint>
#include <functional>

// Signed 32-bit milliseconds from a monotonic clock, counted from program start.
int32_t MilliSecs();
// Blocks for ms milliseconds (nothing for ms <= 0). With an injected clock it calls that
// clock's delay function instead of sleeping (the manual clock advances; no function: returns).
void Delay(int32_t ms);

// Processor time this thread has used, in microseconds: time that a busy machine takes away
// from the thread does not count.
int64_t ThreadCpuMicros();

// Tests inject a clock of their own; null restores the real one.
void SetClockSource(std::function<int32_t()> source, std::function<void(int32_t)> delay = nullptr);
// A manual clock for tests: MilliSecs() returns its value, Delay() advances it.
void UseManualClock(int32_t start = 0);
void SetManualClock(int32_t ms);
void AdvanceManualClock(int32_t ms);
