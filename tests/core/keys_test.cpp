// Key mapping: held directions and their speeds, locked controls, keys bound to several
// actions, the Command keys, mouse buttons, and a player replaced while a key is held.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"

namespace {

std::vector<std::string> actions;

int ProbeUse(const TItemPtr& item) {
  actions.push_back(item == player->primary ? "primary" : item == player->secondary ? "secondary" : "?");
  return 0;
}
int ProbeInventory() { actions.push_back("inventory"); return 1; }
int ProbeLoad(int bg) { actions.push_back("load" + std::to_string(bg)); return 0; }
int ProbeSave() { actions.push_back("save"); return 1; }
int ProbeOptions(int bg) { actions.push_back("options" + std::to_string(bg)); return 0; }
int ProbeTalk() { actions.push_back("talk"); return 0; }
int ProbeExit(int bg) { actions.push_back("exit" + std::to_string(bg)); return 0; }

class Keys : public ::testing::Test {
protected:
  void SetUp() override {
    settings = std::make_unique<TConfig>();
    player = std::make_shared<TPlayer>();
    player->walkSpeed = 6.0f;
    player->primary = std::make_shared<TItem>();
    player->secondary = std::make_shared<TItem>();
    ReleaseHeldKeys();
    lockControls = 0;
    saved = KeyActions;
    KeyActions = {&ProbeUse, &ProbeInventory, &ProbeLoad, &ProbeSave, &ProbeOptions, &ProbeTalk, &ProbeExit};
    actions.clear();
  }
  void TearDown() override {
    KeyActions = saved;
    player.reset();
    lockControls = 0;
  }
  TKeyActions saved{};
};

struct Key {
  bool down;
  int code;
};

struct SteerCase {
  const char* name;
  std::vector<Key> keys;
  float speedX, speedY;
  int facing;
  std::vector<int> held;
};

class Steering : public Keys, public ::testing::WithParamInterface<SteerCase> {};

TEST_P(Steering, SpeedsAndFacing) {
  const SteerCase& c = GetParam();
  settings->kLeft = 1;  // the left mouse button walks left in some cases
  player->facing = 1;
  for (const Key& k : c.keys) k.down ? GetKeyDown(k.code) : GetKeyUp(k.code);
  EXPECT_EQ(player->speedX, c.speedX);
  EXPECT_EQ(player->speedY, c.speedY);
  EXPECT_EQ(player->facing, c.facing);
  EXPECT_EQ(std::vector<int>(keyHeld, keyHeld + 4), c.held);
  EXPECT_TRUE(actions.empty());
}

constexpr int kUpCode = 38, kDownCode = 40, kRightCode = 39;

INSTANTIATE_TEST_SUITE_P(
    Sequences, Steering,
    ::testing::Values(
        SteerCase{"UpPressed", {{true, kUpCode}}, 0, -6, 0, {1, 0, 0, 0}},
        SteerCase{"OppositeKeysCancel", {{true, kUpCode}, {true, kDownCode}}, 0, 0, 1, {1, 1, 0, 0}},
        SteerCase{"ReleaseOfOneOpposite", {{true, kUpCode}, {true, kDownCode}, {false, kUpCode}}, 0, 6, 1,
                  {0, 1, 0, 0}},
        SteerCase{"Diagonal", {{true, kUpCode}, {true, kRightCode}}, 6, -6, 3, {1, 0, 0, 1}},
        SteerCase{"RepeatedPressAddsOnce", {{true, kRightCode}, {true, kRightCode}}, 6, 0, 3, {0, 0, 0, 1}},
        SteerCase{"ReleaseWithoutPress", {{false, kRightCode}, {false, kUpCode}}, 0, 0, 1, {0, 0, 0, 0}},
        SteerCase{"ReleaseKeepsFacing", {{true, kRightCode}, {false, kRightCode}}, 0, 0, 3, {0, 0, 0, 0}},
        SteerCase{"CommandReleasesAll", {{true, kRightCode}, {true, kUpCode}, {false, 91}}, 0, 0, 0,
                  {0, 0, 0, 0}},
        SteerCase{"RightCommandToo", {{true, kDownCode}, {false, 92}}, 0, 0, 1, {0, 0, 0, 0}},
        // After Command the right key's own release changes nothing; a new press walks again.
        SteerCase{"AfterCommand", {{true, kRightCode}, {false, 91}, {false, kRightCode}, {true, kRightCode}},
                  6, 0, 3, {0, 0, 0, 1}},
        SteerCase{"MouseButtonBoundToLeft", {{true, 1}, {false, 2}}, -6, 0, 2, {0, 0, 1, 0}},
        SteerCase{"MouseButtonRelease", {{true, 1}, {false, 1}}, 0, 0, 2, {0, 0, 0, 0}},
        SteerCase{"CodesAboveAByteMatchNothing", {{true, 256 + kUpCode}, {true, 300}}, 0, 0, 1,
                  {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<SteerCase>& i) { return std::string(i.param.name); });

TEST_F(Keys, ReleaseTakesTheWalkSpeedOfItsMoment) {
  GetKeyDown(kRightCode);
  player->walkSpeed = 2.0f;
  GetKeyUp(kRightCode);
  EXPECT_EQ(player->speedX, 4.0f);
}

TEST_F(Keys, EachActionKeyRunsItsAction) {
  const TConfig& c = *settings;
  const std::vector<std::pair<int, std::string>> table = {
      {c.kPrimary, "primary"}, {c.kSecondary, "secondary"}, {c.kInventory, "inventory"},
      {c.kLoad, "load0"},      {c.kSave, "save"},           {c.kOption, "options0"},
      {c.kEnter, "talk"},      {c.kExit, "exit0"}};
  for (const auto& [code, action] : table) {
    actions.clear();
    GetKeyDown(code);
    EXPECT_EQ(actions, std::vector<std::string>{action}) << "code " << code;
  }
  actions.clear();
  for (const auto& entry : table) GetKeyUp(entry.first);
  EXPECT_TRUE(actions.empty());
}

TEST_F(Keys, LockedControlsTrackDirectionsOnly) {
  lockControls = 1;
  const TConfig& c = *settings;
  for (int code : {int(c.kPrimary), int(c.kSecondary), int(c.kInventory), int(c.kLoad), int(c.kSave),
                   int(c.kOption), int(c.kEnter), int(c.kExit), int(c.kLeft)})
    GetKeyDown(code);
  EXPECT_TRUE(actions.empty());
  EXPECT_EQ(player->speedX, -6.0f);
  EXPECT_EQ(keyHeld[2], 1);
}

TEST_F(Keys, ItemsWaitForTheSwing) {
  player->melee = 1;
  GetKeyDown(settings->kPrimary);
  GetKeyDown(settings->kSecondary);
  EXPECT_TRUE(actions.empty());
}

struct BindingCase {
  const char* name;
  std::vector<uint8_t TConfig::*> bound;
  std::vector<std::string> expected;
};

class SharedBinding : public Keys, public ::testing::WithParamInterface<BindingCase> {};

TEST_P(SharedBinding, AllActionsInOrder) {
  for (auto field : GetParam().bound) (*settings).*field = 50;
  GetKeyDown(50);
  EXPECT_EQ(actions, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bindings, SharedBinding,
    ::testing::Values(
        BindingCase{"LoadBeforeSaveAndExclusive",
                    {&TConfig::kSave, &TConfig::kLoad, &TConfig::kOption, &TConfig::kEnter},
                    {"load0", "options0", "talk"}},
        BindingCase{"ItemsScreensAndExit",
                    {&TConfig::kExit, &TConfig::kInventory, &TConfig::kSecondary, &TConfig::kPrimary},
                    {"primary", "secondary", "inventory", "exit0"}},
        BindingCase{"SaveAlone", {&TConfig::kSave, &TConfig::kOption}, {"save", "options0"}}),
    [](const ::testing::TestParamInfo<BindingCase>& i) { return std::string(i.param.name); });

TEST_F(Keys, DirectionAndActionOnOneKey) {
  settings->kInventory = settings->kUp;
  GetKeyDown(settings->kUp);
  EXPECT_EQ(player->speedY, -6.0f);
  EXPECT_EQ(actions, std::vector<std::string>{"inventory"});
}

TEST_F(Keys, ReplacedPlayerDoesNotDrift) {
  GetKeyDown(kRightCode);
  player = std::make_shared<TPlayer>();  // a loaded game
  player->walkSpeed = 6.0f;
  GetKeyUp(kRightCode);
  EXPECT_EQ(player->speedX, 0.0f);
  EXPECT_EQ(keyHeld[3], 0);
  GetKeyDown(kRightCode);
  EXPECT_EQ(player->speedX, 6.0f);
}

}  // namespace
