// Passes of the frame loop on the headless display: one event per pass in queue order with
// a logic step after each, the event and menu tables, and the exit question's answers.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> log;

int StepProbe() {
  log.push_back("step " + std::to_string(static_cast<int>(player->speedX)));
  return 0;
}
int UseProbe(const TItemPtr&) { log.push_back("use"); return 0; }
int InventoryProbe() { log.push_back("inventory"); return 1; }
int LoadProbe(int bg) { log.push_back("load" + std::to_string(bg)); return 0; }
int SaveProbe() { log.push_back("save"); return 1; }
int OptionsProbe(int bg) { log.push_back("options" + std::to_string(bg)); return 0; }
int TalkProbe() { log.push_back("talk"); return 0; }
int ExitProbe(int bg) { log.push_back("exit" + std::to_string(bg)); return 0; }

class FrameLoop : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("corvel_loop_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Temporary Files");
    baseHomeDir = root.string();
    baseAppDir = root.string();
    settings = std::make_unique<TConfig>();
    UseManualClock(0);
    FixedRateLogic = std::make_unique<TFixedRateLogic>();
    FixedRateLogic->Init();
    currentMap = TMap::Create();
    player = std::make_shared<TPlayer>();
    player->walkSpeed = 6.0f;
    ReleaseHeldKeys();
    savedStep = LogicStep;
    LogicStep = &StepProbe;
    savedActions = KeyActions;
    FlushEvents();
    log.clear();
  }
  void TearDown() override {
    LogicStep = savedStep;
    KeyActions = savedActions;
    SetEventPump(nullptr);
    SetClockSource(nullptr);
    FlushEvents();
    player.reset();
    fs::remove_all(root);
  }
  // One pass with the clock one tick further on.
  void Pass() {
    AdvanceManualClock(100 / 3 + 1);
    MainGameLoopPass();
  }
  fs::path root;
  TLogicStep savedStep = nullptr;
  TKeyActions savedActions{};
};

TEST_F(FrameLoop, OneEventPerPassThenTheLogicStep) {
  PostEvent(EVENT_KEYDOWN, 39);
  PostEvent(EVENT_KEYUP, 39);
  Pass();
  EXPECT_EQ(log.front(), "step 6");
  EXPECT_EQ(QueuedEventCount(), 1);
  log.clear();
  Pass();
  EXPECT_EQ(log.front(), "step 0");
}

TEST_F(FrameLoop, MouseButtonsAndOtherEvents) {
  settings->kLeft = 2;
  GetKeyDown(2);
  PostEvent(EVENT_MOUSEDOWN, 2);
  PostEvent(EVENT_MOUSEMOVE, 0, 10, 10);
  PostEvent(EVENT_KEYREPEAT, 37);
  PostEvent(EVENT_TIMERTICK, 0);
  for (int i = 0; i < 4; ++i) Pass();
  EXPECT_EQ(player->speedX, -6.0f);
  PostEvent(EVENT_MOUSEUP, 2);
  Pass();
  EXPECT_EQ(player->speedX, 0.0f);
}

TEST_F(FrameLoop, MenuTags) {
  KeyActions = {&UseProbe, &InventoryProbe, &LoadProbe, &SaveProbe, &OptionsProbe, &TalkProbe, &ExitProbe};
  for (int tag : {100, 101, 102, 103, 1, 2, 999}) {
    PostEvent(EVENT_MENUACTION, tag);
    MainGameLoopPass();  // same millisecond: no logic step
  }
  EXPECT_EQ(log, (std::vector<std::string>{"save", "load0", "options0", "inventory"}));
}

// Answers a question dialog with the keys given, one per empty queue. (The pump is copied
// before each call, so its position is kept outside it.)
void Answer(std::vector<int> keys) {
  auto next = std::make_shared<size_t>(0);
  SetEventPump([keys, next]() {
    if (*next < keys.size()) PostEvent(EVENT_KEYDOWN, keys[(*next)++]);
  });
}

TEST_F(FrameLoop, AboutBoxClosesOnEnter) {
  Answer({13});
  PostEvent(EVENT_MENUACTION, 201);
  const long flips = FlipCount();
  Pass();
  EXPECT_GT(FlipCount(), flips + 1);  // the box had frames of its own
  EXPECT_EQ(log, std::vector<std::string>{});  // the box reset the clock: no catch-up
}

// The exit status of a game that went on playing after the exit question.
constexpr int kPlayWentOn = 3;

// Asks the exit question the way given, answers it with the keys, and plays on: a pressed
// key must walk the player on the next pass. A "Yes" ends the process on the way; otherwise
// it ends with kPlayWentOn, or with 1 and the reason on standard error.
[[noreturn]] void AskThenPlayOn(const std::function<void()>& ask, const std::vector<int>& keys) {
  Answer(keys);
  ask();
  AdvanceManualClock(100 / 3 + 1);
  MainGameLoopPass();
  const char* fault = nullptr;
  if (!log.empty()) fault = "world time passed for the time in the dialog";
  if (!fs::is_directory(settings->tempDir)) fault = "the working folder is gone";
  PostEvent(EVENT_KEYDOWN, 39);
  AdvanceManualClock(100 / 3 + 1);
  MainGameLoopPass();
  if (!fault && (log.empty() || log.back() != "step 6")) fault = "the player does not walk";
  if (fault) std::fprintf(stderr, "%s\n", fault);
  std::_Exit(fault ? 1 : kPlayWentOn);
}

TEST_F(FrameLoop, TheExitQuestionEndsTheGameOnYesAndPlayGoesOnAfterNo) {
  settings->tempDir = (root / "Temporary Files").string() + "/";
  fs::create_directories(root / "Save");
  testsupport::WriteFileBytes((root / "Temporary Files" / "a.map").string(), "changed");
  const struct {
    const char* name;
    std::function<void()> ask;
  } ways[] = {
      {"window close", [] { PostEvent(EVENT_WINDOWCLOSE, 0); }},
      {"terminate request", [] { PostEvent(EVENT_APPTERMINATE, 0); }},
      {"exit key", [] { PostEvent(EVENT_KEYDOWN, settings->kExit); }},
  };
  const struct {
    const char* name;
    std::vector<int> keys;
    bool ends;
  } answers[] = {
      {"Yes", {13}, true},
      {"No", {40, 13}, false},
      {"No, up from Yes", {38, 13}, false},
      {"Yes, down twice", {40, 40, 13}, true},
      {"Yes, the exit key answering nothing", {27, 13}, true},
  };
  for (const auto& way : ways) {
    for (const auto& answer : answers) {
      SCOPED_TRACE(std::string(way.name) + " answered " + answer.name);
      // "Yes" ends the process with status 0.
      EXPECT_EXIT(AskThenPlayOn(way.ask, answer.keys),
                  testing::ExitedWithCode(answer.ends ? 0 : kPlayWentOn), "");
      // It deletes the working folder with the unsaved map; the save folder stays.
      EXPECT_EQ(fs::exists(root / "Temporary Files" / "a.map"), !answer.ends);
      EXPECT_TRUE(fs::is_directory(root / "Save"));
      fs::create_directories(root / "Temporary Files");
      testsupport::WriteFileBytes((root / "Temporary Files" / "a.map").string(), "changed");
    }
  }
}

}  // namespace
