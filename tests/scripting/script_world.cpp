#include "scripting/script_world.h"

#include <filesystem>

#include "core/tables.h"
#include "platform/system/clock.h"
#include "scripting/commands.h"
#include "scripting/engine.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/settings.h"
#include "support/tiles.h"

TMapPtr ScriptWorldTest::OpenMap() {
  TMapPtr map = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x) {
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      map->mapTile[x][y].walkability = 1;
      map->mapFeature[x][y].tileID = -1;
      map->mapObject[x][y].tileID = -1;
      map->mapOverlay[x][y].tileID = -1;
    }
  }
  return map;
}

void ScriptWorldTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  home = testsupport::ScratchDir(std::string("script_") + test->test_suite_name() + "_" +
                                 test->name());
  testsupport::UseQuestSettings(std::string(CORVEL_FIXTURES) + "/scripting", home);
  std::filesystem::create_directories(settings->tempDir);
  settings->sound = 0;
  settings->music = 0;
  Trigger = LoadTriggers(settings->triggerDir + "triggers.dat");

  // Tile 0: a solid cell; 1: a player sheet of 8 frames; 2: a sheet of 6; 3: a small footprint.
  using testsupport::MakeTile;
  using testsupport::SolidImage;
  Tile = {MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32, 8), 8),
          MakeTile(SolidImage(32, 32, 6), 6), MakeTile(SolidImage(16, 16))};
  currentMap = OpenMap();
  nextMap = TMap::Create();

  gameItem.assign(48, nullptr);
  gameItem[0] = TItem::Create(0, "", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  // 1: a bow with ammunition and a get trigger; 2: a key; 3: the guards' sling.
  gameItem[1] = TItem::Create(1, "Bow", "", 1, 5, 8, 0, 0, 2, 0, 3, 1, 4, 6, 0, -1, 0);
  gameItem[2] = TItem::Create(2, "Key", "", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0);
  gameItem[3] = TItem::Create(3, "Sling", "", 1, 0, 0, 0, 0, 2, 0, 0, 2, 5, 7.9f, 3, -1, 0);
  for (int k = 4; k < 48; ++k) gameItem[k] = gameItem[0]->CopyItem();

  // Template 0: a guard at (100, 120); 1: a wanderer at (40, 50) with a movement trigger.
  npcType = {TActor::Create(1, 3, 100, 120, 0, 0, 1, "guard", 3, 3, 2, 0, 4.0f, 1, 0, 0, 3),
             TActor::Create(1, 3, 40, 50, 0, 0, 1, "wanderer", 3, 3, 2, 9, 2.0f, 1, 0, 0, 3)};

  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  player = TPlayer::CreatePlayer(1, 3, 0, 0, 0, 0, 1, "", 6, 6, 0, 6.0f, 1);
  std::fill(std::begin(flags), std::end(flags), 0);
  lockControls = 0;
  triggerX = triggerY = 0;
  targetActor.clear();
  Delta = 1;
  UseManualClock(1000);
  InitLUA();
}

void ScriptWorldTest::TearDown() {
  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  player.reset();
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  Tile.clear();
}

TActorPtr ScriptWorldTest::AddGuard(const std::string& name, float x, float y) {
  TActorPtr npc = npcType[0]->CopyActor(name, x, y);
  npcList.AddLast(npc);
  return npc;
}


std::string ScriptWorldTest::Outcome(const std::string& script) {
  RunLua("r = nil");
  int ok = RunLua(script);
  return (ok ? "" : "ended ") + LuaGlobal("r");
}
