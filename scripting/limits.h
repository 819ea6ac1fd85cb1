#pragma once
// The game's one Lua state under limits: its allocator keeps the whole state within a memory
// ceiling while scripts run, and a count hook acts on the signals that end the program while
// a script runs (every 1000 instructions) and holds an untrusted run to a budget of its own
// (every 100).
#include <cstddef>
#include <cstdint>

struct lua_State;

// The most memory the whole state may hold while a script runs. An allocation past it fails
// as any lack of memory does: the running script stops with Lua's memory error.
constexpr size_t kStateMemoryCeiling = size_t{128} << 20;

// What an untrusted run may still spend: Lua instructions, bytes allocated, and processor
// time. The time counts because an instruction's cost grows with its operands (comparing or converting
// a long string): instructions alone do not bound it.
struct TScriptBudget {
  long instructions = 0;
  size_t bytes = 0;
  int64_t cpuDeadline = 0;   // ThreadCpuMicros() past which the run stops
  bool outOfMemory = false;  // an allocation was refused because the bytes ran out
  bool outOfTime = false;    // the run was stopped at its deadline
};

// A fresh state under the limits, its count hook set; null when there is no memory for one.
lua_State* OpenLimitedState();
// Closes a state that OpenLimitedState made. A state that is running code (the program ends
// from inside a script, whose frames are never returned to) is left open until the process
// ends instead.
void CloseLimitedState(lua_State* L);

// One protected run, from just before its call to just after it: the innermost run is this
// one, trusted (no budget: the quest's own scripts) or held to `budget` (a saved game's
// script). The string methods are reachable from trusted runs only. After a run that hit
// the memory ceiling the garbage is collected, so that the state can go on.
class TRunScope {
public:
  TRunScope(lua_State* L, TScriptBudget* budget);
  ~TRunScope();
  TRunScope(const TRunScope&) = delete;
  TRunScope& operator=(const TRunScope&) = delete;

private:
  lua_State* L_;
  TScriptBudget* outer_;
};
