#include <gtest/gtest.h>

#include <csignal>
#include <limits>
#include <string>
#include <vector>

#include "platform/events/events.h"
#include "platform/system/app.h"
#include "platform/system/clock.h"
#include "platform/system/internal.h"

// Every test starts from an empty queue and a manual clock, and leaves no pump, hook or
// timer behind.
class PlatformEvents : public testing::Test {
protected:
  void SetUp() override {
    UseManualClock(1000);
    FlushEvents();
  }
  void TearDown() override {
    for (auto& [id, handle] : hooks_) RemoveHook(id, handle);
    for (auto& timer : timers_) StopTimer(timer);
    SetEventPump(nullptr);
    SetSystemEventPump(nullptr);
    FlushEvents();
    SetClockSource(nullptr);
  }
  int Hook(THookFunction fn, int priority = 0, std::shared_ptr<void> context = nullptr) {
    int handle = AddHook(EmitEventHook, std::move(fn), std::move(context), priority);
    hooks_.push_back({EmitEventHook, handle});
    return handle;
  }
  TTimerPtr Timer(double hertz) {
    auto timer = CreateTimer(hertz);
    if (timer) timers_.push_back(timer);
    return timer;
  }
  std::vector<std::pair<int, int>> hooks_;
  std::vector<TTimerPtr> timers_;
};

TEST_F(PlatformEvents, QueueIsFirstInFirstOut) {
  auto source = std::make_shared<int>(5);
  PostEvent(EVENT_KEYDOWN, 30);
  PostEvent(EVENT_MOUSEMOVE, 0, 12, 34, source);
  EXPECT_EQ(QueuedEventCount(), 2);
  EXPECT_EQ(PollEvent(), EVENT_KEYDOWN);
  EXPECT_EQ(EventData(), 30);
  EXPECT_EQ(PollEvent(), EVENT_MOUSEMOVE);
  EXPECT_EQ(EventX(), 12);
  EXPECT_EQ(EventY(), 34);
  EXPECT_EQ(EventSource(), source);
  EXPECT_EQ(PollEvent(), 0);
  EXPECT_EQ(EventID(), 0);
  EXPECT_EQ(EventSource(), nullptr);
  EXPECT_EQ(CurrentEvent().x, 0);
}

TEST_F(PlatformEvents, EmptyQueueGathersSystemEventsThenTimersThenTestPump) {
  std::vector<std::string> order;
  auto timer = Timer(10);
  AdvanceManualClock(100);
  SetSystemEventPump([&] { order.push_back("system"); PostEvent(EVENT_KEYDOWN, 1); });
  Hook([&](const TEvent& e, const std::shared_ptr<void>&) {
    if (e.id == EVENT_TIMERTICK) order.push_back("timer");
  });
  SetEventPump([&] { order.push_back("test"); });
  EXPECT_EQ(PollEvent(), EVENT_KEYDOWN);
  EXPECT_EQ(order, (std::vector<std::string>{"system", "timer", "test"}));
  order.clear();
  EXPECT_EQ(PollEvent(), EVENT_TIMERTICK);  // the queue was not empty: nothing gathered
  EXPECT_TRUE(order.empty());
}

TEST_F(PlatformEvents, FlushKeysDropsOnlyKeyEvents) {
  PostEvent(EVENT_KEYDOWN, 1);
  PostEvent(EVENT_MOUSEUP, 1);
  PostEvent(EVENT_KEYREPEAT, 1);
  PostEvent(EVENT_KEYUP, 1);
  PostEvent(EVENT_WINDOWCLOSE);
  FlushKeys();
  EXPECT_EQ(PollEvent(), EVENT_MOUSEUP);
  EXPECT_EQ(PollEvent(), EVENT_WINDOWCLOSE);
  EXPECT_EQ(QueuedEventCount(), 0);
  PostEvent(EVENT_KEYDOWN, 1);
  FlushEvents();
  EXPECT_EQ(PollEvent(), 0);
}

TEST_F(PlatformEvents, TerminationSignalBecomesAnEvent) {
  PlatformInit();
  std::raise(SIGINT);
  EXPECT_EQ(PollEvent(), EVENT_APPTERMINATE);
  EXPECT_EQ(PollEvent(), 0);
  AnswerTerminateRequest();
}

TEST_F(PlatformEvents, WaitEventLetsTheManualClockRunUntilATimerTicks) {
  auto timer = Timer(4);  // due every 250 ms
  EXPECT_EQ(WaitEvent(), EVENT_TIMERTICK);
  EXPECT_EQ(EventSource(), timer);
  EXPECT_EQ(EventData(), 1);
  EXPECT_GE(MilliSecs(), 1250);
  EXPECT_LT(MilliSecs(), 1260);
}

TEST_F(PlatformEvents, WaitEventReturnsWhatThePumpDelivers) {
  int calls = 0;
  SetEventPump([&] {
    if (++calls == 3) PostEvent(EVENT_MENUACTION, 7);
  });
  EXPECT_EQ(WaitEvent(), EVENT_MENUACTION);
  EXPECT_EQ(EventData(), 7);
  EXPECT_EQ(calls, 3);
}

TEST_F(PlatformEvents, HooksRunByDescendingPriorityThenOrderOfAdding) {
  std::vector<std::string> order;
  auto note = [&](std::string name) {
    return [&order, name](const TEvent&, const std::shared_ptr<void>&) { order.push_back(name); };
  };
  Hook(note("low"), -5);
  Hook(note("first 0"));
  Hook(note("high"), 10);
  Hook(note("second 0"));
  PostEvent(EVENT_KEYDOWN);
  EXPECT_EQ(order, (std::vector<std::string>{"high", "first 0", "second 0", "low"}));
}

TEST_F(PlatformEvents, RemovingHooksDuringARunLeavesThatRunIntact) {
  std::vector<std::string> order;
  int later = 0, self = 0;
  self = Hook([&](const TEvent&, const std::shared_ptr<void>&) {
    order.push_back("remover");
    RemoveHook(EmitEventHook, self);
    RemoveHook(EmitEventHook, later);
    Hook([&](const TEvent&, const std::shared_ptr<void>&) { order.push_back("added"); });
  }, 5);
  later = Hook([&](const TEvent&, const std::shared_ptr<void>&) { order.push_back("later"); });
  Hook([&](const TEvent&, const std::shared_ptr<void>&) { order.push_back("last"); });
  PostEvent(EVENT_KEYDOWN);
  EXPECT_EQ(order, (std::vector<std::string>{"remover", "later", "last"}));
  EXPECT_EQ(QueuedEventCount(), 1);  // the event still reached the queue
  order.clear();
  PostEvent(EVENT_KEYUP);
  EXPECT_EQ(order, (std::vector<std::string>{"last", "added"}));
}

TEST_F(PlatformEvents, HookKeepsItsContextAlive) {
  auto context = std::make_shared<std::string>("stream");
  std::weak_ptr<std::string> watch = context;
  std::string seen;
  int handle = Hook([&](const TEvent&, const std::shared_ptr<void>& c) {
    seen = *std::static_pointer_cast<std::string>(c);
  }, 0, context);
  context.reset();
  PostEvent(EVENT_KEYDOWN);
  EXPECT_EQ(seen, "stream");
  RemoveHook(EmitEventHook, handle);
  EXPECT_TRUE(watch.expired());
}

TEST_F(PlatformEvents, DueTicksAllPassTheHooksButTheQueueHoldsOne) {
  auto timer = Timer(120);
  int hooked = 0;
  Hook([&](const TEvent& e, const std::shared_ptr<void>&) {
    if (e.id == EVENT_TIMERTICK && e.source == timer) ++hooked;
  });
  AdvanceManualClock(1000);
  ProcessTimers();
  EXPECT_EQ(hooked, 120);
  EXPECT_EQ(TimerTicks(timer), 120);
  EXPECT_EQ(QueuedEventCount(), 1);
  AdvanceManualClock(500);
  ProcessTimers();
  EXPECT_EQ(hooked, 180);
  EXPECT_EQ(QueuedEventCount(), 1);
  EXPECT_EQ(PollEvent(), EVENT_TIMERTICK);
  EXPECT_EQ(EventData(), 180);  // the queued tick carries the latest count
  EXPECT_EQ(PollEvent(), 0);
}

TEST_F(PlatformEvents, EachTimerHasItsOwnQueuedTick) {
  auto fast = Timer(60), slow = Timer(4);
  AdvanceManualClock(250);
  ProcessTimers();
  EXPECT_EQ(TimerTicks(fast), 15);
  EXPECT_EQ(TimerTicks(slow), 1);
  EXPECT_EQ(QueuedEventCount(), 2);
}

TEST_F(PlatformEvents, TimersFollowTheClockWithoutDriftAndStop) {
  auto timer = Timer(3);  // 333.33 ms
  for (int i = 0; i < 30; ++i) {
    AdvanceManualClock(100);
    ProcessTimers();
  }
  EXPECT_EQ(TimerTicks(timer), 9);
  StopTimer(timer);
  AdvanceManualClock(5000);
  ProcessTimers();
  EXPECT_EQ(TimerTicks(timer), 9);
  EXPECT_FALSE(timer->running);
}

TEST_F(PlatformEvents, TimerClockSurvivesTheCounterWrapAndIgnoresASetBack) {
  SetManualClock(INT32_MAX - 50);
  auto timer = Timer(10);
  AdvanceManualClock(200);  // wraps past INT32_MAX
  ProcessTimers();
  EXPECT_EQ(TimerTicks(timer), 2);
  SetManualClock(INT32_MIN);  // set back: no burst, and the clock goes on from there
  ProcessTimers();
  AdvanceManualClock(100);
  ProcessTimers();
  EXPECT_EQ(TimerTicks(timer), 3);
}

TEST_F(PlatformEvents, TimerNeedsAPositiveRate) {
  EXPECT_EQ(CreateTimer(0), nullptr);
  EXPECT_EQ(CreateTimer(-1), nullptr);
  EXPECT_EQ(CreateTimer(std::numeric_limits<double>::quiet_NaN()), nullptr);
  EXPECT_EQ(TimerTicks(nullptr), 0);
  StopTimer(nullptr);
}

TEST_F(PlatformEvents, HookThatStopsItsTimerMidBurst) {
  auto timer = Timer(100);
  int hooked = 0;
  Hook([&](const TEvent& e, const std::shared_ptr<void>&) {
    if (e.id == EVENT_TIMERTICK && ++hooked == 3) StopTimer(timer);
  });
  AdvanceManualClock(1000);
  ProcessTimers();
  EXPECT_EQ(hooked, 3);
}
