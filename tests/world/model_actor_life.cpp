// TakeLife: the death steps run the death trigger, remove the NPC and, for the last one,
// run the map's clear trigger.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/globals.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/settings.h"
#include "world/actor.h"

using namespace testsupport;

namespace {

class ActorLife : public testing::Test {
protected:
  ActorLife() : savedTriggers_(Trigger), savedMap_(currentMap) {
    const std::string quest = ScratchDir("quest");
    UseQuestSettings(quest);
    std::filesystem::create_directory(quest + "/Triggers");
    WriteFileBytes(settings->triggerDir + "death.lua",
                   "deaths = deaths + 1; deadX = GetTriggerX(); deadY = GetTriggerY()");
    WriteFileBytes(settings->triggerDir + "clear.lua", "cleared = cleared + 1");
    Trigger = {"", "death.lua", "clear.lua"};
    currentMap = TMap::Create();
    currentMap->mapClearTrigger = 2;
    RunLua("deaths = 0; cleared = 0; deadX = -1; deadY = -1");
  }
  ~ActorLife() override {
    npcList.Clear();
    Trigger = savedTriggers_;
    currentMap = savedMap_;
  }

  static TActorPtr Npc(float x, float y, int life) {
    auto npc = std::make_shared<TActor>();
    npc->X = x;
    npc->Y = y;
    npc->life = life;
    npc->maxLife = life;
    npc->deathTrigger = 1;
    npcList.AddLast(npc);
    return npc;
  }

  std::vector<std::string> savedTriggers_;
  TMapPtr savedMap_;
};

}  // namespace

TEST_F(ActorLife, DeathRunsTheTriggerAtTheCellAndRemovesTheNpc) {
  TActorPtr guard = Npc(100.0f, 63.9f, 3);
  TActorPtr other = Npc(0, 0, 3);
  guard->TakeLife(10);
  EXPECT_EQ(guard->life, 0);
  EXPECT_EQ(triggerX, 3.0f);
  EXPECT_EQ(triggerY, 1.0f);
  EXPECT_EQ(LuaNumber("deaths"), 1);
  EXPECT_EQ(LuaNumber("deadX"), 3);
  EXPECT_EQ(LuaNumber("deadY"), 1);
  EXPECT_FALSE(npcList.Contains(guard.get()));
  EXPECT_EQ(LuaNumber("cleared"), 0);

  // The last NPC's death clears the map.
  other->TakeLife(3);
  EXPECT_TRUE(npcList.IsEmpty());
  EXPECT_EQ(LuaNumber("deaths"), 2);
  EXPECT_EQ(LuaNumber("cleared"), 1);
}

TEST_F(ActorLife, LifeAboveZeroRunsNothing) {
  struct Case {
    int life, n, after;
  };
  const Case cases[] = {{3, 2, 1}, {3, -2, 5}, {1, 0, 1}};
  for (const Case& c : cases) {
    TActorPtr npc = Npc(0, 0, c.life);
    npc->TakeLife(c.n);
    EXPECT_EQ(npc->life, c.after);
    EXPECT_TRUE(npcList.Contains(npc.get()));
  }
  EXPECT_EQ(LuaNumber("deaths"), 0);
}

TEST_F(ActorLife, EveryCallThatLeavesLifeAtZeroRunsTheDeathSteps) {
  Npc(0, 0, 5);
  TActor player;  // not in the NPC list
  player.deathTrigger = 1;
  player.X = 639.0f;
  player.Y = 415.0f;
  player.TakeLife(1);
  player.TakeLife(0);
  EXPECT_EQ(LuaNumber("deaths"), 2);
  EXPECT_EQ(LuaNumber("deadX"), 19);
  EXPECT_EQ(LuaNumber("deadY"), 12);
  EXPECT_EQ(LuaNumber("cleared"), 0);  // an NPC is still there
  npcList.Clear();
  player.TakeLife(0);
  EXPECT_EQ(LuaNumber("cleared"), 1);
}
