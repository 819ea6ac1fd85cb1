// The save scripts' sandbox: the file read as text, compiled into an environment of its own
// and run, both held to the save scripts' budget.
#include "scripting/sandbox.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "core/user_files.h"
#include "platform/files/files.h"
#include "platform/system/app.h"
#include "scripting/command_list.h"
#include "scripting/engine.h"

#include <lauxlib.h>
#include <lua.h>

namespace {

// A save script that SaveGame writes is three lines of some 100 bytes; compiling and running
// it takes 14 instructions and about 2 KB. The limits leave room for any save many times over
// and stop any other script within a fraction of a second.
constexpr long kMostInstructions = 1000000;
constexpr size_t kMostMemory = size_t{1} << 20;

// The commands that SaveGame writes into a save script: all that a save script can call.
struct TSaveCommand {
  const char* name;
  lua_CFunction run;
};
constexpr TSaveCommand kSaveCommands[] = {
    {"AddPlayer", LUA_AddPlayer}, {"GoToMap", LUA_GoToMap}, {"PlayMusic", LUA_PlayMusic}};

struct TCompileJob {
  const std::string& text;
  std::string name;
  int chunk = 0;
};

// Run in a protected call: compiles the text, gives it an environment of its own that holds
// the save commands alone, and keeps it in the registry.
int Compile(lua_State* L) {
  auto& job = *static_cast<TCompileJob*>(lua_touserdata(L, 1));
  if (luaL_loadbuffer(L, job.text.data(), job.text.size(), job.name.c_str()) != 0)
    return lua_error(L);
  lua_createtable(L, 0, static_cast<int>(std::size(kSaveCommands)));
  for (const TSaveCommand& command : kSaveCommands) {
    lua_pushcfunction(L, command.run);
    lua_setfield(L, -2, command.name);
  }
  lua_setfenv(L, -2);
  job.chunk = luaL_ref(L, LUA_REGISTRYINDEX);
  return 0;
}

// Reads the script's bytes; empty when they can be compiled, else why not.
std::string ReadText(const std::string& path, std::string& text) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, SCRIPT_FILE_BYTES)) {
    const std::string why = ReadFailure(path, SCRIPT_FILE_BYTES);
    return why.empty() ? "it cannot be read" : why;
  }
  text.assign(bytes.begin(), bytes.end());
  if (!text.empty() && text[0] == LUA_SIGNATURE[0]) return "it is a precompiled chunk, not text";
  return "";
}

}  // namespace

TSaveScript::~TSaveScript() {
  if (compiled_ && engine_.Started()) luaL_unref(engine_.m_lua_state, LUA_REGISTRYINDEX, chunk_);
}

std::string TSaveScript::Failure(int status) {
  lua_State* L = engine_.m_lua_state;
  std::string why;
  if (budget_.outOfMemory) {
    why = "it needs more than the " + std::to_string(kMostMemory) +
          " bytes of memory that a save script may use";
  } else if (budget_.instructions < 0) {
    why = "it runs longer than the " + std::to_string(kMostInstructions) +
          " instructions that a save script may run";
  } else {
    why = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(the error is no text)";
  }
  engine_.ProcessError(status);
  return why;
}

bool TSaveScript::Load(const std::string& path) {
  path_ = path;
  std::string text;
  std::string why = engine_.Started() ? ReadText(path, text) : "the script engine is not started";
  if (why.empty()) {
    budget_ = TScriptBudget{kMostInstructions, kMostMemory};
    TCompileJob job{text, "@" + ScriptName(path)};
    lua_State* L = engine_.m_lua_state;
    int status = 0;
    {
      const TRunScope run(L, &budget_);
      status = lua_cpcall(L, Compile, &job);
    }
    if (status == 0) {
      chunk_ = job.chunk;
      compiled_ = true;
      return true;
    }
    why = Failure(status);
  }
  WriteError("Could not load the save script " + path + ": " + why);
  return false;
}

bool TSaveScript::Run() {
  if (!compiled_ || !engine_.Started()) return false;
  compiled_ = false;
  lua_State* L = engine_.m_lua_state;
  int status = 0;
  {
    const TRunScope run(L, &budget_);
    lua_rawgeti(L, LUA_REGISTRYINDEX, chunk_);
    luaL_unref(L, LUA_REGISTRYINDEX, chunk_);
    status = lua_pcall(L, 0, 0, 0);
  }
  if (status == 0) return true;
  WriteError("Error in the save script " + path_ + ": " + Failure(status));
  return false;
}
