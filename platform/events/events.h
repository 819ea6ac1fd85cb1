#pragma once
// The event queue, event hooks and timers; the display backends and tests feed the queue
// through event pumps. Everything runs on the main thread.
#include <cstdint>
#include <functional>
#include <memory>

enum {
  EVENT_APPTERMINATE = 259,
  EVENT_KEYDOWN = 513,
  EVENT_KEYUP = 514,
  EVENT_KEYREPEAT = 515,
  EVENT_MOUSEDOWN = 1025,
  EVENT_MOUSEUP = 1026,
  EVENT_MOUSEMOVE = 1027,
  EVENT_TIMERTICK = 2049,
  EVENT_WINDOWCLOSE = 16387,
  EVENT_MENUACTION = 32769,
};

class TTimer;

struct TEvent {
  int id = 0;
  int data = 0;
  int x = 0, y = 0;
  std::shared_ptr<void> source;  // a timer tick's timer, a gadget, or null
};

// Takes the next event and makes it the current one; when the queue is empty the system's
// events (and due timers) are gathered first. With nothing waiting the current event has id 0.
int PollEvent();
// Like PollEvent, but waits until an event arrives.
int WaitEvent();
int EventID();
int EventData();
int EventX();
int EventY();
std::shared_ptr<void> EventSource();
const TEvent& CurrentEvent();

// Emits an event: it passes the hooks of EmitEventHook, then joins the queue.
void PostEvent(const TEvent& event);
void PostEvent(int id, int data = 0, int x = 0, int y = 0, std::shared_ptr<void> source = nullptr);
// Drops every queued key event.
void FlushKeys();
// Drops every queued event.
void FlushEvents();
int QueuedEventCount();

// Event hooks. A hook gets the event and its context; hooks run in descending priority,
// equal priorities in the order they were added. A run calls the hooks that were registered
// when it began: removing or adding a hook while the hooks run leaves that run intact, and
// the change holds from the next run on. A registered hook keeps its context alive.
enum { EmitEventHook = 1 };
using THookFunction = std::function<void(const TEvent& event, const std::shared_ptr<void>& context)>;
// Returns a handle for RemoveHook.
int AddHook(int hookId, THookFunction fn, std::shared_ptr<void> context = nullptr, int priority = 0);
void RemoveHook(int hookId, int handle);

// Repeating timers serviced on the main thread inside event processing, on the clock of
// MilliSecs (so an injected clock drives them). Each due tick (id EVENT_TIMERTICK, the timer
// as source, the tick count as data) passes the hooks; the queue holds at most one
// undelivered tick per timer, whose data is brought up to the latest count.
class TTimer {
public:
  double hertz = 0;
  int32_t ticks = 0;
  int64_t startUs = 0;  // timer clock at creation, in microseconds
  int64_t nextDue = 0;  // timer clock of the next tick, in microseconds
  bool running = true;
};
using TTimerPtr = std::shared_ptr<TTimer>;
// Null when hertz is not a positive number.
TTimerPtr CreateTimer(double hertz);
void StopTimer(const TTimerPtr& timer);
int TimerTicks(const TTimerPtr& timer);
// Services due timers now (also called by PollEvent and WaitEvent).
void ProcessTimers();

// Headless drivers and tests: called when PollEvent finds the queue empty, before it gives up.
void SetEventPump(std::function<void()> pump);
