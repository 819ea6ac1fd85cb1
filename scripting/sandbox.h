#pragma once
// Saved games come from other players, so a save script is untrusted: it is read as text
// (a precompiled chunk is refused), compiled and run with stand-ins of the script commands
// that a save is made of and nothing else: no library, no string methods, no way to files,
// other code or the interpreter, and a budget of instructions, memory and time far above any
// real save. The stand-ins only note the work each call asks for, and a save asks for each
// command once: the whole script has run, and been refused when it asked for more, before
// any of that work is done. The work is the commands' own; the quest's scripts that it runs
// (the triggers of GoToMap) run as in play.
#include <string>
#include <vector>

#include "scripting/save_commands.h"

class TLuaScriptEngine;

class TSaveScript {
public:
  explicit TSaveScript(TLuaScriptEngine& engine) : engine_(engine) {}
  TSaveScript(const TSaveScript&) = delete;
  TSaveScript& operator=(const TSaveScript&) = delete;

  // Reads the script, compiles it and runs it against the stand-ins: true when it is text,
  // compiles, runs to its end within the budget and calls each command once at most.
  // Otherwise standard error says why, naming the file, and nothing of the game has changed.
  bool Load(const std::string& path);
  // Does the work that the script asked for, in the order it asked, once.
  void Run();

private:
  TLuaScriptEngine& engine_;
  std::vector<TCommandWork> work_;
};
