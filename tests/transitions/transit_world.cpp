#include "transitions/transit_world.h"

#include <filesystem>

#include "core/tables.h"
#include "platform/files/files.h"
#include "platform/graphics/graphics.h"
#include "platform/system/clock.h"
#include "scripting/commands.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/settings.h"
#include "support/tiles.h"

namespace {

int32_t steppedNow = 0;

TImagePtr Solid(int size, uint32_t argb, int frames = 1) {
  return testsupport::MakeImage(size, size, frames, [=](int, int, int) { return argb; });
}

}  // namespace

TEvent Key(int id, int code) {
  TEvent e;
  e.id = id;
  e.data = code;
  return e;
}

TMapPtr TransitWorld::OpenMap(int groundTile) {
  TMapPtr map = TMap::Create();
  for (int x = 0; x < MAP_WIDTH; ++x) {
    for (int y = 0; y < MAP_HEIGHT; ++y) {
      map->mapTile[x][y] = {groundTile, 1};
      map->mapFeature[x][y].tileID = -1;
      map->mapObject[x][y].tileID = -1;
      map->mapOverlay[x][y].tileID = -1;
    }
  }
  return map;
}

void TransitWorld::ShipMap(const std::string& name, const TMapPtr& map) {
  map->SaveMap(settings->mapDir + name, 0);
  CopyFile(settings->mapDir + name, settings->tempDir + name);
}

int TransitWorld::SpriteTile(int size) {
  Tile.push_back(testsupport::MakeTile(Solid(size, 0xFFFFFFFF, 4), 4));
  return static_cast<int>(Tile.size()) - 1;
}

void TransitWorld::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (home.empty()) home = testsupport::ScratchDir(std::string("transit_") + test->name());
  testsupport::UseQuestSettings(std::string(CORVEL_FIXTURES) + "/transit", home);
  settings->mapDir = home + "/Maps/";
  for (const std::string& dir : {settings->mapDir, settings->tempDir, settings->saveDir})
    std::filesystem::create_directories(dir);
  settings->sound = 0;
  settings->music = 0;
  Trigger = LoadTriggers(settings->triggerDir + "triggers.dat");

  // 0 green and 1 blue ground, 2 the player's 32-pixel sheet, 3 its footprint, 4 unused,
  // 5 a marker tile, 6 a wall.
  using testsupport::MakeTile;
  Tile = {MakeTile(Solid(32, kGreen)), MakeTile(Solid(32, kBlue)),
          MakeTile(Solid(32, 0xFFFFFFFF, 4), 4), MakeTile(Solid(16, 0xFFFFFFFF)),
          MakeTile(Solid(32, 0xFF808080)), MakeTile(Solid(32, 0xFFFF00FF)),
          MakeTile(Solid(32, 0xFF404040))};
  timerList.Clear();
  // The drawing state the display set-up leaves.
  SetBlend(ALPHABLEND);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
  SetScale(1.0f, 1.0f);
  Cls();
  TMapPtr a = OpenMap(kGreenTile), b = OpenMap(kBlueTile);
  a->mapID = 1;
  b->mapID = 2;
  ShipMap("a.map", a);
  ShipMap("b.map", b);
  currentMap = TMap::Create();
  nextMap = TMap::Create();

  gameItem.assign(48, nullptr);
  gameItem[0] = TItem::Create(0, "", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  gameItem[1] = TItem::Create(1, "Bow", "A bent stick", 1, 5, 8, 0, 0, 2, 0, 0, 1, 4, 6.5f, 3, -1, 0);
  gameItem[2] = TItem::Create(2, "Key", "", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0);
  for (int k = 3; k < 48; ++k) gameItem[k] = gameItem[0]->CopyItem();
  npcType = {TActor::Create(2, kFootprintTile, 100, 120, 0, 0, 1, "guard", 3, 3, 2, 0, 4.0f, 1, 0, 0, 2)};

  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  player = TPlayer::CreatePlayer(2, kFootprintTile, 300, 200, 0, 0, 1, "", 6, 6, 0, 6.0f, 1);
  std::fill(std::begin(flags), std::end(flags), 0);
  std::fill(std::begin(keyHeld), std::end(keyHeld), 0);
  lockControls = 0;
  lastMusic = 0;
  Delta = 1;
  FixedRateLogic = std::make_unique<TFixedRateLogic>();
  FlushEvents();
  StepClock(100000);
  SetEventPump([this] {
    if (passMs) AdvanceManualClock(passMs);
    if (!script.empty() && (!scriptReady || scriptReady())) {
      PostEvent(script.front());
      script.pop_front();
    }
    if (onPass) onPass();
  });
  InitLUA();
}

void TransitWorld::TearDown() {
  SetEventPump(nullptr);
  FlushEvents();
  SetClockSource(nullptr);
  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  player.reset();
  Tile.clear();
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
}

void TransitWorld::StepClock(int ms) {
  passMs = 0;
  steppedNow = 0;
  SetClockSource([ms] { return steppedNow += ms; });
}

void TransitWorld::ClockPerPass(int ms) {
  UseManualClock(0);
  passMs = ms;
}

void TransitWorld::Script(std::deque<TEvent> events, std::function<bool()> ready) {
  script = std::move(events);
  scriptReady = std::move(ready);
}
