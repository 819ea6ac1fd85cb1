// Process-wide services: title, fatal errors, shutdown callbacks and platform start-up.
#include "platform/system/app.h"

#include <cstdint>
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

// The length of the well-formed UTF-8 sequence of a character from U+00A0 up that starts at
// text[at], or 0: a lone or broken byte, an overlong form, a surrogate, or a C1 control.
size_t PrintableUtf8Length(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = code << 6 | (next & 0x3F);
  }
  static const uint32_t kLeast[] = {0, 0, 0xA0, 0x800, 0x10000};
  if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Appends the text with every control character (C0, DEL, C1, raw or as UTF-8) and every byte
// that is no part of well-formed UTF-8 as \xHH, so that no byte from a file or a script can
// drive the terminal; printable ASCII and other UTF-8 characters (a player's name in a path)
// stay as they are.
void AppendEscaped(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 32 && byte <= 126) {
      out += text[at++];
      continue;
    }
    if (const size_t length = byte >= 0x80 ? PrintableUtf8Length(text, at) : 0) {
      out.append(text, at, length);
      at += length;
      continue;
    }
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
    ++at;
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
