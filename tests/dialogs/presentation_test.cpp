// The presentation commands: argument order and rules, colours, results, the clock, Sleep.
#include <gtest/gtest.h>
#include <vector>
#include "core/globals.h"
#include "dialog_fixture.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "platform/system/clock.h"
#include "support/lua_run.h"

namespace {

std::vector<int32_t> slept;

class DialogsPresentation : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    // Nothing to draw behind the boxes: the picture keeps the plain background.
    currentMap = nullptr;
    player = nullptr;
    SetClsColor(0x40, 0x40, 0x40);
    Cls();
    slept.clear();
    SetClockSource([] { return 0; }, [](int32_t ms) { slept.push_back(ms); });
  }
  void TearDown() override {
    SetClockSource(nullptr);
    DialogTest::TearDown();
  }
  // Runs the script with `r` cleared; `r` afterwards, preceded by "ended " when the script
  // stopped early.
  static std::string Outcome(const std::string& script) {
    const bool ran = RunLua("r = nil " + script + " finished = true") == 1 && LuaGlobal("finished") == "true";
    RunLua("finished = nil");
    return (ran ? "" : "ended ") + LuaGlobal("r");
  }
};

struct CommandCase {
  const char* script;
  std::vector<int> keys;
  const char* outcome;
  int frames;  // drawn by the box or dialog
  int clockResets;
};

TEST_F(DialogsPresentation, ArgumentsResultsAndClock) {
  const CommandCase cases[] = {
      {"r = DisplayOptions('Well?', 'Yes', 'No', '', 255, 255, 255)", {kDown, kEnter}, "1", 2, 1},
      {"r = DisplayOptions('Well?', 'OK', '', '', 1, 2, 3)", {kUp, kEnter}, "0", 2, 1},
      {"r = DisplayOptions('x', 'Well?', 'A', 'B', 'C', 1, 2, 3)", {kUp, kEnter}, "2", 2, 1},
      {"r = DisplayOptionsP('Well?', 'A', 'B', 'C', 1, 2, 3, 'portrait.png', 1)", {kDown, kEnter}, "1", 2, 1},
      {"r = DisplayOptions('Well?', 'A', 'B', 'C', 1, 2)", {kEnter}, "ended nil", 0, 0},
      {"r = DisplayOptionsP('Well?', 'A', 'B', 'C', 1, 2, 3, 'portrait.png')", {kEnter}, "ended nil", 0, 0},
      {"r = DisplayOptions('Well?', 'A', 'B', 'C', 1, 2, {})", {kEnter}, "ended nil", 0, 0},
      {"r = select('#', DisplayText('Hi', 1, 2, 3))", {kExit}, "0", 1, 1},
      {"DisplayText('ignored', 'Hi', 1, 2, 3) r = 1", {kEnter}, "1", 1, 1},
      {"DisplayText('Hi', '7', 2.9, -2.9) r = 1", {kEnter}, "1", 1, 1},
      {"DisplayText('Hi', 1, 2) r = 1", {kEnter}, "ended nil", 0, 0},
      {"DisplayText('Hi', 1, 2, 'x') r = 1", {kEnter}, "ended nil", 0, 0},
      {"r = select('#', DisplayTextP('Hi', 1, 2, 3, 'portrait.png', 0))", {kEnter}, "0", 1, 1},
      {"DisplayTextP('Hi', 1, 2, 3, 'portrait.png') r = 1", {kEnter}, "ended nil", 0, 0},
      {"DisplaySplash('missing.png', 0, 0) r = 1", {kEnter}, "1", -1, 0},
      {"DisplaySplash('missing.png', 0) r = 1", {}, "ended nil", 0, 0},
      {"DisplayVideo() r = 1", {}, "ended nil", 0, 0},
      {"DisplayVideo('missing.ogv') r = 1", {}, "1", 0, 0},  // said on standard error
      {"PlayMusic() r = 1", {}, "ended nil", 0, 0},
      {"PlaySound({}) r = 1", {}, "ended nil", 0, 0},
      {"r = select('#', PlaySound(0))", {}, "0", 0, 0},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.script);
    logic->inits = 0;
    FlushEvents();
    Keys(c.keys);
    const long flips = FlipCount();
    EXPECT_EQ(Outcome(c.script), c.outcome);
    if (c.frames >= 0) {
      EXPECT_EQ(FlipCount() - flips, c.frames);
    }
    EXPECT_EQ(logic->inits, c.clockResets);
  }
}

TEST_F(DialogsPresentation, TextColourWholeQuestionColourCutToBytes) {
  Keys({kEnter});
  ASSERT_EQ(Outcome("DisplayText('Hi', 300, -5, 255) r = 1"), "1");
  EXPECT_NE(FindColour(0xFF00FF).x0, -1);  // clamped when drawn
  Keys({kEnter});
  ASSERT_EQ(Outcome("r = DisplayOptions('Well?', 'OK', '', '', 300, 256, -1)"), "0");
  EXPECT_NE(FindColour(0x2C00FF).x0, -1);
}

TEST_F(DialogsPresentation, PortraitSideAndDefaults) {
  // DisplayTextP puts the portrait on the side asked for; the plain command shows none.
  const struct {
    const char* script;
    int portraitX;
  } cases[] = {
      {"DisplayTextP('Hi', 1, 2, 3, 'portrait.png', 0)", 96},
      {"DisplayTextP('Hi', 1, 2, 3, 'portrait.png', 5)", 480},
      {"DisplayOptionsP('Hi', 'A', '', '', 1, 2, 3, 'portrait.png', 0)", 96},
      {"DisplayOptionsP('Hi', 'A', '', '', 1, 2, 3, 'portrait.png', -1)", 480},
      {"DisplayTextP('Hi', 1, 2, 3, '', 1)", -1},
      {"DisplayText('Hi', 1, 2, 3)", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Cls();
    Keys({kEnter});
    ASSERT_EQ(Outcome(c.script), "nil");
    EXPECT_EQ(FindColour(kYellow).x0, c.portraitX);
  }
}

TEST_F(DialogsPresentation, MusicTrackIsTheTruncatedInt) {
  settings->music = 0;
  ASSERT_EQ(Outcome("PlayMusic(1, 2.9)"), "nil");
  EXPECT_EQ(lastMusic, 2);
}

TEST_F(DialogsPresentation, SleepDelaysWithoutDrawingOrResettingTheClock) {
  const struct {
    const char* script;
    std::vector<int32_t> delays;
  } cases[] = {
      {"Sleep(2000)", {2000}},
      {"Sleep(2.9)", {2}},
      {"Sleep('250')", {250}},
      {"Sleep(5, 30)", {30}},
      {"Sleep(0)", {}},
      {"Sleep(-5)", {}},
      {"Sleep(-1e12)", {}},
      {"Sleep(1e12)", {2147483647}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    slept.clear();
    const long flips = FlipCount();
    EXPECT_EQ(Outcome(c.script), "nil");
    EXPECT_EQ(slept, c.delays);
    EXPECT_EQ(FlipCount(), flips);
  }
  EXPECT_EQ(Outcome("Sleep() r = 1"), "ended nil");
  EXPECT_EQ(logic->inits, 0);
}

}  // namespace
