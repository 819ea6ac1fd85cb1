// Script commands on the player, its items, the story flags and the trigger context.
// Until the player exists (the setup script) the commands that reach it do nothing.
#include <cstdint>
#include <limits>

#include "core/globals.h"
#include "platform/system/clock.h"
#include "platform/system/random.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "scripting/save_commands.h"

namespace {

// life and maxLife have no bounds; their sums saturate instead of overflowing.
int32_t SaturatingAdd(int32_t a, int32_t b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

// Sets a tile field in every slot holding the item; the templates keep theirs.
void SetSlotTiles(int32_t itemID, int32_t tile, int TItem::*field) {
  if (!player || !TileAt(tile)) return;
  for (const auto& slot : player->item) {
    if (slot && slot->itemID == itemID) (*slot).*field = tile;
  }
}

// The commands that pass their one number to a player action; nothing before the player exists.
int PlayerAction(lua_State* L, int (TPlayer::*action)(int)) {
  TScriptArgs args(L, 1);
  int32_t value = args.Int(1);
  if (player) ((*player).*action)(value);
  return NoResult;
}

bool FlagIndex(int32_t n) { return n >= 0 && n <= 255; }

}  // namespace

TCommandWork AskAddPlayer(lua_State* L) {
  TScriptArgs args(L, 4);
  const int32_t tile = args.Int(1);
  const int32_t footprint = args.Int(2);
  const int32_t x = args.Int(3);
  const int32_t y = args.Int(4);
  return [=] {
    TTile* sheet = TileAt(tile);
    if (!player || !sheet) return;
    player->tileID = tile;
    player->footprintID = footprint;
    player->X = static_cast<float>(x);
    player->Y = static_cast<float>(y);
    // The drawn frame stays as it is, a saved game's included, until the next step or turn.
    player->frames = sheet->frames / 4;
  };
}

int LUA_AddPlayer(lua_State* L) {
  AskAddPlayer(L)();
  return NoResult;
}

int LUA_CheckItem(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t itemID = args.Int(1);
  if (!player) return NoResult;
  for (const auto& slot : player->item) {
    if (slot && slot->itemID == itemID) return ReturnBoolean(L, true);
  }
  return ReturnBoolean(L, false);
}

int LUA_GetActor(lua_State* L) { return ReturnString(L, targetActor); }

int LUA_GetFlag(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t n = args.Int(1);
  return FlagIndex(n) ? ReturnNumber(L, flags[n]) : NoResult;
}

int LUA_GetRandom(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t upper = args.Int(1);
  return ReturnNumber(L, Rand(upper, 1));
}

int LUA_GetTriggerX(lua_State* L) { return ReturnNumber(L, triggerX); }

int LUA_GetTriggerY(lua_State* L) { return ReturnNumber(L, triggerY); }

int LUA_GiveGold(lua_State* L) { return PlayerAction(L, &TPlayer::GiveGold); }

int LUA_GiveItem(lua_State* L) { return PlayerAction(L, &TPlayer::GiveItem); }

int LUA_GiveLife(lua_State* L) { return PlayerAction(L, &TActor::GiveLife); }

int LUA_GiveMaxLife(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t amount = args.Int(1);
  if (!player) return NoResult;
  player->maxLife = SaturatingAdd(player->maxLife, amount);
  player->life = player->maxLife;
  return NoResult;
}

int LUA_LockControls(lua_State*) {
  lockControls = 1;
  return NoResult;
}

int LUA_MovePlayer(lua_State* L) {
  TScriptArgs args(L, 3);
  int32_t x = args.Int(1);
  int32_t y = args.Int(2);
  int32_t facing = args.Int(3);
  // Facings other than the four (or -1, follow the speed) would name sprite rows that the
  // sheet does not have.
  if (!player || !currentMap || facing < -1 || facing > 3) return NoResult;
  player->MoveActor(static_cast<float>(x), static_cast<float>(y), *currentMap, facing, 1);
  return NoResult;
}

int LUA_SetFlag(lua_State* L) {
  TScriptArgs args(L, 2);
  int32_t n = args.Int(1);
  int32_t value = args.Int(2);
  if (FlagIndex(n) && value >= 0 && value <= 255) flags[n] = static_cast<uint8_t>(value);
  return NoResult;
}

int LUA_SetPlayerTile(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t tile = args.Int(1);
  if (player && TileAt(tile)) player->tileID = tile;
  return NoResult;
}

int LUA_SetPlayerItemAmmoTile(lua_State* L) {
  TScriptArgs args(L, 2);
  int32_t itemID = args.Int(1);
  int32_t tile = args.Int(2);
  SetSlotTiles(itemID, tile, &TItem::ammoImage);
  return NoResult;
}

int LUA_SetPlayerItemMeleeTile(lua_State* L) {
  TScriptArgs args(L, 2);
  int32_t itemID = args.Int(1);
  int32_t tile = args.Int(2);
  SetSlotTiles(itemID, tile, &TItem::meleeImage);
  return NoResult;
}

int LUA_SetPrimary(lua_State* L) { return PlayerAction(L, &TPlayer::SetPrimary); }

int LUA_TakeGold(lua_State* L) {
  TScriptArgs args(L, 1);
  int32_t amount = args.Int(1);
  if (!player) return NoResult;
  return ReturnBoolean(L, player->TakeGold(amount) != 0);
}

int LUA_TakeItem(lua_State* L) {
  TScriptArgs args(L, 2);
  int32_t itemID = args.Int(1);
  int32_t oneUnit = args.Int(2);
  if (!player) return NoResult;
  return ReturnBoolean(L, player->TakeItem(itemID, oneUnit) != 0);
}

int LUA_TakeLife(lua_State* L) { return PlayerAction(L, &TActor::TakeLife); }

int LUA_UnlockControls(lua_State*) {
  lockControls = 0;
  return NoResult;
}
