// Process-wide services: title, fatal errors, shutdown callbacks and platform start-up.
#include "platform/app.h"

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
volatile std::sig_atomic_t terminationRequested = 0;

// Only sets a flag: the event pump turns it into an application-terminate event.
extern "C" void OnTerminationSignal(int) { terminationRequested = 1; }

void InstallTerminationHandlers() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

bool TakeTerminationRequest() {
  if (!terminationRequested) return false;
  terminationRequested = 0;
  return true;
}

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

void RuntimeError(const std::string& message) {
  std::fputs(message.c_str(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
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
