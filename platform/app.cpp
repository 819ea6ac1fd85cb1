// Process-wide services: title, fatal errors, shutdown callbacks and platform start-up.
#include "platform/app.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/internal.h"

std::string AppTitle;

namespace {

struct ShutdownEntry {
  int handle;
  std::function<void()> callback;
};

std::vector<ShutdownEntry>& ShutdownCallbacks() {
  static auto* callbacks = new std::vector<ShutdownEntry>;  // never destroyed: usable at exit
  return *callbacks;
}

int nextShutdownHandle = 1;
bool platformReady = false;

// The handlers only count; the main thread acts on the counts when it gathers events.
static_assert(std::atomic<int>::is_always_lock_free, "signal handlers need lock-free counters");
std::atomic<int> quitSignals{0};       // SIGTERM and SIGHUP
std::atomic<int> interruptSignals{0};  // SIGINT
bool interruptUnanswered = false;      // a SIGINT's terminate request awaits its answer
void (*quitHandler)() = nullptr;

extern "C" void OnQuitSignal(int) { quitSignals.fetch_add(1); }
extern "C" void OnInterruptSignal(int) { interruptSignals.fetch_add(1); }

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

void Quit() {
  quitSignals = 0;
  interruptSignals = 0;
  interruptUnanswered = false;
  if (quitHandler) quitHandler();
  else End();
}

}  // namespace

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

int AddShutdownCallback(std::function<void()> callback) {
  int handle = nextShutdownHandle++;
  ShutdownCallbacks().push_back({handle, std::move(callback)});
  return handle;
}

void RemoveShutdownCallback(int handle) {
  auto& list = ShutdownCallbacks();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->handle == handle) {
      list.erase(it);
      return;
    }
  }
}

void RunShutdownCallbacks() {
  // Take the list first: a callback may register or remove others while it runs.
  auto list = std::move(ShutdownCallbacks());
  ShutdownCallbacks().clear();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (it->callback) it->callback();
  }
}

void WriteError(const std::string& text) {
  std::fputs((text + "\n").c_str(), stderr);
  std::fflush(stderr);
}

void RuntimeError(const std::string& message) {
  WriteError(message);
  RunShutdownCallbacks();
  std::exit(-1);
}

void End() {
  RunShutdownCallbacks();
  std::fflush(stdout);
  std::exit(0);
}

void PlatformInit() {
  if (platformReady) return;
  platformReady = true;
  InstallTerminationHandlers();
}
