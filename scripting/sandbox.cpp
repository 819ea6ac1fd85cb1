// The save scripts' sandbox: the file read as text, compiled into an environment of its own
// and run against the stand-ins, both held to the save scripts' budget; then the work.
#include "scripting/sandbox.h"

#include <chrono>
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/user_files.h"
#include "platform/files/files.h"
#include "platform/system/app.h"
#include "platform/system/clock.h"
#include "scripting/engine.h"
#include "scripting/limits.h"

#include <lauxlib.h>
#include <lua.h>

namespace {

// A save script that SaveGame writes is three lines of some 100 bytes; compiling and running
// it takes 14 instructions, about 2 KB and some microseconds. The limits leave room for any
// save many times over, and end any other script within a fraction of a second: the time is
// looked at every 100 instructions, and the memory limit keeps each of them short.
constexpr long kMostInstructions = 1000000;
constexpr size_t kMostMemory = size_t{1} << 20;
constexpr std::chrono::milliseconds kMostTime{100};

// The commands that SaveGame writes into a save script: all that a save script can call.
struct TSaveCommand {
  const char* name;
  TCommandWork (*ask)(lua_State* L);
};
constexpr TSaveCommand kSaveCommands[] = {
    {"AddPlayer", AskAddPlayer}, {"GoToMap", AskGoToMap}, {"PlayMusic", AskPlayMusic}};
constexpr size_t kCommandCount = std::size(kSaveCommands);

// One run of a script against the stand-ins: what it asked for so far.
struct TTrial {
  const std::string& text;
  std::string name;
  std::vector<TCommandWork>& work;
  bool called[kCommandCount] = {};
  const char* calledAgain = nullptr;  // the command that the script called a second time
};

// The stand-in of save command k (upvalue 2) in a trial (upvalue 1): its arguments read as
// the command reads them, the work they ask for noted. A second call asks for more than a
// save does: the run ends there.
int StandIn(lua_State* L) {
  auto& trial = *static_cast<TTrial*>(lua_touserdata(L, lua_upvalueindex(1)));
  const auto k = static_cast<size_t>(lua_tointeger(L, lua_upvalueindex(2)));
  if (trial.called[k]) {
    trial.calledAgain = kSaveCommands[k].name;
    return luaL_error(L, "a second call of %s", kSaveCommands[k].name);
  }
  trial.called[k] = true;
  trial.work.push_back(kSaveCommands[k].ask(L));
  return 0;
}

// Run in a protected call: compiles the text, gives it an environment of its own that holds
// the stand-ins alone, and runs it.
int RunTrial(lua_State* L) {
  auto& trial = *static_cast<TTrial*>(lua_touserdata(L, 1));
  if (luaL_loadbuffer(L, trial.text.data(), trial.text.size(), trial.name.c_str()) != 0)
    return lua_error(L);
  lua_createtable(L, 0, static_cast<int>(kCommandCount));
  for (size_t k = 0; k < kCommandCount; ++k) {
    lua_pushlightuserdata(L, &trial);
    lua_pushinteger(L, static_cast<lua_Integer>(k));
    lua_pushcclosure(L, StandIn, 2);
    lua_setfield(L, -2, kSaveCommands[k].name);
  }
  lua_setfenv(L, -2);
  lua_call(L, 0, 0);
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

// Why the trial failed, from what stopped it; Lua's error is on top of the stack.
std::string Failure(lua_State* L, const TTrial& trial, const TScriptBudget& budget) {
  if (trial.calledAgain) {
    return "it calls " + std::string(trial.calledAgain) +
           " more than once, and a save calls each of its commands once";
  }
  if (budget.outOfMemory) {
    return "it needs more than the " + std::to_string(kMostMemory) +
           " bytes of memory that a save script may use";
  }
  if (budget.outOfTime) {
    return "it runs longer than the " + std::to_string(kMostTime.count()) +
           " ms of processor time that a save script may take";
  }
  if (budget.instructions < 0) {
    return "it runs longer than the " + std::to_string(kMostInstructions) +
           " instructions that a save script may run";
  }
  return lua_isstring(L, -1) ? lua_tostring(L, -1) : "(the error is no text)";
}

}  // namespace

bool TSaveScript::Load(const std::string& path) {
  work_.clear();
  std::string text;
  std::string why = engine_.Started() ? ReadText(path, text) : "the script engine is not started";
  if (why.empty()) {
    TScriptBudget budget{kMostInstructions, kMostMemory,
                         ThreadCpuMicros() + kMostTime.count() * 1000};
    TTrial trial{text, "@" + ScriptName(path), work_};
    lua_State* L = engine_.m_lua_state;
    int status = 0;
    {
      const TRunScope run(L, &budget);
      status = lua_cpcall(L, RunTrial, &trial);
    }
    if (status == 0) return true;
    why = Failure(L, trial, budget);
    engine_.ProcessError(status);
    work_.clear();
  }
  WriteError("Could not load the save script " + path + ": " + why);
  return false;
}

void TSaveScript::Run() {
  const std::vector<TCommandWork> work = std::move(work_);
  work_.clear();
  for (const TCommandWork& command : work) command();
}
