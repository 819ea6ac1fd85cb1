#include "support/lua_run.h"

#include <lauxlib.h>
#include <lua.h>

#include "core/globals.h"
#include "scripting/commands.h"
#include "scripting/engine.h"
#include "support/files.h"

lua_State* ScriptState() {
  if (!lua || !lua->Started()) InitLUA();
  return lua->m_lua_state;
}

std::string LuaTempPath(const std::string& name) { return testsupport::TestDir("lua") + "/" + name; }

std::string WriteLuaFile(const std::string& name, const std::string& text) {
  std::string path = LuaTempPath(name);
  testsupport::WriteFileBytes(path, text);
  return path;
}

int RunLua(const std::string& text) {
  ScriptState();
  return lua->RunScriptFile(WriteLuaFile("snippet.lua", text));
}

std::string LuaGlobal(const std::string& name) {
  lua_State* L = ScriptState();
  lua_getglobal(L, "tostring");
  lua_getglobal(L, name.c_str());
  lua_call(L, 1, 1);
  std::string out = lua_tostring(L, -1);
  lua_pop(L, 1);
  return out;
}

double LuaNumber(const std::string& name) {
  lua_State* L = ScriptState();
  lua_getglobal(L, name.c_str());
  double value = lua_isnumber(L, -1) ? lua_tonumber(L, -1) : 0;
  lua_pop(L, 1);
  return value;
}
