// Script commands that steer the NPCs of the current map, which scripts address by name.
#include <cmath>
#include <cstdint>
#include <functional>

#include "core/game.h"
#include "core/globals.h"
#include "platform/system/clock.h"
#include "platform/system/text.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "world/missile.h"
#include "world/update.h"

namespace {

// Calls action on every NPC bearing the name, in list order. The walk survives NPCs being
// removed or appended meanwhile (scripts the action runs, or the action itself).
void ForEachNamed(const std::string& name, const std::function<void(TActor&)>& action) {
  for (const auto& npc : npcList) {
    if (npc && npc->name == name) action(*npc);
  }
}

// A getter or poll: the value of the last NPC bearing the name, or no value when none does.
int ReturnLastNamed(lua_State* L, const std::string& name,
                    const std::function<double(TActor&)>& field) {
  bool found = false;
  double value = 0;
  ForEachNamed(name, [&](TActor& npc) {
    found = true;
    value = field(npc);
  });
  return found ? ReturnNumber(L, value) : NoResult;
}

// The commands that turn every NPC bearing the name toward, after or away from the player.
int ActOnPlayer(lua_State* L, int (TActor::*act)(const TActor&)) {
  TScriptArgs args(L, 1);
  std::string name = args.String(1);
  if (!player) return NoResult;
  ForEachNamed(name, [act](TActor& npc) { (npc.*act)(*player); });
  return NoResult;
}

// The coordinate getters: "_player" names the player.
int ReturnCoordinate(lua_State* L, float TActor::*coordinate) {
  TScriptArgs args(L, 1);
  std::string name = args.String(1);
  if (name == "_player") return player ? ReturnNumber(L, (*player).*coordinate) : NoResult;
  return ReturnLastNamed(L, name, [coordinate](TActor& npc) { return npc.*coordinate; });
}

int ReturnField(lua_State* L, int TActor::*field) {
  TScriptArgs args(L, 1);
  std::string name = args.String(1);
  return ReturnLastNamed(L, name, [field](TActor& npc) { return npc.*field; });
}

int SetField(lua_State* L, int TActor::*field) {
  TScriptArgs args(L, 2);
  std::string name = args.String(1);
  int32_t value = args.Int(2);
  ForEachNamed(name, [&](TActor& npc) { npc.*field = value; });
  return NoResult;
}

// Fires the NPC's primary item's missile with the given speed, and its sound.
void FireNPCMissile(const TActor& npc, float speedX, float speedY) {
  const TItem& item = *npc.primary;
  AddMissile(item.ammoImage, npc.X, npc.Y, speedX, speedY, 1, item.damageRating,
             item.missileRange, item.missileRotationDiff);
  if (item.sound >= 0) PlaySoundEffect(item.sound);
}

}  // namespace

int LUA_AddMissile(lua_State* L) {
  TScriptArgs args(L, 1);
  std::string name = args.String(1);
  ForEachNamed(name, [](TActor& npc) {
    if (!npc.primary) return;
    float s = static_cast<float>(FloatToInt(npc.primary->missileSpeed));
    float speedX = 0, speedY = 0;
    switch (npc.facing) {
      case 0: speedY = -s; break;
      case 1: speedY = s; break;
      case 2: speedX = -s; break;
      case 3: speedX = s; break;
      default: break;
    }
    FireNPCMissile(npc, speedX, speedY);
  });
  return NoResult;
}

int LUA_AddSpecialMissile(lua_State* L) {
  TScriptArgs args(L, 3);
  std::string name = args.String(1);
  int32_t targetX = args.Int(2);
  int32_t targetY = args.Int(3);
  ForEachNamed(name, [&](TActor& npc) {
    if (!npc.primary) return;
    float dx = static_cast<float>(targetX) - npc.X;
    float dy = static_cast<float>(targetY) - npc.Y;
    if (dx == 0 && dy == 0) return;
    float n = std::fabs(dx) + std::fabs(dy);
    float speed = npc.primary->missileSpeed;
    FireNPCMissile(npc, dx / n * speed, dy / n * speed);
  });
  return NoResult;
}

int LUA_AddNPC(lua_State* L) {
  TScriptArgs args(L, 4);
  int32_t type = args.Int(1);
  std::string name = args.String(2);
  int32_t x = args.Int(3);
  int32_t y = args.Int(4);
  if (type < 0 || static_cast<size_t>(type) >= npcType.size() || !npcType[type]) return NoResult;
  AddNPC(type, static_cast<float>(x), static_cast<float>(y), name);
  return NoResult;
}

int LUA_AvoidPlayer(lua_State* L) { return ActOnPlayer(L, &TActor::AvoidActor); }

int LUA_FacePlayer(lua_State* L) { return ActOnPlayer(L, &TActor::FaceActor); }

int LUA_FollowPlayer(lua_State* L) { return ActOnPlayer(L, &TActor::FollowActor); }

int LUA_GetActorX(lua_State* L) { return ReturnCoordinate(L, &TActor::X); }

int LUA_GetActorY(lua_State* L) { return ReturnCoordinate(L, &TActor::Y); }

int LUA_GetMoveCurrent(lua_State* L) { return ReturnField(L, &TActor::moveCurrent); }

int LUA_GetMoveGoal(lua_State* L) { return ReturnField(L, &TActor::moveGoal); }

int LUA_MoveActor(lua_State* L) {
  TScriptArgs args(L, 4);
  std::string name = args.String(1);
  int32_t x = args.Int(2);
  int32_t y = args.Int(3);
  int32_t goal = args.Int(4);
  // A 0 keeps the NPC's own coordinate on that axis.
  ForEachNamed(name, [&](TActor& npc) {
    npc.moveToX = x != 0 ? x : FloatToInt(npc.X);
    npc.moveToY = y != 0 ? y : FloatToInt(npc.Y);
    npc.moveGoal = goal;
  });
  return NoResult;
}

int LUA_RemoveActor(lua_State* L) {
  TScriptArgs args(L, 1);
  std::string name = args.String(1);
  ForEachNamed(name, [](TActor& npc) { npcList.Remove(&npc); });
  return NoResult;
}

int LUA_SetAttitude(lua_State* L) { return SetField(L, &TActor::attitude); }

int LUA_SetMoveCurrent(lua_State* L) { return SetField(L, &TActor::moveCurrent); }

int LUA_SetMoveGoal(lua_State* L) { return SetField(L, &TActor::moveGoal); }

int LUA_SetMovement(lua_State* L) { return SetField(L, &TActor::movement); }

// Arms the NPC's timer (result 1), polls it while armed (1), or disarms it once the clock
// has passed the deadline (0). Never blocks.
int LUA_Wait(lua_State* L) {
  TScriptArgs args(L, 2);
  std::string name = args.String(1);
  int32_t ms = args.Int(2);
  return ReturnLastNamed(L, name, [&](TActor& npc) {
    int32_t now = MilliSecs();
    if (npc.waitUntil == 0) {
      npc.waitUntil = static_cast<float>(static_cast<int64_t>(now) + ms);
      return 1.0;
    }
    if (static_cast<double>(npc.waitUntil) >= static_cast<double>(now)) return 1.0;
    npc.waitUntil = 0;
    return 0.0;
  });
}
