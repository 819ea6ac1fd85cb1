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

std::string PrecompiledChunk(const std::string& text) {
  lua_State* L = luaL_newstate();
  luaL_loadbuffer(L, text.data(), text.size(), "=chunk");
  std::string chunk;
  lua_dump(
      L,
      [](lua_State*, const void* p, size_t n, void* out) {
        static_cast<std::string*>(out)->append(static_cast<const char*>(p), n);
        return 0;
      },
      &chunk);
  lua_close(L);
  return chunk;
}
