// The script engine on a state of its own: results, failures, resets and the stack height.
#include <gtest/gtest.h>
#include <lua.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include "core/globals.h"
#include "scripting/engine.h"
#include "support/files.h"
#include "support/lua_run.h"

namespace {

// The text with every mention of the file as "@": its whole path, and the path's end after
// "..." that Lua's messages show for a long path.
std::string NamesAsAt(std::string text, const std::string& path) {
  for (size_t at = text.find(path); at != std::string::npos; at = text.find(path, at))
    text.replace(at, path.size(), "@");
  for (size_t at = text.find("..."); at != std::string::npos; at = text.find("...", at + 1)) {
    const size_t end = text.find(':', at);
    const std::string tail = text.substr(at + 3, end - at - 3);
    if (!tail.empty() && path.ends_with(tail)) text.replace(at, end - at, "@");
  }
  return text;
}

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
    const char* said;    // standard error, after the path: "@" stands for the path again
  };
  const Case cases[] = {
      {"missing.lua", nullptr, 6, "nil", ": cannot open @: No such file or directory\n"},
      {"syntax.lua", "ran = 'yes' if then", 3, "nil", ": @:1: unexpected symbol near 'then'\n"},
      {"halfway.lua", "ran = 'half' error('stop') ran = 'all'", 2, "half",
       ": @:1: stop\n\t@:1: in main chunk\n"},
      {"table.lua", "error({})", 2, "nil",
       ": (error object is a table value)\n\t@:1: in main chunk\n"},
      {"fine.lua", "ran = 'all'", 0, "all", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Define("ran = nil");
    std::string path = c.text ? WriteLuaFile(c.name, c.text) : LuaTempPath(c.name);
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine.RunScriptFile(path), c.status == 0 ? 1 : 0);
    const char* const kind = c.status == 2 ? "Error in the script " : "Could not load the script ";
    const std::string said = c.said ? kind + std::string("@") + c.said : "";
    EXPECT_EQ(NamesAsAt(testing::internal::GetCapturedStderr(), path), said);
    if (c.status) { EXPECT_EQ(engine.GetLastErrorNumber(), c.status); }
    if (c.status == 6) { EXPECT_NE(engine.GetLastErrorString().find("cannot open"), std::string::npos); }
    Define(std::string("function get() return tostring(ran) end"));
    engine.BeginLUAFunctionCall();
    engine.CallFunction("get", 1);
    EXPECT_EQ(engine.GetResultString(), c.effect);
    EXPECT_EQ(Top(), 0);
  }
}

// Scripts of the quest folder go by their names there, and a save script by its name in the
// user folder, however deep the folders lie; Lua would cut a long path short.
TEST_F(ScriptEngineTest, ScriptsGoByTheirNamesInTheQuestAndUserFolders) {
  const std::string savedApp = baseAppDir, savedHome = baseHomeDir;
  const std::string root = testsupport::ScratchDir("names");
  baseAppDir = root + "/a/folder/deep/enough/for/lua/to/cut/its/names/short/bin/../Resources";
  baseHomeDir = root + "/home/Documents/Corvel User Data";
  const std::string setup = baseAppDir + "/Triggers/setup.lua";
  const std::string save = baseHomeDir + "/Save/0.A.sav.lua";
  const std::string gone = baseAppDir + "/Triggers/gone.lua";
  const std::string shebang = baseAppDir + "/Triggers/tool.lua";
  std::filesystem::create_directories(baseAppDir + "/../bin");
  std::filesystem::create_directories(baseAppDir + "/Triggers");
  std::filesystem::create_directories(baseHomeDir + "/Save");
  testsupport::WriteFileBytes(setup, "-- set-up\nlocal function give(n)\n  error('no ' .. n)\n"
                                     "end\ngive('gold')\n");
  testsupport::WriteFileBytes(save, "AddPlayer(");
  testsupport::WriteFileBytes(shebang, "#!/usr/bin/lua\nerror('line two')\n");
  const struct {
    std::string path, said;
  } cases[] = {
      {setup, "Error in the script " + setup + ": Triggers/setup.lua:3: no gold\n"
              "\tTriggers/setup.lua:3: in function 'give'\n"
              "\tTriggers/setup.lua:5: in main chunk\n"},
      {save, "Could not load the script " + save +
                 ": Save/0.A.sav.lua:1: unexpected symbol near '<eof>'\n"},
      {gone, "Could not load the script " + gone +
                 ": cannot open Triggers/gone.lua: No such file or directory\n"},
      {shebang, "Error in the script " + shebang + ": Triggers/tool.lua:2: line two\n"
                "\tTriggers/tool.lua:2: in main chunk\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine.RunScriptFile(c.path), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
  }
  EXPECT_EQ(engine.GetLastErrorNumber(), 2);
  EXPECT_EQ(Top(), 0);
  baseAppDir = savedApp;
  baseHomeDir = savedHome;
}

// A quest's script file is read whole whatever its size, never in a way that could block: a
// FIFO is refused at once. A first line for the shell is left out, as Lua leaves it out, and
// still counted.
TEST_F(ScriptEngineTest, ScriptFilesAreReadWholeNeverBlocking) {
  const std::string fifo = LuaTempPath("fifo.lua");
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  alarm(60);  // a read that blocked would hang the test: it ends it instead
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.RunScriptFile(fifo), 0);
  EXPECT_EQ(NamesAsAt(testing::internal::GetCapturedStderr(), fifo),
            "Refused to read @: it is not an ordinary file\n"
            "Could not load the script @: cannot open @: it is not an ordinary file\n");
  EXPECT_EQ(engine.GetLastErrorNumber(), 6);
  alarm(0);
  std::remove(fifo.c_str());

  // Over a megabyte of comment before the line that runs.
  const std::string big =
      WriteLuaFile("big.lua", "--" + std::string(1100000, 'x') + "\nbig = 'ran'");
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.RunScriptFile(big), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  Define("function get() return tostring(big) end");
  engine.BeginLUAFunctionCall();
  engine.CallFunction("get", 1);
  EXPECT_EQ(engine.GetResultString(), "ran");

  const std::string shell = WriteLuaFile("shell.lua", "#!/usr/bin/lua\nran = 'yes'\nerror('here')");
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.RunScriptFile(shell), 0);
  EXPECT_EQ(NamesAsAt(testing::internal::GetCapturedStderr(), shell),
            "Error in the script @: @:3: here\n\t@:3: in main chunk\n");
  Define("function get() return tostring(ran) end");
  engine.BeginLUAFunctionCall();
  engine.CallFunction("get", 1);
  EXPECT_EQ(engine.GetResultString(), "yes");
}

// A script that a command of another script runs fails alone: its line shows its own frames
// and then those of the script that ran it, without the commands between them.
TEST_F(ScriptEngineTest, AFailingNestedScriptShowsTheScriptFramesThatLedToIt) {
  static TLuaScriptEngine* running;
  running = &engine;
  engine.AddFunction(
      [](lua_State* L) {
        running->RunScriptFile(lua_tostring(L, -1));
        return 0;
      },
      "RunFile");
  const std::string inner =
      WriteLuaFile("inner.lua", "local function deeper()\n  error('deep')\nend\ndeeper()\n");
  const std::string outer = WriteLuaFile(
      "outer.lua", "function go()\n  RunFile('" + inner + "')\nend\ngo()\nafter = 1\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.RunScriptFile(outer), 1);
  EXPECT_EQ(NamesAsAt(NamesAsAt(testing::internal::GetCapturedStderr(), inner), outer),
            "Error in the script @: @:2: deep\n"
            "\t@:2: in function 'deeper'\n"
            "\t@:4: in main chunk\n"
            "\t@:2: in function 'go'\n"
            "\t@:4: in main chunk\n");
  Define("function get() return after end");
  engine.BeginLUAFunctionCall();
  engine.CallFunction("get", 1);
  EXPECT_EQ(engine.GetResultNumber(), 1);  // the outer script went on
  EXPECT_EQ(Top(), 0);
}

// No script can take the machine's memory: past the state's ceiling it stops with Lua's
// memory error like any other failure, and once its hoard is let go scripts run as before.
TEST_F(ScriptEngineTest, AScriptStopsAtTheMemoryCeilingAndTheStateGoesOn) {
  const std::string hungry = WriteLuaFile(
      "hungry.lua", "hoard = {} for i = 1, 1e6 do hoard[i] = string.rep('x', 1e6 + i) end");
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.RunScriptFile(hungry), 0);
  EXPECT_EQ(NamesAsAt(testing::internal::GetCapturedStderr(), hungry),
            "Error in the script @: not enough memory\n");
  EXPECT_EQ(engine.GetLastErrorNumber(), LUA_ERRMEM);
  Define("function held() return #hoard end");
  engine.BeginLUAFunctionCall();
  ASSERT_EQ(engine.CallFunction("held", 1), 1);
  EXPECT_GT(engine.GetResultNumber(), 50);  // tens of megabytes, then no more
  EXPECT_LT(engine.GetResultNumber(), 200);

  Define("hoard = nil");
  const std::string fine = WriteLuaFile("fine.lua", "local enough = string.rep('y', 1e7)");
  EXPECT_EQ(engine.RunScriptFile(fine), 1);
  EXPECT_EQ(Top(), 0);
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
