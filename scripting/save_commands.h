#pragma once
// The three commands that a saved game's script is made of, each split in two: reading its
// arguments from the call (with the errors of the command itself) gives the work the call asks
// for. The command does that work at once; a load does it once the script has run whole.
#include <functional>

struct lua_State;

using TCommandWork = std::function<void()>;

TCommandWork AskAddPlayer(lua_State* L);
TCommandWork AskGoToMap(lua_State* L);
TCommandWork AskPlayMusic(lua_State* L);
