#pragma once
// Shared set-up of the screen tests: settings on a scratch quest with the default keys,
// plain-coloured title, option, credits and frame images, a counting logic clock, a
// recording script engine, a probe music channel, and an event pump that stops a screen
// once the queued events are used up.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/logic.h"
#include "platform/audio/audio.h"
#include "platform/events/events.h"
#include "scripting/engine.h"
#include "support/pixels.h"

constexpr uint32_t kBackground = 0x404040;  // the title picture
constexpr uint32_t kInterface = 0x203040;   // the interface strip of the game picture
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000;
constexpr uint32_t kTitle = 0xCDFFCD, kAnswer = 0xFFFF9B;
constexpr int kReturn = 13, kEscape = 27, kUpArrow = 38, kDownArrow = 40, kLeftArrow = 37,
              kRightArrow = 39, kTab = 9, kBackspace = 8;

// The colour (0xRRGGBB) that imgMenuOption[i] is drawn in.
uint32_t MenuOptionColour(int i);
using testsupport::FindColour;
using testsupport::Pixel;
using testsupport::PixelBox;
// The box a one-line text covers when drawn at (x, y) in the built-in font.
PixelBox TextCover(const std::string& text, int x, int y);

// A logic clock that counts its resets.
class CountingLogic : public TFixedRateLogic {
 public:
  int inits = 0;
  int Init() override {
    ++inits;
    return 0;
  }
};

// Records the scripts run and calls a probe at each.
class RecordingEngine : public TLuaScriptEngine {
 public:
  std::vector<std::string> runs;
  std::function<void(const std::string&)> onRun;
  int RunScriptFile(const std::string& path) override {
    runs.push_back(path);
    if (onRun) onRun(path);
    return 0;
  }
};

// A music channel that remembers what was done to it.
class ProbeChannel : public TChannel {
 public:
  int stops = 0;
  bool paused = false;
  void Stop() override { ++stops; }
  void SetPaused(bool p) override { paused = p; }
};

// Thrown by the fixture's event pump when a screen polls an empty queue.
struct QueueDrained {};

class ScreenTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Queues key-downs.
  static void Keys(const std::vector<int>& keys);
  // Runs a screen; true when it returned, false when it was still waiting for events once
  // the queue ran dry. `result` gets what it returned.
  static bool Runs(const std::function<int()>& screen, int* result = nullptr);
  // Checks the three test frame pieces around a middle piece of height h.
  static void ExpectFrame(int h);
  // Gives the player a held right key, as the frame loop's key-down would.
  void HoldRight();
  CountingLogic* logic = nullptr;
  RecordingEngine* engine = nullptr;
  std::shared_ptr<ProbeChannel> music;
};
