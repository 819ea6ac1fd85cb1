// NPC commands on a small world: matching by name, templates, missiles, walks and timers.
#include <lua.h>

#include <cmath>
#include <cstdio>

#include "platform/system/clock.h"
#include "scripting/commands.h"
#include "scripting/script_world.h"
#include "support/lua_run.h"
#include "world/update.h"

namespace {

using NPCCommandTest = ScriptWorldTest;

std::string Names() {
  std::string out;
  for (const auto& npc : npcList) {
    out += npc->name + "@" + std::to_string(int(npc->X)) + "," + std::to_string(int(npc->Y)) + " ";
  }
  return out;
}

TEST_F(NPCCommandTest, AddNPCCopiesTheTemplate) {
  const struct {
    const char* script;
    const char* list;
  } cases[] = {
      {"AddNPC(0, 'a', 10, 20)", "a@10,20 "},
      {"AddNPC(0, '', -1, 100)", "guard@100,100 "},
      {"AddNPC(1, 'w', 0, -1)", "w@0,50 "},
      {"AddNPC(0, 'far', -5, 700)", "far@100,700 "},
      {"AddNPC(1, 'b', '3', 4.8)", "b@3,4 "},
      {"AddNPC(9, 0, 'x', 1, 2)", "x@1,2 "},  // the first argument passed is ignored
      {"AddNPC(2, 'none', 1, 1)", ""},
      {"AddNPC(-1, 'none', 1, 1)", ""},
      {"AddNPC(0, 'short', 1)", ""},
      {"AddNPC({}, 'bad', 1, 1)", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    RunLua(c.script);
    EXPECT_EQ(Names(), c.list);
  }
  Reset();
  ASSERT_EQ(RunLua("AddNPC(1, 'w', 5, 5) AddNPC(1, 'w', 6, 6)"), 1);
  const TActor& w = *npcList.Last();
  EXPECT_EQ(w.movement, 9);
  EXPECT_EQ(w.moveToX, -1);
  EXPECT_EQ(w.moveGoal, 0);
  EXPECT_EQ(w.waitUntil, 0);
  EXPECT_NE(w.primary, npcType[1]->primary);  // its own copy of the item
}

TEST_F(NPCCommandTest, NamesMatchExactlyAndEveryMatchIsVisited) {
  AddGuard("twin", 10, 20);
  AddGuard("Twin", 30, 40);
  AddGuard("twin ", 50, 60);
  AddGuard("twin", 70, 80);
  AddGuard("_player", 90, 100);
  player->X = 5;
  player->Y = 6;
  const struct {
    const char* script;
    const char* outcome;
  } cases[] = {
      {"r = GetActorX('twin') .. ',' .. GetActorY('twin')", "70,80"},
      {"r = GetActorX('Twin')", "30"},
      {"r = GetActorX('twin ')", "50"},
      {"r = GetActorX('nobody')", "nil"},
      {"r = select('#', GetActorY('nobody'))", "0"},
      {"r = GetActorX('_player') .. ',' .. GetActorY('_player')", "5,6"},
      {"r = GetMoveGoal('_player')", "0"},
      {"r = GetMoveCurrent('nobody')", "nil"},
      {"SetMoveGoal('twin', 4) SetMoveCurrent('twin', 2) r = GetMoveGoal('twin') .. GetMoveCurrent('twin')",
       "42"},
      {"r = GetActorX()", "ended nil"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Outcome(c.script), c.outcome);
  }
  ASSERT_EQ(RunLua("SetAttitude('twin', 5) SetMovement('twin', -1) RemoveActor('Twin')"), 1);
  auto list = npcList.ToVector();
  EXPECT_EQ(list[0]->attitude, 5);
  EXPECT_EQ(list[0]->movement, -1);
  EXPECT_EQ(list[3]->attitude, 2);  // "_player" is another name
  EXPECT_EQ(list[2]->attitude, 5);
  EXPECT_EQ(Names(), "twin@10,20 twin @50,60 twin@70,80 _player@90,100 ");
  ASSERT_EQ(RunLua("RemoveActor('twin')"), 1);
  EXPECT_EQ(Names(), "twin @50,60 _player@90,100 ");
}

TEST_F(NPCCommandTest, RemovingTheLastNPCRunsNoTrigger) {
  currentMap->mapClearTrigger = 2;
  TActorPtr guard = AddGuard("guard", 10, 10);
  guard->deathTrigger = 1;
  ASSERT_EQ(RunLua("RemoveActor('guard')"), 1);
  EXPECT_TRUE(npcList.IsEmpty());
  EXPECT_EQ(LuaGlobal("died") + LuaGlobal("cleared"), "nilnil");
}

std::string Missiles() {
  std::string out;
  for (const auto& m : missileList) {
    char text[96];
    std::snprintf(text, sizeof text, "%d@%g,%g v%g,%g o%d d%d ", m->tileID, m->X, m->Y, m->speedX,
                  m->speedY, m->owner, m->damage);
    out += text;
  }
  return out;
}

TEST_F(NPCCommandTest, MissilesFlyAlongTheFacingAtTheTruncatedSpeed) {
  const struct {
    int facing;
    float speed;
    const char* missiles;
  } cases[] = {
      {0, 7.9f, "2@100,120 v0,-7 o1 d2 "},
      {1, 7.9f, "2@100,120 v0,7 o1 d2 "},
      {2, -7.9f, "2@100,120 v7,0 o1 d2 "},
      {3, 7.9f, "2@100,120 v7,0 o1 d2 "},
      {3, 0.5f, "2@100,120 v0,0 o1 d2 "},
      {5, 7.9f, "2@100,120 v0,0 o1 d2 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.facing);
    Reset();
    TActorPtr guard = AddGuard("guard", 100, 120);
    guard->facing = c.facing;
    guard->primary->missileSpeed = c.speed;
    ASSERT_EQ(RunLua("AddMissile('guard') AddMissile('nobody')"), 1);
    EXPECT_EQ(Missiles(), c.missiles);
  }
  Reset();
  AddGuard("pair", 10, 10)->facing = 3;
  AddGuard("pair", 20, 20)->facing = 0;
  ASSERT_EQ(RunLua("AddMissile('pair')"), 1);
  EXPECT_EQ(Missiles(), "2@10,10 v7,0 o1 d2 2@20,20 v0,-7 o1 d2 ");
}

TEST_F(NPCCommandTest, SpecialMissilesAimAtThePoint) {
  const struct {
    const char* script;
    float speed;
    const char* missiles;
  } cases[] = {
      {"AddSpecialMissile('guard', 130, 110)", 8, "2@100,120 v6,-2 o1 d2 "},
      {"AddSpecialMissile('guard', 110, 110)", 8, "2@100,120 v4,-4 o1 d2 "},
      {"AddSpecialMissile('guard', 100, 200)", 7.9f, "2@100,120 v0,7.9 o1 d2 "},
      {"AddSpecialMissile('guard', 100, 120)", 8, ""},
      {"AddSpecialMissile('guard', 100.7, 120.2)", 8, ""},
      {"AddSpecialMissile('guard', 100)", 8, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    AddGuard("guard", 100, 120)->primary->missileSpeed = c.speed;
    RunLua(c.script);
    EXPECT_EQ(Missiles(), c.missiles);
  }
}

TEST_F(NPCCommandTest, MoveActorWalksToTheTargetAndReportsTheGoal) {
  TActorPtr guard = AddGuard("guard", 87.6f, 120);
  ASSERT_EQ(RunLua("MoveActor('guard', 0, 200, 3)"), 1);
  EXPECT_EQ(guard->moveToX, 87);
  EXPECT_EQ(guard->moveToY, 200);
  EXPECT_EQ(guard->moveGoal, 3);
  ASSERT_EQ(RunLua("MoveActor('guard', 300, 0, 3)"), 1);
  EXPECT_EQ(guard->moveToX, 300);
  EXPECT_EQ(guard->moveToY, 120);
  int ticks = 0;
  while (ticks < 200 && Outcome("r = GetMoveCurrent('guard')") != "3") {
    MoveActors();
    ++ticks;
  }
  EXPECT_LT(ticks, 200);
  EXPECT_NEAR(guard->X, 300, guard->walkSpeed);
  EXPECT_EQ(guard->Y, 120);
  EXPECT_EQ(guard->moveToX, -1);

  // A goal equal to moveCurrent stores the target, but the NPC stays.
  float x = guard->X;
  ASSERT_EQ(RunLua("MoveActor('guard', 50, 0, 3)"), 1);
  for (int i = 0; i < 5; ++i) MoveActors();
  EXPECT_EQ(guard->X, x);
}

TEST_F(NPCCommandTest, WaitArmsPollsAndDisarmsOnTheClock) {
  AddGuard("guard", 10, 10);
  const struct {
    int clock;
    const char* script;
    const char* outcome;
  } steps[] = {
      {5000, "r = Wait('guard', 1000)", "1"},
      {6000, "r = Wait('guard', 1000)", "1"},
      {5500, "r = Wait('guard', 5000)", "1"},  // the armed deadline stands
      {6001, "r = Wait('guard', 1000)", "0"},
      {6002, "r = Wait('guard', 0)", "1"},
      {6002, "r = Wait('guard', 0)", "1"},
      {6003, "r = Wait('guard', 0)", "0"},
      {6003, "r = Wait('nobody', 0)", "nil"},
      {6003, "r = Wait('guard')", "ended nil"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.script + std::string(" at ") + std::to_string(s.clock));
    SetManualClock(s.clock);
    EXPECT_EQ(Outcome(s.script), s.outcome);
  }
  // Two NPCs of one name: both timers are armed, the later one's result is returned.
  AddGuard("pair", 0, 0)->waitUntil = 9000;
  AddGuard("pair", 0, 0);
  SetManualClock(9001);
  EXPECT_EQ(Outcome("r = Wait('pair', 10)"), "1");
  auto list = npcList.ToVector();
  EXPECT_EQ(list[1]->waitUntil, 0);
  EXPECT_EQ(list[2]->waitUntil, 9011);
}

TEST_F(NPCCommandTest, SteeringTowardsAndAwayFromThePlayer) {
  TActorPtr guard = AddGuard("guard", 200, 100);
  player->X = 100;
  player->Y = 100;
  ASSERT_EQ(RunLua("FacePlayer('guard')"), 1);
  EXPECT_EQ(guard->facing, 2);
  ASSERT_EQ(RunLua("FollowPlayer('guard')"), 1);
  EXPECT_EQ(guard->speedX, -guard->walkSpeed);
  EXPECT_EQ(guard->speedY, 0);
  ASSERT_EQ(RunLua("AvoidPlayer('guard')"), 1);
  EXPECT_EQ(guard->speedX, guard->walkSpeed);
}

TEST_F(NPCCommandTest, MovementTriggersRunWithOrWithoutTheCurrentNPCFunctions) {
  TActorPtr w = npcType[1]->CopyActor("w", -1, -1);
  npcList.AddLast(w);
  for (int i = 0; i < 20; ++i) MoveActors();
  EXPECT_GT(LuaNumber("moved"), 0);  // no setCurrentNPC defined: the trigger still runs

  ASSERT_EQ(RunLua("moved = 0 function setCurrentNPC(n) seenName = n end "
                   "function setCurrentAttitude(a) seenAttitude = a end"),
            1);
  for (int i = 0; i < 20; ++i) MoveActors();
  EXPECT_GT(LuaNumber("moved"), 0);
  EXPECT_EQ(LuaGlobal("seenName") + LuaGlobal("seenAttitude"), "w2");
  EXPECT_EQ(lua_gettop(ScriptState()), 0);
}

TEST(ScriptFunctionCall, AMissingFunctionFailsQuietly) {
  InitLUA();
  EXPECT_EQ(CallScriptFunction("setTriggerDirection", 2.0), 0);
  ASSERT_EQ(RunLua("function setTriggerDirection(d) dir = d return 'x' end"), 1);
  EXPECT_EQ(CallScriptFunction("setTriggerDirection", 3.0), 1);
  EXPECT_EQ(LuaGlobal("dir"), "3");
  EXPECT_EQ(CallScriptFunction("setCurrentNPC", std::string("bob")), 0);
}

}  // namespace
