// Process-wide services: title, fatal errors, shutdown callbacks and platform start-up.
#include "platform/system/app.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/system/internal.h"

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

// Appends the text with every byte outside printable ASCII as \xHH.
void AppendEscaped(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte <= 126) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
}

}  // namespace

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

void WriteError(const std::string& text, const std::vector<std::string>& indented) {
  std::string lines;
  AppendEscaped(lines, text);
  lines += '\n';
  for (const std::string& line : indented) {
    lines += '\t';
    AppendEscaped(lines, line);
    lines += '\n';
  }
  std::fwrite(lines.data(), 1, lines.size(), stderr);
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
