// The script commands' argument rules, on the state each command was called with.
#include "scripting/args.h"

#include <lauxlib.h>
#include <lua.h>

#include "platform/system/text.h"

namespace {

// Stack index of declared argument n (1-based) of count, counting back from the last one
// passed, as a position from the bottom of the command's frame: Lua's argument errors name
// that position, the place of the value in the call ("#1" for GiveGold("x")). A call with
// fewer values than declared raises the argument error here, before Lua would read below
// the command's own frame.
int StackIndex(lua_State* L, int n, int count) {
  const int index = lua_gettop(L) + n - count;
  if (index < 1) luaL_argerror(L, n, "value expected");
  return index;
}

}  // namespace

std::string TScriptArgs::String(int n) const {
  return std::string(luaL_checkstring(L, StackIndex(L, n, count)));
}

double TScriptArgs::Number(int n) const { return luaL_checknumber(L, StackIndex(L, n, count)); }

int32_t TScriptArgs::Int(int n) const { return FloatToInt(Number(n)); }

uint8_t TScriptArgs::Byte(int n) const { return static_cast<uint8_t>(Int(n) & 0xFF); }

float TScriptArgs::Real(int n) const { return static_cast<float>(Number(n)); }

int ReturnNumber(lua_State* L, double value) {
  lua_pushnumber(L, value);
  return 1;
}

int ReturnBoolean(lua_State* L, bool value) {
  lua_pushboolean(L, value ? 1 : 0);
  return 1;
}

int ReturnString(lua_State* L, const std::string& value) {
  lua_pushstring(L, value.c_str());
  return 1;
}
