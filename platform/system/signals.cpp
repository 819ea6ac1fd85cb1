// Termination signals: the handlers count SIGTERM, SIGHUP and SIGINT; the main thread turns
// the counts into the quit handler or a terminate request when it gathers events, and into
// the quit handler alone during pauses and script runs.
#include <atomic>
#include <csignal>

#include "platform/system/app.h"
#include "platform/system/internal.h"

namespace {

// The handlers only count; the main thread acts on the counts when it gathers events.
static_assert(std::atomic<int>::is_always_lock_free, "signal handlers need lock-free counters");
std::atomic<int> quitSignals{0};       // SIGTERM and SIGHUP
std::atomic<int> interruptSignals{0};  // SIGINT
bool interruptUnanswered = false;      // a SIGINT's terminate request awaits its answer
void (*quitHandler)() = nullptr;

extern "C" void OnQuitSignal(int) { quitSignals.fetch_add(1); }
extern "C" void OnInterruptSignal(int) { interruptSignals.fetch_add(1); }

void Quit() {
  quitSignals = 0;
  interruptSignals = 0;
  interruptUnanswered = false;
  if (quitHandler) quitHandler();
  else End();
}

}  // namespace

void InstallTerminationHandlers() {
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  action.sa_handler = OnInterruptSignal;
  sigaction(SIGINT, &action, nullptr);
  action.sa_handler = OnQuitSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

bool TakeTerminationRequest(bool asking) {
  if (quitSignals.load() != 0) {
    Quit();
    return false;
  }
  const int interrupts = asking ? interruptSignals.exchange(0) : interruptSignals.load();
  if (interrupts > 1 || (interrupts > 0 && interruptUnanswered)) {
    Quit();
    return false;
  }
  if (interrupts == 0 || !asking) return false;
  interruptUnanswered = true;
  return true;
}

void SetQuitHandler(void (*handler)()) { quitHandler = handler; }

void AnswerTerminateRequest() { interruptUnanswered = false; }

void ActOnTerminationSignals() { TakeTerminationRequest(false); }
