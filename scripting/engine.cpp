// The script engine: one Lua 5.1 state, protected runs, calls of script-defined functions.
//
// Lua is the C++ build, so its errors are C++ exceptions that unwind our frames; its headers
// declare the API extern "C" themselves and must not be wrapped again.
#include "scripting/engine.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/globals.h"
#include "platform/files/files.h"
#include "platform/system/app.h"
#include "scripting/limits.h"

#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>

namespace {

const char* const kNotStarted = "LuaScriptEngine: Engine is not started";
const char* const kNoScript = "LuaScriptEngine: No script text to execute";

// Game text reaches Lua up to its first NUL byte.
void PushText(lua_State* L, const std::string& s) { lua_pushstring(L, s.c_str()); }

// Lua text reaches the game up to its first NUL byte.
std::string FromLua(const char* s) { return s ? std::string(s) : std::string(); }

// Records an error of the engine's own (number 0); the failed operation's result, 0.
int Refuse(TLuaScriptEngine& engine, const char* message) {
  engine.m_lastErrorString = message;
  engine.m_lastErrorNumber = 0;
  return 0;
}

// The result of a load or protected call: 1 on success, else the error recorded and 0.
int Outcome(TLuaScriptEngine& engine, int status) {
  if (status == 0) return 1;
  engine.ProcessError(status);
  return 0;
}

// Loads the file as luaL_loadfile would (a first line beginning with "#" is left out, its line
// still counted), but read through the files module: an ordinary file, never a FIFO that
// would block. The quest's scripts are its author's program: they have no bound on their
// size (a saved game's script, from the user folder, is read by the sandbox within one).
// The chunk goes by `name` in Lua's messages. The status, with the chunk or the error
// message on the stack.
int LoadScriptFile(lua_State* L, const std::string& path, const std::string& name) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    const std::string why = ReadFailure(path);
    lua_pushfstring(L, "cannot open %s: %s", name.c_str(), why.c_str());
    return LUA_ERRFILE;
  }
  size_t start = 0;
  if (!bytes.empty() && bytes[0] == '#') {
    while (start < bytes.size() && bytes[start] != '\n') ++start;
  }
  const std::string chunkName = "@" + name;
  return luaL_loadbuffer(L, reinterpret_cast<const char*>(bytes.data()) + start,
                         bytes.size() - start, chunkName.c_str());
}

// A protected call of the quest's own code: no budget, the whole library (also when a saved
// game's script, through a command, is what runs it).
int TrustedCall(lua_State* L, int args, int results, int handler) {
  const TRunScope run(L, nullptr);
  return lua_pcall(L, args, results, handler);
}

// The error value on top of the stack, as text for a report.
std::string ErrorText(lua_State* L) {
  if (lua_isstring(L, -1)) return FromLua(lua_tostring(L, -1));
  return std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
}

// The message handler of script runs: it leaves the error value as it is and adds the script
// frames of the stack, innermost first, to the lines that its upvalue points to. The frames
// of commands and other native functions are left out.
int TraceScriptFrames(lua_State* L) {
  constexpr int kMostFrames = 20;
  auto& trace = *static_cast<std::vector<std::string>*>(lua_touserdata(L, lua_upvalueindex(1)));
  lua_Debug ar;
  int shown = 0;
  for (int level = 1; lua_getstack(L, level, &ar); ++level) {
    lua_getinfo(L, "Snl", &ar);
    if (std::strcmp(ar.what, "Lua") != 0 && std::strcmp(ar.what, "main") != 0) continue;
    if (shown++ == kMostFrames) {
      trace.emplace_back("...");
      break;
    }
    std::string frame = std::string(ar.short_src) + ":" + std::to_string(ar.currentline) + ": in ";
    if (*ar.what == 'm') {
      frame += "main chunk";
    } else if (ar.name) {
      frame += "function '" + std::string(ar.name) + "'";
    } else {
      frame += "function <" + std::string(ar.short_src) + ":" + std::to_string(ar.linedefined) +
               ">";
    }
    trace.push_back(std::move(frame));
  }
  return 1;
}

SE_Parameter& AddParameter(TList<SE_Parameter>& list, int type) {
  auto p = std::make_shared<SE_Parameter>();
  p->m_paramType = type;
  list.AddLast(p);
  return *p;
}

}  // namespace

// Lua would cut a whole path short in its messages.
std::string ScriptName(const std::string& path) {
  for (const std::string* folder : {&baseAppDir, &baseHomeDir}) {
    if (folder->empty()) continue;
    const std::string prefix = *folder + "/";
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0)
      return path.substr(prefix.size());
  }
  return path;
}

TLuaScriptEngine::TLuaScriptEngine() { Reset(); }

TLuaScriptEngine::~TLuaScriptEngine() { TLuaScriptEngine::ShutDown(); }

int TLuaScriptEngine::Reset() {
  if (m_lua_state) {
    CloseLimitedState(m_lua_state);
    m_lua_state = nullptr;
  }
  m_lua_state = OpenLimitedState();
  if (!m_lua_state) {
    m_started = 0;
    return 0;
  }
  // The io, os, package and debug libraries stay closed.
  static const lua_CFunction libs[] = {luaopen_base, luaopen_table, luaopen_string, luaopen_math};
  for (lua_CFunction open : libs) {
    lua_pushcfunction(m_lua_state, open);
    lua_call(m_lua_state, 0, 0);
  }
  lua_settop(m_lua_state, 0);
  m_started = 1;
  return 0;
}

int TLuaScriptEngine::ReturnStringToLua(const std::string& s) {
  if (m_started) PushText(m_lua_state, s);
  return 0;
}

int TLuaScriptEngine::ReturnNumberToLua(double value) {
  if (m_started) lua_pushnumber(m_lua_state, value);
  return 0;
}

int TLuaScriptEngine::ReturnBooleanToLua(int flag) {
  if (m_started) lua_pushboolean(m_lua_state, flag != 0);
  return 0;
}

int TLuaScriptEngine::AddFunction(lua_CFunction fn, const std::string& name) {
  if (m_started) lua_register(m_lua_state, name.c_str(), fn);
  return 0;
}

int TLuaScriptEngine::BeginLUAFunctionCall() {
  m_paramList.Clear();
  m_resultType = -1;
  m_resultString.clear();
  m_resultNumber = 0;
  m_resultBoolean = 0;
  return 0;
}

std::string TLuaScriptEngine::CheckString(int index) {
  return FromLua(luaL_checkstring(m_lua_state, index));
}

double TLuaScriptEngine::CheckNumber(int index) {
  return luaL_checknumber(m_lua_state, index);
}

int TLuaScriptEngine::CheckBoolean(int index) { return luaL_checkint(m_lua_state, index); }

int TLuaScriptEngine::AddStringParameter(const std::string& s) {
  AddParameter(m_paramList, 1).m_valueString = s;
  return 0;
}

int TLuaScriptEngine::AddNumberParameter(double value) {
  AddParameter(m_paramList, 0).m_valueNumber = value;
  return 0;
}

int TLuaScriptEngine::AddBooleanParameter(int flag) {
  AddParameter(m_paramList, 2).m_valueBoolean = flag;
  return 0;
}

int TLuaScriptEngine::CallFunction(const std::string& name, int nResults) {
  if (!m_started) return Refuse(*this, kNotStarted);
  lua_State* L = m_lua_state;
  // One result is the most the engine reads; asking for more would leave values behind.
  nResults = nResults != 0 ? 1 : 0;
  lua_getglobal(L, name.c_str());
  int count = 0;
  for (const auto& p : m_paramList) {
    switch (p->m_paramType) {
      case 0: lua_pushnumber(L, p->m_valueNumber); break;
      case 1: PushText(L, p->m_valueString); break;
      default: lua_pushboolean(L, p->m_valueBoolean != 0); break;
    }
    ++count;
  }
  if (!Outcome(*this, TrustedCall(L, count, nResults, 0))) return 0;
  if (nResults) {
    if (lua_isnumber(L, -1)) {
      m_resultType = 0;
      m_resultNumber = lua_tonumber(L, -1);
    } else if (lua_isboolean(L, -1)) {
      m_resultType = 2;
      m_resultBoolean = lua_toboolean(L, -1) ? 1 : 0;
    } else if (lua_isstring(L, -1)) {
      m_resultType = 1;
      m_resultString = FromLua(lua_tostring(L, -1));
    }
    lua_pop(L, 1);
  }
  return 1;
}

int TLuaScriptEngine::GetResultType() { return m_resultType; }
double TLuaScriptEngine::GetResultNumber() { return m_resultNumber; }
int TLuaScriptEngine::GetResultBoolean() { return m_resultBoolean; }
std::string TLuaScriptEngine::GetResultString() { return m_resultString; }

// Every caller runs this right after a failed load or protected call, which leaves exactly
// the error value on top of what the stack held before. Taking that one value off restores
// the stack of the current level: at the outermost level it is then empty, and inside a
// command (a nested run) the command's frame and whatever called it stay intact, also when
// the command was called from a coroutine.
int TLuaScriptEngine::ProcessError(int code) {
  lua_State* L = m_lua_state;
  m_lastErrorString = lua_isstring(L, -1) ? FromLua(lua_tostring(L, -1)) : std::string();
  m_lastErrorNumber = code;
  if (lua_gettop(L) > 0) lua_pop(L, 1);
  return 0;
}

int TLuaScriptEngine::SetScriptText(const std::string& text, const std::string&) {
  m_source.clear();
  if (!m_started) return Refuse(*this, kNotStarted);
  const char* chunk = text.c_str();
  if (!Outcome(*this, luaL_loadbuffer(m_lua_state, chunk, std::strlen(chunk), chunk))) return 0;
  m_source = text;
  return 1;
}

// A failure is also said on standard error: Lua's message, and for a run-time error the
// script frames that led to it, each script named as the quest knows it.
int TLuaScriptEngine::RunScriptFile(const std::string& path) {
  if (!m_started) return Refuse(*this, kNotStarted);
  lua_State* L = m_lua_state;
  // Loading is the quest's own work too: it never counts against a saved game's budget.
  const TRunScope run(L, nullptr);
  const int loaded = LoadScriptFile(L, path, ScriptName(path));
  if (loaded != 0) {
    WriteError("Could not load the script " + path + ": " + ErrorText(L));
    return Outcome(*this, loaded);
  }
  std::vector<std::string> trace;
  lua_pushlightuserdata(L, &trace);
  lua_pushcclosure(L, TraceScriptFrames, 1);
  lua_insert(L, -2);  // below the chunk
  const int handler = lua_gettop(L) - 1;
  const int status = lua_pcall(L, 0, 0, handler);
  lua_remove(L, handler);
  if (status != 0) WriteError("Error in the script " + path + ": " + ErrorText(L), trace);
  return Outcome(*this, status);
}

int TLuaScriptEngine::RunScript() {
  if (!m_started) return Refuse(*this, kNotStarted);
  // The compiled chunk is consumed by its run; without one there is nothing to call.
  if (m_source.empty() || !lua_isfunction(m_lua_state, -1)) return Refuse(*this, kNoScript);
  return Outcome(*this, TrustedCall(m_lua_state, 0, 0, 0));
}

std::string TLuaScriptEngine::GetLastErrorString() { return m_lastErrorString; }
int TLuaScriptEngine::GetLastErrorNumber() { return m_lastErrorNumber; }

int TLuaScriptEngine::ShutDown() {
  if (m_lua_state) CloseLimitedState(m_lua_state);
  m_lua_state = nullptr;
  m_started = 0;
  return 0;
}

int TLuaScriptEngine::Started() { return m_started; }
