#pragma once
// The fixed-rate logic clock and the logic step of the frame loop.

float ccCalcMSPerFrame(int rate);

class TFixedRateLogic {
public:
  virtual ~TFixedRateLogic() = default;
  float Framerate = 30.0f;
  double LastTime = 0.0;
  double NumTicks = 0.0;
  double LastNumTicks = 0.0;
  float MS = 0.0f;

  virtual int Init();
  virtual int CalcMS();
  virtual int Calc();
  virtual int SetDelta(float value);
};

int MainLogicLoop();

// The world update that MainLogicLoop runs once per step (MoveActors); tests put a probe
// in its place.
using TLogicStep = int (*)();
extern TLogicStep LogicStep;
