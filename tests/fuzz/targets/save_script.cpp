// Save scripts: any bytes read, compiled and run as a slot's script in the sandbox, with a
// game around it (a player, the demo quest's tiles, a working folder of one map without
// triggers to travel to). Every text box that a trip opens is answered at once, and the
// transitions run on a clock that leaps.
#include "core/globals.h"
#include "fuzz/harness.h"
#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/system/clock.h"
#include "scripting/commands.h"
#include "scripting/engine.h"
#include "scripting/sandbox.h"

#include <lua.h>

namespace {

void PrepareGame() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  fuzz::LoadDemoTables();
  InitLUA();
  settings->mapDir = fuzz::ScratchDir() + "/maps/";
  CreateDir(settings->mapDir);
  TMap::Create()->SaveMap(settings->mapDir + "a.map");
  Trigger.clear();
  FixedRateLogic = std::make_unique<TFixedRateLogic>();
  // Every reading half a second on: a transition's pass takes the most ticks it may, 50.
  SetClockSource([] {
    static uint32_t now = 0;
    return static_cast<int32_t>(now += 500);
  });
  SetEventPump([] { PostEvent(EVENT_KEYDOWN, settings->kEnter); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PrepareGame();
  DeleteDir(settings->tempDir, 1);
  CopyDir(settings->mapDir, settings->tempDir);
  currentMap = TMap::Create();
  nextMap = TMap::Create();
  player = TPlayer::CreatePlayer(0, 1, 120.0f, 64.0f, 0.0f, 0.0f, 1, "Fuzz", 6, 6, 0, 6.0f, 1);
  {
    TSaveScript script(*lua);
    if (script.Load(fuzz::InputFile(data, size, "0.FUZZ.sav.lua"))) script.Run();
  }
  FlushEvents();
  npcList.Clear();
  missileList.Clear();
  player = nullptr;
  // What the input left in the state goes, or every input would look like a leak to check.
  lua_gc(lua->m_lua_state, LUA_GCCOLLECT, 0);
  return 0;
}
