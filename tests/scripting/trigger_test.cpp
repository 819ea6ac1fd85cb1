// The trigger runner over the fixture quest's trigger table.
#include <lua.h>

#include "scripting/commands.h"
#include "scripting/engine.h"
#include "scripting/script_world.h"
#include "support/lua_run.h"

namespace {

using TriggerRunnerTest = ScriptWorldTest;

TEST_F(TriggerRunnerTest, RunsOnlyTheTableEntries) {
  ASSERT_EQ(Trigger.size(), 10u);  // nine lines and the empty entry 0
  const struct {
    int n;
    const char* moved;  // mover.lua, the last line, counts its runs
    const char* entered;
  } cases[] = {
      {0, "nil", "nil"}, {-1, "nil", "nil"}, {10, "nil", "nil"},
      {9, "1", "nil"},   {5, "nil", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    Reset();
    EXPECT_EQ(RunTrigger(c.n), 0);
    EXPECT_EQ(LuaGlobal("moved"), c.moved);
    EXPECT_EQ(LuaGlobal("entered"), c.entered);
  }
  Trigger.clear();
  RunTrigger(9);
  EXPECT_EQ(LuaGlobal("moved"), "nil");
}

TEST_F(TriggerRunnerTest, FailingAndMissingScriptsEndQuietly) {
  player->gold = 4;
  RunTrigger(6);  // fails at a command without its argument
  EXPECT_EQ(LuaGlobal("before") + LuaGlobal("afterFail"), "1nil");
  EXPECT_EQ(lua->GetLastErrorNumber(), 2);
  EXPECT_EQ(player->gold, 4);
  RunTrigger(7);  // listed, but no such file
  EXPECT_EQ(lua->GetLastErrorNumber(), 6);
  EXPECT_EQ(lua_gettop(ScriptState()), 0);
  // A script goes on after a trigger that it fired has failed.
  gameItem[1]->getTrigger = 6;
  RunLua("before = nil");
  ASSERT_EQ(RunLua("GiveItem(1) GiveGold(2)"), 1);
  EXPECT_EQ(LuaGlobal("before"), "1");
  EXPECT_EQ(player->gold, 6);
}

}  // namespace
