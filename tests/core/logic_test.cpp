// The fixed-rate logic clock on a manual clock: whole ticks, the fractional pass, the
// catch-up limits, a clock running backwards and resets between and inside passes.
#include <gtest/gtest.h>
#include <vector>
#include "core/globals.h"
#include "core/logic.h"

namespace {

std::vector<float> deltas;           // Delta seen by each world update of the last pass
int resetOnCall = 0;                 // the update of this number resets the clock (0: none)

int RecordingStep() {
  deltas.push_back(Delta);
  if (static_cast<int>(deltas.size()) == resetOnCall) FixedRateLogic->Init();
  return 0;
}

class LogicClock : public ::testing::Test {
protected:
  void SetUp() override {
    UseManualClock(1000);
    FixedRateLogic = std::make_unique<TFixedRateLogic>();
    savedStep = LogicStep;
    LogicStep = &RecordingStep;
    resetOnCall = 0;
    Delta = 0.0f;
  }
  void TearDown() override {
    LogicStep = savedStep;
    SetClockSource(nullptr);
  }
  // One pass of the logic step at the clock reading ms; returns the deltas of its updates.
  std::vector<float> PassAt(int32_t ms) {
    SetManualClock(ms);
    deltas.clear();
    MainLogicLoop();
    return deltas;
  }
  TLogicStep savedStep = nullptr;
};

TEST_F(LogicClock, InitAfterNew) {
  EXPECT_EQ(FixedRateLogic->Framerate, 30.0f);
  EXPECT_EQ(FixedRateLogic->MS, 0.0f);
  FixedRateLogic->Init();
  EXPECT_EQ(FixedRateLogic->MS, 33.333332f);
  EXPECT_EQ(FixedRateLogic->LastTime, 1000.0);
  EXPECT_EQ(FixedRateLogic->NumTicks, 0.0);
  EXPECT_EQ(FixedRateLogic->LastNumTicks, 1.0);
  EXPECT_EQ(Delta, 1.0f);
  EXPECT_FLOAT_EQ(ccCalcMSPerFrame(60), 16.666666f);
}

struct Pass {
  int32_t at;       // clock reading of the pass
  bool initBefore;  // the clock is reset at this reading instead of a pass
};

struct ClockCase {
  const char* name;
  float framerate;
  std::vector<Pass> before;     // after Init at 1000
  int32_t at;                   // the pass that is checked
  int whole;                    // updates with Delta 1
  float fraction;               // Delta of the last update; 0: no fractional update
  float deltaAfter;             // Delta when the pass is over
};

class LogicClockTable : public LogicClock, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(LogicClockTable, Pass) {
  const ClockCase& c = GetParam();
  FixedRateLogic->Framerate = c.framerate;
  FixedRateLogic->Init();
  for (const Pass& p : c.before) {
    if (p.initBefore) {
      SetManualClock(p.at);
      FixedRateLogic->Init();
    } else {
      PassAt(p.at);
    }
  }
  const std::vector<float> got = PassAt(c.at);
  ASSERT_EQ(got.size(), static_cast<size_t>(c.whole + (c.fraction > 0 ? 1 : 0)));
  for (int i = 0; i < c.whole; ++i) EXPECT_EQ(got[i], 1.0f) << "update " << i;
  if (c.fraction > 0) {
    EXPECT_NEAR(got.back(), c.fraction, 1e-6f);
  }
  EXPECT_NEAR(Delta, c.deltaAfter, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogicClockTable,
    ::testing::Values(
        ClockCase{"SameMillisecond", 30, {}, 1000, 0, 0, 1.0f},
        ClockCase{"Ten", 30, {}, 1010, 0, 0.3f, 0.3f},
        ClockCase{"Fifty", 30, {}, 1050, 1, 0.5f, 0.5f},
        // 100 / 33.333332 lies just above 3: a tiny fourth update follows.
        ClockCase{"Hundred", 30, {}, 1100, 3, 1.1444e-7f, 1.1444e-7f},
        ClockCase{"TwoTicksExactly", 20, {}, 1100, 2, 0, 1.0f},
        ClockCase{"TwoAndAQuarter", 25, {}, 1090, 2, 0.25f, 0.25f},
        ClockCase{"JustOverFiftyIsCut", 30, {}, 2667, 50, 0, 1.0f},
        ClockCase{"SixtyIsCut", 30, {}, 3000, 50, 0, 1.0f},
        ClockCase{"NinetyIsCut", 30, {}, 4000, 50, 0, 1.0f},
        // 3334 ms is just over 100 ticks: the previous pass's 1.2 ticks are used again.
        ClockCase{"OverHundredRepeats", 30, {{1040, false}}, 4374, 1, 0.2f, 0.2f},
        ClockCase{"StallRepeats", 30, {{1040, false}}, 6040, 1, 0.2f, 0.2f},
        ClockCase{"StallAfterInitIsOneTick", 30, {}, 6000, 1, 0, 1.0f},
        ClockCase{"InitBetweenPasses", 30, {{1040, false}, {1100, true}}, 6100, 1, 0, 1.0f},
        ClockCase{"InitMeasuresFromReset", 30, {{1040, false}, {1100, true}}, 1150, 1, 0.5f, 0.5f},
        ClockCase{"BackwardsRepeats", 30, {{1040, false}}, 500, 1, 0.2f, 0.2f},
        ClockCase{"AfterBackwardsMeasuresFromSmaller", 30, {{1040, false}, {500, false}}, 510, 0,
                  0.3f, 0.3f}),
    [](const ::testing::TestParamInfo<ClockCase>& info) { return std::string(info.param.name); });

TEST_F(LogicClock, ResetInsideAPassKeepsTheCountAndDropsTheFraction) {
  FixedRateLogic->Init();
  resetOnCall = 2;  // a script opens a modal screen during the second of three updates
  const std::vector<float> got = PassAt(1110);  // 3.3 ticks
  EXPECT_EQ(got, (std::vector<float>{1.0f, 1.0f, 1.0f}));
  EXPECT_EQ(FixedRateLogic->NumTicks, 0.0);
  EXPECT_EQ(Delta, 1.0f);
}

// The flicker after a hit lasts 25 of the actor's paces, and a pace comes at the first step
// that brings the actor's count above one tick: its length in time depends on how often
// the game draws (the figures the world's documentation gives).
TEST_F(LogicClock, TheFlickerAfterAHitLastsLongerAtLowPictureRates) {
  static TPlayer* hit;
  LogicStep = [] { return hit->UpdateActor(); };
  const struct {
    int pictureMs;  // time between two drawn pictures
    int flickerMs;
  } cases[] = {{1, 850}, {5, 875}, {33, 1650}, {50, 1250}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pictureMs);
    TPlayer player;
    player.walkSpeed = 6.0f;
    player.invincible = 25;
    hit = &player;
    SetManualClock(1000);
    FixedRateLogic->Init();
    int ms = 0;
    while (player.invincible > 0 && ms < 5000) {
      ms += c.pictureMs;
      SetManualClock(1000 + ms);
      MainLogicLoop();
    }
    EXPECT_EQ(ms, c.flickerMs);
  }
}

TEST_F(LogicClock, SetDeltaOfAnyClockWritesTheGlobal) {
  TFixedRateLogic transition;
  transition.Framerate = 60.0f;
  transition.Init();
  EXPECT_FLOAT_EQ(transition.MS, 16.666666f);
  transition.SetDelta(0.75f);
  EXPECT_EQ(Delta, 0.75f);
}

}  // namespace
