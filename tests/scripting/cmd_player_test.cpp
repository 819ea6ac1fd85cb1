// Player, item, flag and state commands on a small world.
#include <set>

#include "scripting/script_world.h"
#include "support/lua_run.h"

namespace {

using PlayerCommandTest = ScriptWorldTest;

struct Case {
  const char* script;
  const char* outcome;  // of ScriptWorldTest::Outcome
  const char* state;    // what the test's describe() gives afterwards
};

std::string LifeAndGold() {
  return "gold " + std::to_string(player->gold) + " life " + std::to_string(player->life) + "/" +
         std::to_string(player->maxLife) + " died " + LuaGlobal("died") + " cleared " +
         LuaGlobal("cleared");
}

TEST_F(PlayerCommandTest, GoldAndLife) {
  const Case cases[] = {
      {"GiveGold(10)", "nil", "gold 20 life 6/6 died nil cleared nil"},
      {"GiveGold(5, 10)", "nil", "gold 20 life 6/6 died nil cleared nil"},
      {"GiveGold()", "ended nil", "gold 10 life 6/6 died nil cleared nil"},
      {"GiveGold({}) r = 1", "ended nil", "gold 10 life 6/6 died nil cleared nil"},
      {"GiveGold('x')", "ended nil", "gold 10 life 6/6 died nil cleared nil"},
      {"GiveGold('7')", "nil", "gold 17 life 6/6 died nil cleared nil"},
      {"GiveGold(2.9)", "nil", "gold 12 life 6/6 died nil cleared nil"},
      {"GiveGold(-2.9)", "nil", "gold 8 life 6/6 died nil cleared nil"},
      {"r = select('#', GiveGold(1))", "0", "gold 11 life 6/6 died nil cleared nil"},
      {"r = TakeGold(10)", "true", "gold 0 life 6/6 died nil cleared nil"},
      {"r = TakeGold(11)", "false", "gold 10 life 6/6 died nil cleared nil"},
      {"r = TakeGold(-5)", "true", "gold 15 life 6/6 died nil cleared nil"},
      // Sums are 32-bit: past the top they wrap around (numbers beyond it saturate first).
      {"GiveGold(2147483647)", "nil", "gold -2147483639 life 6/6 died nil cleared nil"},
      {"r = TakeGold(-2147483648)", "true", "gold -2147483638 life 6/6 died nil cleared nil"},
      {"GiveLife(3e9)", "nil", "gold 10 life -2147483643/6 died nil cleared nil"},
      {"TakeLife(-2147483648)", "nil", "gold 10 life 0/6 died 1 cleared 1"},
      {"GiveLife(5)", "nil", "gold 10 life 6/6 died nil cleared nil"},
      {"GiveLife(-9)", "nil", "gold 10 life -3/6 died nil cleared nil"},
      {"GiveLife(-3) GiveMaxLife(0)", "nil", "gold 10 life 6/6 died nil cleared nil"},
      {"GiveMaxLife(-7)", "nil", "gold 10 life -1/-1 died nil cleared nil"},
      {"GiveMaxLife(2147483647)", "nil", "gold 10 life 2147483647/2147483647 died nil cleared nil"},
      {"TakeLife(-3)", "nil", "gold 10 life 9/6 died nil cleared nil"},
      {"TakeLife(2)", "nil", "gold 10 life 4/6 died nil cleared nil"},
      {"TakeLife(9)", "nil", "gold 10 life 0/6 died 1 cleared 1"},
      {"TakeLife(6) TakeLife(0)", "nil", "gold 10 life 0/6 died 2 cleared 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    player->gold = 10;
    player->deathTrigger = 1;
    currentMap->mapClearTrigger = 2;
    EXPECT_EQ(Outcome(c.script), c.outcome);
    EXPECT_EQ(LifeAndGold(), c.state);
  }
}

TEST_F(PlayerCommandTest, DeathMarksThePlayersCellAndClearsOnlyAnEmptyMap) {
  player->X = 70;
  player->Y = 40;
  currentMap->mapClearTrigger = 2;
  AddGuard("guard", 200, 200);
  ASSERT_EQ(RunLua("TakeLife(6) x, y = GetTriggerX(), GetTriggerY()"), 1);
  EXPECT_EQ(LuaGlobal("died"), "1");
  EXPECT_EQ(LuaGlobal("cleared"), "nil");
  EXPECT_EQ(LuaGlobal("x") + "," + LuaGlobal("y"), "2,1");
}

TEST_F(PlayerCommandTest, ADeathTriggerThatKillsAgainNestsUntilLuasLimit) {
  player->life = 0;
  player->deathTrigger = 8;  // again.lua
  ASSERT_EQ(RunLua("depth, after = 0, 0 TakeLife(0) finished = 1"), 1);
  EXPECT_GT(LuaNumber("depth"), 50);
  EXPECT_EQ(LuaNumber("after"), LuaNumber("depth"));
  EXPECT_EQ(LuaGlobal("finished"), "1");
}

std::string Inventory() {
  std::string out;
  for (int k = 0; k < 2; ++k) {
    const TItem& slot = *player->item[k];
    out += "slot" + std::to_string(k) + " " + std::to_string(slot.itemID) + "/" +
           std::to_string(slot.ammoCount) + "/" + std::to_string(slot.ammoImage) + "/" +
           std::to_string(slot.meleeImage) + " ";
  }
  return out + "primary " + std::to_string(player->primary->itemID) + " got " + LuaGlobal("got");
}

TEST_F(PlayerCommandTest, Inventory) {
  const Case cases[] = {
      {"r = CheckItem(0)", "true", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"r = CheckItem(1)", "false", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"r = CheckItem()", "ended nil", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"GiveItem(1) r = CheckItem(1)", "true", "slot0 1/5/2/0 slot1 0/0/0/0 primary 0 got 1"},
      {"SetFlag(0, 1) GiveItem(1) r = gotHolding", "true",
       "slot0 1/5/2/0 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(1) GiveItem('1')", "nil", "slot0 1/8/2/0 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(2) GiveItem(1) GiveItem(2)", "nil",
       "slot0 2/0/0/0 slot1 1/5/2/0 primary 0 got 1"},
      {"GiveItem(0) GiveItem(9) GiveItem(-1)", "nil",
       "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"r = TakeItem(1, 0)", "false", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"r = TakeItem(0, 0)", "true", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"GiveItem(1) r = TakeItem(1, 1)", "true", "slot0 1/4/2/0 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(1) r = TakeItem(1, 0)", "true", "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(1) r = TakeItem(1)", "ended nil", "slot0 1/5/2/0 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(2) GiveItem(1) SetPrimary(1)", "nil",
       "slot0 2/0/0/0 slot1 1/5/2/0 primary 1 got 1"},
      {"GiveItem(2) SetPrimary(2) TakeItem(2, 0)", "nil",
       "slot0 0/0/0/0 slot1 0/0/0/0 primary 0 got nil"},
      {"GiveItem(1) SetPlayerItemAmmoTile(1, 3) SetPlayerItemMeleeTile(1, 2)", "nil",
       "slot0 1/5/3/2 slot1 0/0/0/0 primary 0 got 1"},
      {"GiveItem(1) SetPlayerItemAmmoTile(1, 4) SetPlayerItemMeleeTile(1, -1)", "nil",
       "slot0 1/5/2/0 slot1 0/0/0/0 primary 0 got 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    EXPECT_EQ(Outcome(c.script), c.outcome);
    EXPECT_EQ(Inventory(), c.state);
  }
  // The tile setters change the player's items, never the templates.
  EXPECT_EQ(gameItem[1]->ammoImage, 2);
}

TEST_F(PlayerCommandTest, PrimaryHandSharesTheSlotObject) {
  ASSERT_EQ(RunLua("GiveItem(2) SetPrimary(2)"), 1);
  EXPECT_EQ(player->primary, player->item[0]);
}

TEST_F(PlayerCommandTest, FlagsInRangeOnly) {
  const Case cases[] = {
      {"SetFlag(3, 200) r = GetFlag(3)", "200", "3:200 255:0"},
      {"SetFlag(255, 255) r = GetFlag(255)", "255", "3:0 255:255"},
      {"SetFlag(3, 256) r = GetFlag(3)", "0", "3:0 255:0"},
      {"SetFlag(3, -1) r = GetFlag(3)", "0", "3:0 255:0"},
      {"SetFlag(256, 1) r = GetFlag(256)", "nil", "3:0 255:0"},
      {"r = select('#', GetFlag(-1))", "0", "3:0 255:0"},
      {"SetFlag('3', '9') r = GetFlag(3.7)", "9", "3:9 255:0"},
      {"SetFlag(1, 3, 7) r = GetFlag(2, 3)", "7", "3:7 255:0"},
      {"SetFlag(3) r = 1", "ended nil", "3:0 255:0"},
      {"SetFlag(3, true) r = 1", "ended nil", "3:0 255:0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    EXPECT_EQ(Outcome(c.script), c.outcome);
    EXPECT_EQ("3:" + std::to_string(flags[3]) + " 255:" + std::to_string(flags[255]), c.state);
  }
}

TEST_F(PlayerCommandTest, TriggerContextChanceAndControls) {
  triggerX = 3;
  triggerY = 11;
  targetActor = "bat";
  EXPECT_EQ(Outcome("r = GetTriggerX() .. ',' .. GetTriggerY() .. ',' .. GetActor()"), "3,11,bat");
  EXPECT_EQ(Outcome("r = GetRandom(1)"), "1");
  std::set<std::string> seen;
  for (int i = 0; i < 60; ++i) seen.insert(Outcome("r = GetRandom(0)"));
  EXPECT_EQ(seen, (std::set<std::string>{"0", "1"}));
  ASSERT_EQ(RunLua("LockControls()"), 1);
  EXPECT_EQ(lockControls, 1);
  ASSERT_EQ(RunLua("UnlockControls(5)"), 1);
  EXPECT_EQ(lockControls, 0);
}

TEST_F(PlayerCommandTest, AddPlayerTakesTileFootprintAndWholePixels) {
  const struct {
    const char* script;
    const char* state;
  } cases[] = {
      {"AddPlayer(1, 3, 70.9, 40)", "tile 1 foot 3 at 70,40 frames 2"},
      {"AddPlayer(2, 0, 5, 6)", "tile 2 foot 0 at 5,6 frames 1"},
      {"AddPlayer(9, 3, 5, 6)", "tile 1 foot 3 at 0,0 frames 2"},
      {"AddPlayer(-1, 3, 5, 6)", "tile 1 foot 3 at 0,0 frames 2"},
      {"AddPlayer(3, 5, 6)", "tile 1 foot 3 at 0,0 frames 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    RunLua(c.script);
    EXPECT_EQ("tile " + std::to_string(player->tileID) + " foot " +
                  std::to_string(player->footprintID) + " at " + std::to_string(int(player->X)) +
                  "," + std::to_string(int(player->Y)) + " frames " +
                  std::to_string(player->frames),
              c.state);
  }
}

TEST_F(PlayerCommandTest, MovePlayerIsOneStepThatFiresTheTouchTrigger) {
  const Case cases[] = {
      {"MovePlayer(40, 0, 3)", "nil", "at 40,0 facing 3 touched nil"},
      {"MovePlayer(8, 0, -1)", "nil", "at 8,0 facing 1 touched 1"},
      {"MovePlayer(0, 0, 2)", "nil", "at 0,0 facing 1 touched nil"},
      {"LockControls() MovePlayer(40, 0, 3)", "nil", "at 0,0 facing 1 touched nil"},
      {"MovePlayer(40, 0, 7)", "nil", "at 0,0 facing 1 touched nil"},
      {"MovePlayer(40, 0)", "ended nil", "at 0,0 facing 1 touched nil"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    // A footprint of the whole cell, and a touch trigger on the player's own cell.
    player->footprintID = 0;
    currentMap->mapObject[0][0] = TObject();
    currentMap->mapObject[0][0].walkability = 1;
    currentMap->mapObject[0][0].interaction = 1;
    currentMap->mapObject[0][0].trigger = 4;
    EXPECT_EQ(Outcome(c.script), c.outcome);
    EXPECT_EQ("at " + std::to_string(int(player->X)) + "," + std::to_string(int(player->Y)) +
                  " facing " + std::to_string(player->facing) + " touched " + LuaGlobal("touched"),
              c.state);
  }
}

TEST_F(PlayerCommandTest, WithoutAPlayerCommandsDoNothingAndGiveNoValue) {
  AddGuard("guard", 100, 100);
  player.reset();
  const char* calls[] = {
      "AddPlayer(1, 3, 5, 5)", "CheckItem(0)",   "GiveGold(1)",          "GiveItem(1)",
      "GiveLife(1)",           "GiveMaxLife(1)", "MovePlayer(5, 5, 1)",  "SetPlayerTile(1)",
      "SetPrimary(0)",         "TakeGold(1)",    "TakeItem(0, 0)",       "TakeLife(1)",
      "GetActorX('_player')",  "GetActorY('_player')",                   "FacePlayer('guard')",
      "FollowPlayer('guard')", "AvoidPlayer('guard')", "SetPlayerItemAmmoTile(1, 1)",
      "SetPlayerItemMeleeTile(1, 1)",
  };
  for (const char* call : calls) {
    SCOPED_TRACE(call);
    EXPECT_EQ(Outcome(std::string("r = select('#', ") + call + ")"), "0");
  }
}

}  // namespace
