// Map travel and game-flow commands: reading their arguments, and the plain change of map
// that lets scripts play until the transitions take these bodies over.
#include <cstdint>

#include "core/globals.h"
#include "platform/text.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "world/missile.h"
#include "world/update.h"

int LUA_GoToMap(lua_State* L) {
  TScriptArgs args(L, 2);
  std::string map = args.String(1);
  int32_t transition = args.Int(2);
  (void)transition;
  // A name that already begins with the working folder is a full path.
  std::string path = Instr(map, settings->tempDir) == 1 ? map : settings->tempDir + map;
  nextMap->LoadMap(path);
  currentMap = nextMap->CopyMap();
  ClearNPCList();
  ClearMissileList();
  return NoResult;
}

int LUA_KillPlayer(lua_State*) { return NoResult; }

int LUA_EndGame(lua_State*) { return NoResult; }
