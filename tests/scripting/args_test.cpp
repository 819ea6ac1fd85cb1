// The argument rules of the script commands, through probe commands read by TScriptArgs,
// and scripts nesting on the one state.
#include <gtest/gtest.h>
#include <lua.h>

#include "scripting/args.h"
#include "scripting/engine.h"
#include "support/lua_run.h"

#include "core/globals.h"

namespace {

int ProbeInt(lua_State* L) {
  TScriptArgs args(L, 1);
  return ReturnNumber(L, args.Int(1));
}
int ProbeByte(lua_State* L) {
  TScriptArgs args(L, 1);
  return ReturnNumber(L, args.Byte(1));
}
int ProbeReal(lua_State* L) {
  TScriptArgs args(L, 1);
  return ReturnNumber(L, args.Real(1));
}
// Two declared arguments: a string, then an int.
int ProbePair(lua_State* L) {
  TScriptArgs args(L, 2);
  std::string s = args.String(1);
  int32_t n = args.Int(2);
  return ReturnString(L, s + "|" + std::to_string(n));
}
int ProbeNothing(lua_State* L) {
  TScriptArgs args(L, 1);
  args.Int(1);
  return NoResult;
}
int ProbeFlag(lua_State* L) { return ReturnBoolean(L, TScriptArgs(L, 1).Int(1) != 0); }
// Runs a script file on the engine's state from inside a command.
int ProbeRun(lua_State* L) {
  std::string path = TScriptArgs(L, 1).String(1);
  lua->RunScriptFile(path);
  return NoResult;
}

int destroyed = 0;
struct Guard {
  ~Guard() { ++destroyed; }
};
// An argument error raised while a C++ object lives in the command's frame.
int ProbeGuarded(lua_State* L) {
  Guard guard;
  return ReturnNumber(L, TScriptArgs(L, 1).Int(1));
}

class ScriptArgsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ScriptState();
    const std::pair<lua_CFunction, const char*> probes[] = {
        {ProbeInt, "ProbeInt"},         {ProbeByte, "ProbeByte"}, {ProbeReal, "ProbeReal"},
        {ProbePair, "ProbePair"},       {ProbeNothing, "ProbeNothing"},
        {ProbeFlag, "ProbeFlag"},       {ProbeRun, "ProbeRun"},
        {ProbeGuarded, "ProbeGuarded"},
    };
    for (const auto& [fn, name] : probes) lua->AddFunction(fn, name);
  }
  void TearDown() override { EXPECT_EQ(lua_gettop(ScriptState()), 0); }
};

struct Case {
  const char* call;
  const char* result;  // tostring of the value; null: the script ends at the call
};

TEST_F(ScriptArgsTest, ValuesCheckAndConvertByTheRules) {
  const Case cases[] = {
      {"ProbeInt(10)", "10"},
      {"ProbeInt(2.9)", "2"},
      {"ProbeInt(-2.9)", "-2"},
      {"ProbeInt('7')", "7"},
      {"ProbeInt(' 0x10 ')", "16"},
      {"ProbeInt(5, 10)", "10"},
      {"ProbeInt({}, 'x', 3)", "3"},
      {"ProbeInt(0/0)", "0"},
      {"ProbeInt(1e300)", "2147483647"},
      {"ProbeInt(-1e300)", "-2147483648"},
      {"ProbeInt()", nullptr},
      {"ProbeInt(nil)", nullptr},
      {"ProbeInt(true)", nullptr},
      {"ProbeInt({})", nullptr},
      {"ProbeInt('abc')", nullptr},
      {"ProbeInt(3, 'abc')", nullptr},
      {"ProbeByte(256)", "0"},
      {"ProbeByte(-1)", "255"},
      {"ProbeByte(257.9)", "1"},
      {"ProbeReal(0.5)", "0.5"},
      {"ProbeReal(0.1)", "0.10000000149012"},
      {"ProbePair('a', 3)", "a|3"},
      {"ProbePair(7, '8')", "7|8"},
      {"ProbePair(1.5, 2)", "1.5|2"},
      {"ProbePair(1, 2, 'x', 4)", "x|4"},
      {"ProbePair(5)", nullptr},
      {"ProbePair({}, 5)", nullptr},
      {"ProbePair(false, 5)", nullptr},
      {"ProbeFlag(0)", "false"},
      {"ProbeFlag(2)", "true"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    int ok = RunLua(std::string("r = 'unset' r = tostring(") + c.call + ") after = 1");
    if (c.result) {
      EXPECT_EQ(ok, 1) << lua->GetLastErrorString();
      EXPECT_EQ(LuaGlobal("r"), c.result);
      EXPECT_EQ(LuaGlobal("after"), "1");
    } else {
      EXPECT_EQ(ok, 0);
      EXPECT_EQ(lua->GetLastErrorNumber(), 2);
      EXPECT_EQ(LuaGlobal("r"), "unset");
    }
    RunLua("after = nil");
  }
}

TEST_F(ScriptArgsTest, AnArgumentErrorNamesThePlaceOfTheValueInTheCall) {
  const std::pair<const char*, std::string> cases[] = {
      {"GiveGold('x')", "bad argument #1 to 'GiveGold' (number expected, got string)"},
      {"GiveGold(5, 'x')", "bad argument #2 to 'GiveGold' (number expected, got string)"},
      {"GiveGold()", "bad argument #1 to 'GiveGold' (value expected)"},
      {"ProbePair({}, 5)", "bad argument #1 to 'ProbePair' (string expected, got table)"},
      {"ProbePair(1, 2, 'x', 'y')", "bad argument #4 to 'ProbePair' (number expected, got string)"},
  };
  for (const auto& [call, message] : cases) {
    SCOPED_TRACE(call);
    ASSERT_EQ(RunLua(call), 0);
    const std::string error = lua->GetLastErrorString();
    EXPECT_TRUE(error.ends_with(":1: " + message)) << error;
  }
}

TEST_F(ScriptArgsTest, ACommandWithoutResultGivesNoValue) {
  ASSERT_EQ(RunLua("n = select('#', ProbeNothing(1)) m = select('#', ProbeInt(1))"), 1);
  EXPECT_EQ(LuaNumber("n"), 0);
  EXPECT_EQ(LuaNumber("m"), 1);
}

TEST_F(ScriptArgsTest, AnArgumentErrorUnwindsTheCommandsFrame) {
  destroyed = 0;
  EXPECT_EQ(RunLua("ProbeGuarded({})"), 0);
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ScriptArgsTest, AFailingInnerScriptEndsAlone) {
  std::string inner = WriteLuaFile("inner.lua", "x = 1 ProbeInt({}) y = 1");
  ASSERT_EQ(RunLua("x, y, b = nil ProbeRun('" + inner + "') b = 2"), 1);
  EXPECT_EQ(LuaGlobal("x"), "1");
  EXPECT_EQ(LuaGlobal("y"), "nil");
  EXPECT_EQ(LuaGlobal("b"), "2");
}

TEST_F(ScriptArgsTest, CommandsInsideCoroutinesUseTheirOwnStack) {
  std::string inner = WriteLuaFile("inner2.lua", "z = ProbeInt(4) error('inner fails')");
  ASSERT_EQ(RunLua("co = coroutine.create(function(a) local v = ProbeInt(a) ProbeRun('" + inner +
                   "') coroutine.yield(v) return ProbeInt(a + 1) end) "
                   "ok1, v1 = coroutine.resume(co, 5) ok2, v2 = coroutine.resume(co) "
                   "ok3 = coroutine.resume(coroutine.create(function() ProbeInt({}) end)) done = 1"),
            1)
      << lua->GetLastErrorString();
  EXPECT_EQ(LuaGlobal("z"), "4");
  EXPECT_EQ(LuaGlobal("ok1") + LuaGlobal("v1"), "true5");
  EXPECT_EQ(LuaGlobal("ok2") + LuaGlobal("v2"), "true6");
  EXPECT_EQ(LuaGlobal("ok3"), "false");
  EXPECT_EQ(LuaGlobal("done"), "1");
}

TEST_F(ScriptArgsTest, NestingStopsAtLuasLimitAndTheOuterRunsFinish) {
  std::string self = LuaTempPath("self.lua");
  WriteLuaFile("self.lua", "depth = depth + 1 ProbeRun('" + self + "') after = after + 1");
  ASSERT_EQ(RunLua("depth, after = 0, 0 ProbeRun('" + self + "') finished = 1"), 1);
  // The run that would pass Lua's limit of 200 nested calls fails; every run begun finishes.
  EXPECT_GT(LuaNumber("depth"), 150);
  EXPECT_LT(LuaNumber("depth"), 200);
  EXPECT_EQ(LuaNumber("after"), LuaNumber("depth"));
  EXPECT_EQ(LuaGlobal("finished"), "1");
  EXPECT_NE(lua->GetLastErrorString(), "");
}

}  // namespace
