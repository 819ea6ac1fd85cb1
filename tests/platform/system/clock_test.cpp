#include <gtest/gtest.h>

#include <set>

#include "platform/system/clock.h"
#include "platform/system/random.h"

class PlatformClock : public testing::Test {
protected:
  void TearDown() override { SetClockSource(nullptr); }
};

TEST_F(PlatformClock, RealClockIsMonotonicAndDelayWaits) {
  int32_t before = MilliSecs();
  Delay(20);
  int32_t after = MilliSecs();
  EXPECT_GE(after - before, 19);
  EXPECT_GE(before, 0);
}

TEST_F(PlatformClock, ManualClockIsDrivenByTheTest) {
  UseManualClock(1000);
  EXPECT_EQ(MilliSecs(), 1000);
  Delay(250);
  EXPECT_EQ(MilliSecs(), 1250);
  AdvanceManualClock(5);
  EXPECT_EQ(MilliSecs(), 1255);
  SetManualClock(INT32_MAX);
  AdvanceManualClock(1);
  EXPECT_EQ(MilliSecs(), INT32_MIN);  // wraps like the system counter
  Delay(-5);
  EXPECT_EQ(MilliSecs(), INT32_MIN);
}

TEST_F(PlatformClock, InjectedSourceAndDelay) {
  // A value the real clock, which counts up from the program's start, cannot show yet.
  const int32_t now = -123457;
  int32_t delayed = 0;
  SetClockSource([&] { return now; }, [&](int32_t ms) { delayed += ms; });
  EXPECT_EQ(MilliSecs(), now);
  Delay(3);
  EXPECT_EQ(delayed, 3);
  SetClockSource(nullptr);
  EXPECT_NE(MilliSecs(), now);
}

TEST(PlatformRandom, RandIncludesBothBoundsInEitherOrder) {
  SeedRnd(1);
  std::set<int32_t> seen;
  for (int i = 0; i < 400; ++i) {
    int32_t r = Rand(3, -1);
    ASSERT_GE(r, -1);
    ASSERT_LE(r, 3);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(Rand(4, 4), 4);
}

TEST(PlatformRandom, SeedingRepeatsTheSequence) {
  SeedRnd(1234);
  int32_t a = Rand(0, 1000000);
  double x = Rnd();
  SeedRnd(1234);
  EXPECT_EQ(Rand(0, 1000000), a);
  EXPECT_EQ(Rnd(), x);
  for (int i = 0; i < 1000; ++i) {
    double r = Rnd();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}
