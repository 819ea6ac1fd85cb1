#pragma once
// The 58 script commands, in registration order. Each group lives in its own file:
// cmd_npc.cpp, cmd_player.cpp, cmd_map.cpp, cmd_travel.cpp, cmd_presentation.cpp.
struct lua_State;

#define CORVEL_SCRIPT_COMMANDS(X) \
  X(AddMissile) X(AddSpecialMissile) X(AddNPC) X(AddPlayer) X(AvoidPlayer) X(CheckItem) \
  X(DisplayOptions) X(DisplayOptionsP) X(DisplaySplash) X(DisplayText) X(DisplayTextP) \
  X(DisplayVideo) X(EndGame) X(FacePlayer) X(FollowPlayer) X(GetActor) X(GetActorX) \
  X(GetActorY) X(GetFlag) X(GetMoveCurrent) X(GetMoveGoal) X(GetRandom) X(GetTriggerX) \
  X(GetTriggerY) X(GiveGold) X(GiveItem) X(GiveLife) X(GiveMaxLife) X(GoToMap) X(KillPlayer) \
  X(LockControls) X(MoveActor) X(MovePlayer) X(PlayMusic) X(PlaySound) X(RemoveActor) \
  X(SetAttitude) X(SetClearTrigger) X(SetEntryTrigger) X(SetExitTrigger) X(SetFeature) \
  X(SetFlag) X(SetMoveCurrent) X(SetMoveGoal) X(SetMovement) X(SetObject) X(SetOverlay) \
  X(SetPlayerTile) X(SetPlayerItemAmmoTile) X(SetPlayerItemMeleeTile) X(SetPrimary) \
  X(SetTile) X(Sleep) X(TakeGold) X(TakeItem) X(TakeLife) X(UnlockControls) X(Wait)

#define CORVEL_DECLARE_COMMAND(name) int LUA_##name(lua_State* L);
CORVEL_SCRIPT_COMMANDS(CORVEL_DECLARE_COMMAND)
#undef CORVEL_DECLARE_COMMAND
