// The world with real trigger scripts: scripts that change the lists while a pass walks them,
// and the order in which the world runs its triggers. The fixture quest's scripts write what
// ran into the Lua global `log`.
#include "sim_fixture.h"
#include "scripting/engine.h"
#include "support/lua_run.h"
#include "support/settings.h"
#include "world/missile.h"
#include "world/update.h"

using namespace simtest;

namespace {

enum {
  kMoveRemoveSelf = 1,
  kMoveEditList,
  kDeathClear,
  kClear,
  kMissileSpawn,
  kTalkCell,
  kTalkNPC,
  kGet,
  kTouch,
  kUse,
  kTriggerMissile,
};

class ScriptedSimTest : public SimTest {
protected:
  void SetUp() override {
    SimTest::SetUp();
    testsupport::UseQuestSettings(CORVEL_FIXTURES "/sim_walks");
    ScriptState();
    lua->RunScriptFile(settings->triggerDir + "functions.lua");
    Trigger = {"",          "move_remove_self.lua", "move_edit_list.lua", "death_clear.lua",
               "clear.lua", "missile_spawn.lua",    "talk_cell.lua",      "talk_npc.lua",
               "get.lua",   "touch.lua",            "use.lua",            "trigger_missile.lua"};
    savedTypes_ = npcType;
    savedItems_ = gameItem;
    savedTalk_ = imgTalk;
  }
  void TearDown() override {
    Trigger.clear();
    npcType = savedTypes_;
    gameItem = savedItems_;
    imgTalk = savedTalk_;
    SimTest::TearDown();
  }
  static TActorPtr Named(const char* name, float x, float y, int attitude = 2) {
    TActorPtr a = MakeNPC(x, y, attitude);
    a->name = name;
    return a;
  }
  static std::string Log() { return LuaGlobal("log"); }
  static std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (const TActorPtr& a : npcList) out.push_back(a->name);
    return out;
  }
  std::vector<TActorPtr> savedTypes_;
  std::vector<TItemPtr> savedItems_;
  TImagePtr savedTalk_;
};

TEST_F(ScriptedSimTest, AMovementTriggerThatRemovesItsNPCStillLetsItMoveAndTouch) {
  TActorPtr a = Named("a", 322, 200, 0);
  a->movement = kMoveRemoveSelf;
  a->tempLogic = 6;  // this pass is a pacing step
  a->speedX = -2;
  TActorPtr b = Named("b", 100, 100);
  b->speedX = 3;
  npcList.AddLast(a);
  npcList.AddLast(b);
  MoveActors();
  EXPECT_EQ(Log(), "npc:a/0;move:a;");
  EXPECT_EQ(Names(), (std::vector<std::string>{"b"}));
  EXPECT_FLOAT_EQ(a->X, 320);       // moved after its own removal
  EXPECT_FLOAT_EQ(player->X, 296);  // and pushed the player
  EXPECT_FLOAT_EQ(b->X, 103);       // the walk went on
}

TEST_F(ScriptedSimTest, AMovementTriggerRemovesAndAppendsNPCs) {
  struct Case {
    bool triggerLast;
    float dX;  // X of the appended NPC after the pass
  } cases[] = {{false, 402}, {true, 400}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.triggerLast);
    npcList.Clear();
    RunLua("log = ''");
    TActorPtr tmpl = Named("template", 0, 0);
    tmpl->speedX = 2;
    npcType = {tmpl};
    TActorPtr a = Named("a", 100, 50), b = Named("b", 200, 60), cc = Named("c", 300, 70);
    a->movement = kMoveEditList;
    a->tempLogic = 6;
    for (auto& n : {a, b, cc}) n->speedX = 1;
    if (c.triggerLast) {
      npcList.AddLast(b);
      npcList.AddLast(cc);
      npcList.AddLast(a);
    } else {
      npcList.AddLast(a);
      npcList.AddLast(b);
      npcList.AddLast(cc);
    }
    MoveActors();
    EXPECT_EQ(Log(), "npc:a/2;edit:a;");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "d"}));  // sorted by Y
    EXPECT_FLOAT_EQ(a->X, 101);
    EXPECT_FLOAT_EQ(b->X, 201);
    EXPECT_FLOAT_EQ(cc->X, c.triggerLast ? 301 : 300);  // removed before the walk reached it
    EXPECT_FLOAT_EQ(npcList.Last()->X, c.dX);
  }
}

TEST_F(ScriptedSimTest, ADeathTriggerThatClearsTheListEndsTheWalkAfterTheDeadNPC) {
  for (bool melee : {false, true}) {
    SCOPED_TRACE(melee ? "melee" : "missile");
    npcList.Clear();
    missileList.Clear();
    meleeList.Clear();
    player->melee = 0;
    RunLua("log = ''");
    currentMap->mapClearTrigger = kClear;
    float x = melee ? 330 : 200, y = melee ? 200 : 100;
    TActorPtr first = Named("foe", x, y), second = Named("foe", x + 10, y);
    first->life = 1;
    first->deathTrigger = kDeathClear;
    npcList.AddLast(first);
    npcList.AddLast(second);
    if (melee) {
      player->facing = 3;
      auto sword = std::make_shared<TItem>();
      sword->itemType = 3;
      sword->damageRating = 2;
      sword->meleeImage = kSwing;
      sword->sound = -1;
      player->MeleeAttack(sword);
    } else {
      AddMissile(kDot, 190, 100, 4, 0, 0, 2, 5, 0);
    }
    MoveActors();
    EXPECT_EQ(Log(), "death;clear;");
    EXPECT_TRUE(npcList.IsEmpty());
    EXPECT_EQ(second->life, 10);  // the walk ended with the NPC in hand
    EXPECT_FLOAT_EQ(triggerX, melee ? 10 : 6);
    EXPECT_FLOAT_EQ(triggerY, melee ? 6 : 3);
  }
}

TEST_F(ScriptedSimTest, ATriggerMissileThatFiresAnotherOne) {
  struct Case {
    bool spawnerLast;
    float spawnedX;
  } cases[] = {{false, 105}, {true, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spawnerLast);
    npcList.Clear();
    missileList.Clear();
    RunLua("log = ''");
    TActorPtr target = Named("target", 200, 100);
    TActorPtr gunner = Named("gunner", 100, 300);
    gunner->facing = 3;
    gunner->primary = std::make_shared<TItem>();
    gunner->primary->ammoImage = kDot;
    gunner->primary->missileSpeed = 5;
    gunner->primary->missileRange = 2;
    gunner->primary->sound = -1;
    npcList.AddLast(target);
    npcList.AddLast(gunner);
    AddMissile(kDot, 190, 100, 4, 0, 0, -kMissileSpawn, 5, 0);
    TMissilePtr idle = TMissile::Create(kDot, 500, 350, 0, 0, 0, 1, 0, 0);
    if (c.spawnerLast) missileList.AddFirst(idle);
    else missileList.AddLast(idle);
    MoveActors();
    EXPECT_EQ(Log(), "hit:target;");
    EXPECT_EQ(targetActor, "");
    EXPECT_EQ(target->life, 10);
    ASSERT_EQ(missileList.Count(), 2u);
    TMissilePtr spawned = missileList.Last();
    EXPECT_EQ(spawned->owner, 1);
    EXPECT_FLOAT_EQ(spawned->X, c.spawnedX);
  }
}

TEST_F(ScriptedSimTest, TriggerMissilesNameWhatTheyHit) {
  struct Case {
    const char* name;
    float x, range;
    bool npcs;
    const char* log;
  } cases[] = {
      {"two NPCs, in list order", 190, 160, true, "t:a;t:b;"},
      {"range out and blocked on one pass", 620, 4, false, "t:;t:;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    npcList.Clear();
    missileList.Clear();
    RunLua("log = ''");
    if (c.npcs) {
      npcList.AddLast(Named("a", 200, 100));
      npcList.AddLast(Named("b", 205, 100));
    }
    AddMissile(kDot, c.x, 100, 8, 0, 0, -kTriggerMissile, 5, 0);
    missileList.Last()->range = c.range;
    MoveActors();
    EXPECT_EQ(Log(), c.log);
    EXPECT_EQ(targetActor, "");
    EXPECT_TRUE(missileList.IsEmpty());
  }
}

TEST_F(ScriptedSimTest, TheTalkProbeReachesATalkCell) {
  imgTalk = testsupport::SolidImage(32, 32, 4);
  TObject& cell = currentMap->mapObject[10][6];
  cell.interaction = 2;
  cell.trigger = kTalkCell;
  player->facing = 3;
  player->Talk();
  MoveActors();
  EXPECT_EQ(Log(), "dir:3;cell:10,6;");
  EXPECT_TRUE(missileList.IsEmpty());
}

TEST_F(ScriptedSimTest, TheTalkProbeReachesNPCs) {
  imgTalk = testsupport::SolidImage(32, 32, 4);
  TActorPtr mute = Named("mute", 320, 200), talker = Named("talker", 330, 200);
  talker->talkTrigger = kTalkNPC;
  npcList.AddLast(mute);
  npcList.AddLast(talker);
  player->facing = 3;
  player->Talk();
  MoveActors();
  EXPECT_EQ(Log(), "talk;");
  EXPECT_TRUE(missileList.IsEmpty());
}

TEST_F(ScriptedSimTest, GetAndUseTriggers) {
  gameItem.assign(48, nullptr);
  for (auto& slot : gameItem) slot = std::make_shared<TItem>();
  gameItem[4] = std::make_shared<TItem>();
  gameItem[4]->itemID = 4;
  gameItem[4]->getTrigger = kGet;
  player->GiveItem(4);
  player->GiveItem(4);
  EXPECT_EQ(Log(), "get;");

  RunLua("log = ''");
  auto charm = std::make_shared<TItem>();
  charm->itemID = 9;
  charm->itemType = 2;
  charm->useTrigger = kUse;
  charm->ammoCount = 2;
  charm->ammoMax = 5;
  UseItem(charm);
  UseItem(charm);
  EXPECT_EQ(charm->ammoCount, 2);
  charm->ammoCount = 0;
  UseItem(charm);
  EXPECT_EQ(Log(), "use;use;");
}

TEST_F(ScriptedSimTest, TouchTriggersRunOnEveryAttemptedMoveEvenWhenBlocked) {
  TObject& cell = currentMap->mapObject[9][6];
  cell.interaction = 1;
  cell.trigger = kTouch;
  Wall(*currentMap, 10, 6);
  player->X = 288;
  player->speedX = 6;
  MoveActors();
  MoveActors();
  EXPECT_FLOAT_EQ(player->X, 288);
  EXPECT_EQ(Log(), "touch;touch;");
  player->speedX = 0;
  MoveActors();
  EXPECT_EQ(Log(), "touch;touch;");
}

}  // namespace
