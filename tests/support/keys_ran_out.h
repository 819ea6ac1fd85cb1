#pragma once
// The end of a test whose scripted keys are used up while the game still waits for one: it
// fails at once, saying what waited, instead of hanging until its time-out.
#include <stdexcept>
#include <string>

namespace testsupport {

// Thrown out of a test's event pump, so that every screen on the way unwinds to the test body.
class KeysRanOut : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Records the failure (once in a test) and throws KeysRanOut. A script run on the way takes the
// throw for a failed script and returns, so the pump calls this again at its next poll.
[[noreturn]] void FailForWantOfKeys(const std::string& what);

}  // namespace testsupport
