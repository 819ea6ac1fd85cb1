// The event queue, the current event, event hooks, timers and the event pump.
#include "platform/events/events.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "platform/system/clock.h"
#include "platform/system/internal.h"

namespace {

struct Hook {
  int handle;
  int priority;
  THookFunction fn;
  std::shared_ptr<void> context;
};
using HookPtr = std::shared_ptr<Hook>;

// All event state, made on first use so that start-up code of any module may post events
// or add hooks before this file's globals would otherwise exist. It is never destroyed:
// contexts released at exit may still remove their hooks.
struct EventState {
  std::map<int, std::vector<HookPtr>> hooks;  // per hook id, in calling order
  int nextHookHandle = 1;
  std::deque<TEvent> queue;
  TEvent current;
  std::function<void()> systemPump;
  std::function<void()> testPump;
  std::vector<TTimerPtr> timers;  // running timers
  int64_t timerClockUs = 0;       // advances with MilliSecs, never backwards
  int32_t timerClockLastMs = 0;
  bool timerClockStarted = false;
  bool servicingTimers = false;
};

EventState& S() {
  static EventState* state = new EventState;
  return *state;
}

bool IsKeyEvent(int id) {
  return id == EVENT_KEYDOWN || id == EVENT_KEYUP || id == EVENT_KEYREPEAT;
}

void RunHooks(int hookId, const TEvent& event) {
  auto found = S().hooks.find(hookId);
  if (found == S().hooks.end() || found->second.empty()) return;
  // A copy: hooks added or removed by a hook take effect from the next run on.
  std::vector<HookPtr> run = found->second;
  for (const auto& hook : run) hook->fn(event, hook->context);
}

// Brings the timer clock up to MilliSecs. The counter may wrap; a clock set back (tests
// replacing the clock) leaves the timer clock where it is.
int64_t SyncTimerClock() {
  int32_t now = MilliSecs();
  if (!S().timerClockStarted) {
    S().timerClockStarted = true;
    S().timerClockLastMs = now;
  }
  auto elapsed = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(S().timerClockLastMs));
  if (elapsed > 0) S().timerClockUs += static_cast<int64_t>(elapsed) * 1000;
  S().timerClockLastMs = now;
  return S().timerClockUs;
}

int64_t TickDue(const TTimer& timer, int64_t tick) {
  return timer.startUs + static_cast<int64_t>(std::llround(static_cast<double>(tick) * 1e6 / timer.hertz));
}

void EmitTick(const TTimerPtr& timer) {
  TEvent tick;
  tick.id = EVENT_TIMERTICK;
  tick.data = timer->ticks;
  tick.source = timer;
  RunHooks(EmitEventHook, tick);
  for (auto& queued : S().queue) {
    if (queued.id == EVENT_TIMERTICK && queued.source == tick.source) {
      queued.data = tick.data;  // the undelivered tick stands for this one too
      return;
    }
  }
  S().queue.push_back(std::move(tick));
}

void GatherEvents() {
  if (TakeTerminationRequest()) PostEvent(EVENT_APPTERMINATE);
  if (auto pump = S().systemPump) pump();
  ProcessTimers();
  if (auto pump = S().testPump) pump();
}

}  // namespace

void SetSystemEventPump(std::function<void()> pump) { S().systemPump = std::move(pump); }

void SetEventPump(std::function<void()> pump) { S().testPump = std::move(pump); }

int PollEvent() {
  if (S().queue.empty()) GatherEvents();
  if (S().queue.empty()) {
    S().current = TEvent{};
    return 0;
  }
  S().current = std::move(S().queue.front());
  S().queue.pop_front();
  return S().current.id;
}

int WaitEvent() {
  for (;;) {
    if (int id = PollEvent()) return id;
    Delay(2);  // with an injected clock this advances it, so timers come due
  }
}

int EventID() { return S().current.id; }
int EventData() { return S().current.data; }
int EventX() { return S().current.x; }
int EventY() { return S().current.y; }
std::shared_ptr<void> EventSource() { return S().current.source; }
const TEvent& CurrentEvent() { return S().current; }

void PostEvent(const TEvent& event) {
  RunHooks(EmitEventHook, event);
  S().queue.push_back(event);
}

void PostEvent(int id, int data, int x, int y, std::shared_ptr<void> source) {
  TEvent event;
  event.id = id;
  event.data = data;
  event.x = x;
  event.y = y;
  event.source = std::move(source);
  PostEvent(event);
}

void FlushKeys() {
  if (auto pump = S().systemPump) pump();
  ProcessTimers();
  std::erase_if(S().queue, [](const TEvent& e) { return IsKeyEvent(e.id); });
}

void FlushEvents() { S().queue.clear(); }

int QueuedEventCount() { return static_cast<int>(S().queue.size()); }

int AddHook(int hookId, THookFunction fn, std::shared_ptr<void> context, int priority) {
  if (!fn) return 0;
  int handle = S().nextHookHandle++;
  auto& list = S().hooks[hookId];
  // After every hook of the same or a higher priority.
  auto at = std::find_if(list.begin(), list.end(), [&](const HookPtr& h) { return h->priority < priority; });
  list.insert(at, std::make_shared<Hook>(Hook{handle, priority, std::move(fn), std::move(context)}));
  return handle;
}

void RemoveHook(int hookId, int handle) {
  auto found = S().hooks.find(hookId);
  if (found == S().hooks.end()) return;
  std::erase_if(found->second, [&](const HookPtr& h) { return h->handle == handle; });
}

TTimerPtr CreateTimer(double hertz) {
  if (!(hertz > 0) || !std::isfinite(hertz)) return nullptr;
  auto timer = std::make_shared<TTimer>();
  timer->hertz = hertz;
  timer->startUs = SyncTimerClock();
  timer->nextDue = TickDue(*timer, 1);
  S().timers.push_back(timer);
  return timer;
}

void StopTimer(const TTimerPtr& timer) {
  if (!timer) return;
  timer->running = false;
  std::erase(S().timers, timer);
}

int TimerTicks(const TTimerPtr& timer) { return timer ? timer->ticks : 0; }

void ProcessTimers() {
  if (S().servicingTimers) return;  // a hook that polls events must not re-enter
  S().servicingTimers = true;
  int64_t now = SyncTimerClock();
  std::vector<TTimerPtr> due = S().timers;
  for (const auto& timer : due) {
    while (timer->running && now >= timer->nextDue) {
      ++timer->ticks;
      timer->nextDue = TickDue(*timer, static_cast<int64_t>(timer->ticks) + 1);
      EmitTick(timer);
    }
  }
  S().servicingTimers = false;
}
