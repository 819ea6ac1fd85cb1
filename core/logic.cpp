// The fixed-rate logic clock: elapsed time turned into whole logic ticks and a remainder.
#include "core/logic.h"
#include <cmath>
#include "core/globals.h"
#include "world/update.h"

TLogicStep LogicStep = &MoveActors;

float ccCalcMSPerFrame(int rate) { return static_cast<float>(1000.0 / rate); }

int TFixedRateLogic::Init() {
  CalcMS();
  LastTime = static_cast<double>(MilliSecs());
  NumTicks = 0.0;
  LastNumTicks = 1.0;
  SetDelta(1.0f);
  return 0;
}

int TFixedRateLogic::CalcMS() {
  MS = ccCalcMSPerFrame(static_cast<int>(Framerate));
  return 0;
}

int TFixedRateLogic::Calc() {
  const double now = static_cast<double>(MilliSecs());
  // A clock that ran backwards (the counter wrapped) repeats the previous count.
  NumTicks = now >= LastTime ? (now - LastTime) / static_cast<double>(MS) : LastNumTicks;
  LastTime = now;
  // A long stall is not caught up at all; a shorter one at most 50 ticks.
  if (NumTicks > 100.0) NumTicks = LastNumTicks;
  if (NumTicks > 50.0) NumTicks = 50.0;
  LastNumTicks = NumTicks;
  return 0;
}

int TFixedRateLogic::SetDelta(float value) {
  Delta = value;
  return 0;
}

int MainLogicLoop() {
  TFixedRateLogic& clock = *FixedRateLogic;
  clock.Calc();
  // Fixed before the passes: a screen that resets the clock during one of them does not
  // shorten the count, it only drops the fractional pass.
  const int whole = static_cast<int>(std::floor(clock.NumTicks));
  for (int i = 0; i < whole; ++i) {
    clock.SetDelta(1.0f);
    LogicStep();
  }
  const double fraction = std::fmod(clock.NumTicks, 1.0);
  if (fraction > 0.0) {
    clock.SetDelta(static_cast<float>(fraction));
    LogicStep();
  }
  return 0;
}
