#pragma once
// Platform-internal services shared by the platform modules (display, audio, events, app).
// Not for game code.
#include <functional>

// Registers a callback that End() runs before the process exits, in reverse order of
// registration (the display and audio close themselves this way). Returns a handle.
int AddShutdownCallback(std::function<void()> callback);
void RemoveShutdownCallback(int handle);
// Runs and forgets every registered shutdown callback (End() calls it; tests may too).
void RunShutdownCallbacks();

// The display backend's gatherer of system events (window, keyboard, mouse). PollEvent and
// WaitEvent call it when the queue is empty, before timers and the test pump. Null removes it.
void SetSystemEventPump(std::function<void()> pump);

// Installs the handlers of SIGINT, SIGTERM and SIGHUP (PlatformInit does).
void InstallTerminationHandlers();
// Acts on the signals that arrived since the last call (PlatformInit installs the handlers):
// SIGTERM, SIGHUP, or a SIGINT while an earlier one is unanswered, run the quit handler. A
// first SIGINT answers true once, and the event pump turns it into an application-terminate
// event; with asking false (where no events are taken) it is left for the pump.
bool TakeTerminationRequest(bool asking = true);
