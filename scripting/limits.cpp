// The limits of the Lua state: the counting allocator, the count hook and the run scopes.
//
// Lua is the C++ build: an error raised in the hook unwinds to the run's protected call.
#include "scripting/limits.h"

#include <cstdlib>
#include <vector>

#include "platform/system/app.h"
#include "platform/system/clock.h"

#include <lauxlib.h>
#include <lua.h>

namespace {

// Lua instructions between two looks at the signals and, in an untrusted run, the budget: an
// untrusted instruction may take a fraction of a millisecond (on a long string), so its run
// is looked at more often.
constexpr int kHookInterval = 1000;
constexpr int kUntrustedHookInterval = 100;

// The bookkeeping of one state, its allocator's user data.
struct TLimits {
  size_t used = 0;                 // bytes the state holds
  int runs = 0;                    // runs in progress; the ceiling holds only while one runs
  bool refused = false;            // the ceiling refused an allocation since the last collection
  TScriptBudget* budget = nullptr;  // the innermost run's; null for trusted code
};

// Registry keys: the empty string, kept so that the strings' metatable can be reached without
// making a string, and that metatable, kept while untrusted code runs without it.
char emptyStringKey;
char stringMethodsKey;

TLimits& LimitsOf(lua_State* L) {
  void* limits = nullptr;
  lua_getallocf(L, &limits);
  return *static_cast<TLimits*>(limits);
}

void* Allocate(void* ud, void* block, size_t oldSize, size_t newSize) {
  TLimits& limits = *static_cast<TLimits*>(ud);
  if (newSize == 0) {
    std::free(block);
    limits.used -= oldSize;
    return nullptr;
  }
  if (newSize > oldSize && limits.runs > 0) {
    const size_t growth = newSize - oldSize;
    if (limits.used + growth > kStateMemoryCeiling) {
      limits.refused = true;
      return nullptr;
    }
    if (TScriptBudget* budget = limits.budget) {
      if (growth > budget->bytes) {
        budget->outOfMemory = true;
        return nullptr;
      }
      budget->bytes -= growth;
    }
  }
  void* moved = std::realloc(block, newSize);
  if (moved) limits.used = limits.used - oldSize + newSize;
  return moved;
}

void CountHook(lua_State* L, lua_Debug*) {
  ActOnTerminationSignals();
  TScriptBudget* budget = LimitsOf(L).budget;
  if (!budget) return;
  budget->instructions -= kUntrustedHookInterval;
  if (budget->instructions < 0) luaL_error(L, "the script ran past its budget of instructions");
  if (ThreadCpuMicros() > budget->cpuDeadline) {
    budget->outOfTime = true;
    luaL_error(L, "the script ran past its budget of time");
  }
}

void SetCountHook(lua_State* L, bool untrusted) {
  lua_sethook(L, CountHook, LUA_MASKCOUNT, untrusted ? kUntrustedHookInterval : kHookInterval);
}

void PushRegistryValue(lua_State* L, void* key) {
  lua_pushlightuserdata(L, key);
  lua_rawget(L, LUA_REGISTRYINDEX);
}

// Opens or closes every string's way to the string library (its metatable's __index) without
// allocating: both registry entries exist from the state's start.
void SetStringMethods(lua_State* L, bool open) {
  PushRegistryValue(L, &emptyStringKey);
  if (open) {
    PushRegistryValue(L, &stringMethodsKey);
    if (!lua_istable(L, -1)) {
      lua_pop(L, 1);
      lua_pushnil(L);
    }
  } else {
    lua_pushlightuserdata(L, &stringMethodsKey);
    if (!lua_getmetatable(L, -2)) lua_pushboolean(L, 0);
    lua_rawset(L, LUA_REGISTRYINDEX);
    lua_pushnil(L);
  }
  lua_setmetatable(L, -2);
  lua_pop(L, 1);
}

// The states left open because they were running code when closed: reachable to the end.
std::vector<lua_State*>& AbandonedStates() {
  static auto* states = new std::vector<lua_State*>;
  return *states;
}

}  // namespace

lua_State* OpenLimitedState() {
  auto* limits = new TLimits;
  lua_State* L = lua_newstate(Allocate, limits);
  if (!L) {
    delete limits;
    return nullptr;
  }
  lua_pushlightuserdata(L, &emptyStringKey);
  lua_pushstring(L, "");
  lua_rawset(L, LUA_REGISTRYINDEX);
  lua_pushlightuserdata(L, &stringMethodsKey);
  lua_pushboolean(L, 0);
  lua_rawset(L, LUA_REGISTRYINDEX);
  SetCountHook(L, false);
  return L;
}

void CloseLimitedState(lua_State* L) {
  TLimits* limits = &LimitsOf(L);
  lua_Debug frame;
  if (limits->runs > 0 || lua_getstack(L, 0, &frame)) {
    AbandonedStates().push_back(L);
    return;
  }
  lua_close(L);
  delete limits;
}

TRunScope::TRunScope(lua_State* L, TScriptBudget* budget) : L_(L) {
  TLimits& limits = LimitsOf(L);
  outer_ = limits.budget;
  if (!outer_ != !budget) {
    SetStringMethods(L, budget == nullptr);
    SetCountHook(L, budget != nullptr);
  }
  limits.budget = budget;
  ++limits.runs;
}

TRunScope::~TRunScope() {
  TLimits& limits = LimitsOf(L_);
  if (!outer_ != !limits.budget) {
    SetStringMethods(L_, outer_ == nullptr);
    SetCountHook(L_, outer_ != nullptr);
  }
  limits.budget = outer_;
  // A state near its ceiling may hold garbage that Lua would collect only past it (its next
  // cycle starts at twice what it kept): a run that hit the ceiling, or the last run when
  // the state holds over half of it, has the garbage collected. The collection may resize
  // the string table: it is the state's own work, never refused.
  const int runs = --limits.runs;
  if (limits.refused || (runs == 0 && limits.used > kStateMemoryCeiling / 2)) {
    limits.refused = false;
    limits.runs = 0;
    lua_gc(L_, LUA_GCCOLLECT, 0);
    limits.runs = runs;
  }
}
