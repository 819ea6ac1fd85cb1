// The command table and the trigger runner.
#include "scripting/commands.h"

#include "core/globals.h"
#include "scripting/command_list.h"
#include "scripting/engine.h"

int InitLUA() {
  if (!lua) lua = std::make_unique<TLuaScriptEngine>();
  lua->Reset();
#define CORVEL_REGISTER_COMMAND(name) lua->AddFunction(LUA_##name, #name);
  CORVEL_SCRIPT_COMMANDS(CORVEL_REGISTER_COMMAND)
#undef CORVEL_REGISTER_COMMAND
  return 0;
}

int RunTrigger(int n) {
  if (!lua || !settings) return 0;
  if (n < 1 || static_cast<size_t>(n) >= Trigger.size()) return 0;
  // An empty line of the trigger table names no script: a trigger without one, by design.
  const std::string& script = Trigger[static_cast<size_t>(n)];
  if (!script.empty()) lua->RunScriptFile(settings->triggerDir + script);
  return 0;
}

int CallScriptFunction(const std::string& name, const std::string& argument) {
  if (!lua) return 0;
  lua->BeginLUAFunctionCall();
  lua->AddStringParameter(argument);
  return lua->CallFunction(name, 1);
}

int CallScriptFunction(const std::string& name, double argument) {
  if (!lua) return 0;
  lua->BeginLUAFunctionCall();
  lua->AddNumberParameter(argument);
  return lua->CallFunction(name, 1);
}
