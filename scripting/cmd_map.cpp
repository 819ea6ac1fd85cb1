// Script commands that edit a map: the one in play ("_current"), in memory, or the working
// copy of any map in the working folder, read and written back on every call.
#include <cstdint>
#include <functional>

#include "core/globals.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "transitions/map_path.h"

namespace {

// Applies edit to the named map. edit returns whether it changed anything; a working copy
// is written back only then.
void EditMap(const std::string& map, const std::function<bool(TMap&)>& edit) {
  if (map == "_current") {
    if (currentMap) edit(*currentMap);
    return;
  }
  if (!MapNameInWorkingFolder(map)) return;
  std::string path = settings->tempDir + map;
  TMapPtr copy = TMap::Create();
  copy->LoadMap(path);
  if (edit(*copy)) copy->SaveMap(path, 0);
}

// The ground and feature layers share their two fields.
int SetLayerCell(lua_State* L, TMapTile (TMap::*layer)[MAP_WIDTH][MAP_HEIGHT]) {
  TScriptArgs args(L, 5);
  std::string map = args.String(1);
  int32_t x = args.Int(2);
  int32_t y = args.Int(3);
  int32_t tileID = args.Int(4);
  uint8_t walkability = args.Byte(5);
  if (!InMap(x, y)) return NoResult;
  EditMap(map, [&](TMap& m) {
    TMapTile& cell = (m.*layer)[x][y];
    cell.tileID = tileID;
    cell.walkability = walkability;
    return true;
  });
  return NoResult;
}

int SetMapTrigger(lua_State* L, int32_t TMap::*field) {
  TScriptArgs args(L, 2);
  std::string map = args.String(1);
  int32_t trigger = args.Int(2);
  EditMap(map, [&](TMap& m) {
    m.*field = trigger;
    return true;
  });
  return NoResult;
}

}  // namespace

int LUA_SetTile(lua_State* L) { return SetLayerCell(L, &TMap::mapTile); }

int LUA_SetFeature(lua_State* L) { return SetLayerCell(L, &TMap::mapFeature); }

// mode 1 sets the cell whatever it holds, mode 0 only a cell without a trigger, any other
// mode nothing.
int LUA_SetObject(lua_State* L) {
  TScriptArgs args(L, 8);
  std::string map = args.String(1);
  int32_t x = args.Int(2);
  int32_t y = args.Int(3);
  int32_t tileID = args.Int(4);
  uint8_t walkability = args.Byte(5);
  int32_t trigger = args.Int(6);
  uint8_t interaction = args.Byte(7);
  int32_t mode = args.Int(8);
  if (!InMap(x, y) || (mode != 0 && mode != 1)) return NoResult;
  EditMap(map, [&](TMap& m) {
    TObject& cell = m.mapObject[x][y];
    if (mode == 0 && cell.trigger != 0) return false;
    cell.tileID = tileID;
    cell.walkability = walkability;
    cell.trigger = trigger;
    cell.interaction = interaction;
    return true;
  });
  return NoResult;
}

int LUA_SetOverlay(lua_State* L) {
  TScriptArgs args(L, 6);
  std::string map = args.String(1);
  int32_t x = args.Int(2);
  int32_t y = args.Int(3);
  int32_t tileID = args.Int(4);
  uint8_t walkability = args.Byte(5);
  float alpha = args.Real(6);
  if (!InMap(x, y)) return NoResult;
  EditMap(map, [&](TMap& m) {
    TOverlay& cell = m.mapOverlay[x][y];
    cell.tileID = tileID;
    cell.walkability = walkability;
    cell.alpha = alpha;
    return true;
  });
  return NoResult;
}

int LUA_SetEntryTrigger(lua_State* L) { return SetMapTrigger(L, &TMap::mapEntryTrigger); }

int LUA_SetClearTrigger(lua_State* L) { return SetMapTrigger(L, &TMap::mapClearTrigger); }

int LUA_SetExitTrigger(lua_State* L) { return SetMapTrigger(L, &TMap::mapExitTrigger); }
