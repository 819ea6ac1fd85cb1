#pragma once
// Small checks that tests share: waiting for a condition, and the lines of a text.
#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace testsupport {

// Polls the condition every 20 ms for at most `seconds`; true once it holds.
inline bool WaitFor(const std::function<bool()>& condition, int seconds = 60) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// True when a line of the text (without its line end) matches.
inline bool HasLine(const std::string& text,
                    const std::function<bool(const std::string&)>& match) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (match(line)) return true;
  return false;
}

inline bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace testsupport
