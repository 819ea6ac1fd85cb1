#pragma once
// The script engine over the game's one Lua 5.1 state, held to the limits of
// scripting/limits.h; saved games' scripts run in the sandbox of scripting/sandbox.h.
#include <string>
#include "platform/system/list.h"

struct lua_State;
typedef int (*lua_CFunction)(lua_State*);

class SE_Parameter {
public:
  int m_paramType = 0;  // 0 number, 1 string, 2 boolean
  double m_valueNumber = 0;
  std::string m_valueString;
  int m_valueBoolean = 0;
};

class TLuaScriptEngine {
public:
  TLuaScriptEngine();
  // Closes the state.
  virtual ~TLuaScriptEngine();

  int m_started = 0;
  std::string m_source;
  std::string m_lastErrorString;
  int m_lastErrorNumber = 0;
  lua_State* m_lua_state = nullptr;
  TList<SE_Parameter> m_paramList;
  std::string m_resultString;
  double m_resultNumber = 0;
  int m_resultBoolean = 0;
  int m_resultType = -1;

  virtual int Reset();
  virtual int ReturnStringToLua(const std::string& s);
  virtual int ReturnNumberToLua(double value);
  virtual int ReturnBooleanToLua(int flag);
  virtual int AddFunction(lua_CFunction fn, const std::string& name);
  virtual int BeginLUAFunctionCall();
  virtual std::string CheckString(int index);
  virtual double CheckNumber(int index);
  virtual int CheckBoolean(int index);
  virtual int AddStringParameter(const std::string& s);
  virtual int AddNumberParameter(double value);
  virtual int AddBooleanParameter(int flag);
  virtual int CallFunction(const std::string& name, int nResults);
  virtual int GetResultType();
  virtual double GetResultNumber();
  virtual int GetResultBoolean();
  virtual std::string GetResultString();
  virtual int ProcessError(int code);
  virtual int SetScriptText(const std::string& text, const std::string& name);
  virtual int RunScriptFile(const std::string& path);
  virtual int RunScript();
  virtual std::string GetLastErrorString();
  virtual int GetLastErrorNumber();
  virtual int ShutDown();
  virtual int Started();
};

// The name a script goes by in Lua's messages and tracebacks: its path inside the quest's
// resource folder ("Triggers/setup.lua"), or inside the user folder for a save script; any
// other path as it stands.
std::string ScriptName(const std::string& path);
