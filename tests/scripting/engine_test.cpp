// The script engine on a state of its own: results, failures, resets and the stack height.
#include <gtest/gtest.h>
#include <lua.h>

#include <functional>
#include "scripting/engine.h"
#include "support/lua_run.h"

namespace {

class ScriptEngineTest : public ::testing::Test {
protected:
  TLuaScriptEngine engine;
  int Top() { return lua_gettop(engine.m_lua_state); }
  void Define(const std::string& text) {
    ASSERT_EQ(engine.SetScriptText(text, ""), 1);
    ASSERT_EQ(engine.RunScript(), 1);
  }
};

TEST_F(ScriptEngineTest, NewEngineIsStartedAndEmpty) {
  EXPECT_EQ(engine.Started(), 1);
  EXPECT_NE(engine.m_lua_state, nullptr);
  EXPECT_EQ(engine.GetResultType(), -1);
  EXPECT_EQ(Top(), 0);
  // Only the four libraries are open.
  Define("function libs() return tostring(string ~= nil) .. tostring(table ~= nil) .."
         " tostring(math ~= nil) .. tostring(coroutine ~= nil) .. tostring(io) .. tostring(os) .."
         " tostring(package) .. tostring(debug) end");
  engine.BeginLUAFunctionCall();
  ASSERT_EQ(engine.CallFunction("libs", 1), 1);
  EXPECT_EQ(engine.GetResultString(), "truetruetruetruenilnilnilnil");
}

struct ResultCase {
  const char* body;
  int type;
  double number;
  const char* text;
  int boolean;
};

TEST_F(ScriptEngineTest, CallFunctionTakesTheTopResult) {
  const ResultCase cases[] = {
      {"", -1, 0, "", 0},
      {"return '12'", 0, 12, "", 0},
      {"return 3.5", 0, 3.5, "", 0},
      {"return 'abc'", 1, 0, "abc", 0},
      {"return true", 2, 0, "", 1},
      {"return false", 2, 0, "", 0},
      {"return {}", -1, 0, "", 0},
      {"return 4, 'more'", 0, 4, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    Define(std::string("function f() ") + c.body + " end");
    engine.BeginLUAFunctionCall();
    EXPECT_EQ(engine.CallFunction("f", 1), 1);
    EXPECT_EQ(engine.GetResultType(), c.type);
    EXPECT_EQ(engine.GetResultNumber(), c.number);
    EXPECT_EQ(engine.GetResultString(), c.text);
    EXPECT_EQ(engine.GetResultBoolean(), c.boolean);
    EXPECT_EQ(Top(), 0);
  }
}

TEST_F(ScriptEngineTest, ParametersArePassedInOrderAndKeptUntilTheNextBegin) {
  Define("calls = 0 function f(a, b, c) calls = calls + 1 return a .. '|' .. b .. '|' .. tostring(c) end");
  engine.BeginLUAFunctionCall();
  engine.AddStringParameter(std::string("ab\0cd", 5));  // cut at the NUL
  engine.AddNumberParameter(7);
  engine.AddBooleanParameter(1);
  ASSERT_EQ(engine.CallFunction("f", 1), 1);
  EXPECT_EQ(engine.GetResultString(), "ab|7|true");
  ASSERT_EQ(engine.CallFunction("f", 1), 1);  // the same queue again
  EXPECT_EQ(engine.GetResultString(), "ab|7|true");
  engine.BeginLUAFunctionCall();
  EXPECT_EQ(engine.GetResultType(), -1);
  EXPECT_EQ(engine.GetResultString(), "");
  ASSERT_EQ(engine.CallFunction("f", 0), 0);  // a .. nil fails
  EXPECT_EQ(engine.GetLastErrorNumber(), 2);
}

TEST_F(ScriptEngineTest, FailedCallsAreRecordedAndLeaveTheStackEmpty) {
  engine.BeginLUAFunctionCall();
  engine.AddStringParameter("x");
  EXPECT_EQ(engine.CallFunction("undefinedFunction", 1), 0);
  EXPECT_EQ(engine.GetLastErrorNumber(), 2);
  EXPECT_NE(engine.GetLastErrorString(), "");
  EXPECT_EQ(engine.GetResultType(), -1);
  EXPECT_EQ(Top(), 0);

  Define("function bad() error({}) end");
  EXPECT_EQ(engine.CallFunction("bad", 1), 0);
  EXPECT_EQ(engine.GetLastErrorString(), "");  // a table as error value
  EXPECT_EQ(Top(), 0);
}

TEST_F(ScriptEngineTest, RunScriptFileFailuresByKind) {
  struct Case {
    const char* name;
    const char* text;  // null: no file
    int status;
    const char* effect;  // value of global `ran` afterwards
  };
  const Case cases[] = {
      {"missing.lua", nullptr, 6, "nil"},
      {"syntax.lua", "ran = 'yes' if then", 3, "nil"},
      {"halfway.lua", "ran = 'half' error('stop') ran = 'all'", 2, "half"},
      {"fine.lua", "ran = 'all'", 0, "all"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Define("ran = nil");
    std::string path = c.text ? WriteLuaFile(c.name, c.text) : LuaTempPath(c.name);
    EXPECT_EQ(engine.RunScriptFile(path), c.status == 0 ? 1 : 0);
    if (c.status) { EXPECT_EQ(engine.GetLastErrorNumber(), c.status); }
    if (c.status == 6) { EXPECT_NE(engine.GetLastErrorString().find("cannot open"), std::string::npos); }
    Define(std::string("function get() return tostring(ran) end"));
    engine.BeginLUAFunctionCall();
    engine.CallFunction("get", 1);
    EXPECT_EQ(engine.GetResultString(), c.effect);
    EXPECT_EQ(Top(), 0);
  }
}

TEST_F(ScriptEngineTest, ScriptTextCompilesOnceAndRunsOnce) {
  EXPECT_EQ(engine.RunScript(), 0);
  EXPECT_EQ(engine.GetLastErrorString(), "LuaScriptEngine: No script text to execute");
  EXPECT_EQ(engine.SetScriptText("x = ", ""), 0);
  EXPECT_EQ(engine.GetLastErrorNumber(), 3);
  EXPECT_EQ(engine.m_source, "");
  ASSERT_EQ(engine.SetScriptText("x = 1", ""), 1);
  EXPECT_EQ(engine.m_source, "x = 1");
  EXPECT_EQ(engine.RunScript(), 1);
  EXPECT_EQ(engine.RunScript(), 0);  // the chunk was consumed
  EXPECT_EQ(Top(), 0);
}

TEST_F(ScriptEngineTest, ResetForgetsGlobalsAndFunctions) {
  engine.AddFunction([](lua_State* L) { lua_pushnumber(L, 9); return 1; }, "Nine");
  Define("kept = Nine()");
  engine.Reset();
  Define("function get() return tostring(kept) .. tostring(Nine) end");
  engine.BeginLUAFunctionCall();
  engine.CallFunction("get", 1);
  EXPECT_EQ(engine.GetResultString(), "nilnil");
}

TEST_F(ScriptEngineTest, AnEngineThatIsNotStartedFailsEveryRun) {
  engine.ShutDown();
  EXPECT_EQ(engine.Started(), 0);
  EXPECT_EQ(engine.m_lua_state, nullptr);
  engine.AddFunction([](lua_State*) { return 0; }, "Nothing");
  engine.ReturnNumberToLua(1);
  const std::function<int()> runs[] = {
      [&] { return engine.CallFunction("f", 1); },
      [&] { return engine.SetScriptText("x = 1", ""); },
      [&] { return engine.RunScriptFile(LuaTempPath("none.lua")); },
      [&] { return engine.RunScript(); },
  };
  for (const auto& run : runs) {
    engine.m_lastErrorString.clear();
    engine.m_lastErrorNumber = 9;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(engine.GetLastErrorString(), "LuaScriptEngine: Engine is not started");
    EXPECT_EQ(engine.GetLastErrorNumber(), 0);
  }
  engine.Reset();
  EXPECT_EQ(engine.Started(), 1);
}

}  // namespace
