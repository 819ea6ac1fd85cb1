#pragma once
// Saved games come from other players, so a save script is untrusted: it is read as text
// (a precompiled chunk is refused), and compiled and run with the script commands that a
// save is made of and nothing else: no library, no string methods, no way to files, other
// code or the interpreter, and a budget of instructions and memory far above any real save.
// The quest's own scripts that its commands run (the triggers of GoToMap) run as in play.
#include <string>

#include "scripting/limits.h"

class TLuaScriptEngine;

class TSaveScript {
public:
  explicit TSaveScript(TLuaScriptEngine& engine) : engine_(engine) {}
  // Lets go of a script that was compiled but not run.
  ~TSaveScript();
  TSaveScript(const TSaveScript&) = delete;
  TSaveScript& operator=(const TSaveScript&) = delete;

  // Reads the script and compiles it in the sandbox: true when it is text and compiles.
  // Otherwise standard error says why, naming the file, and nothing has run.
  bool Load(const std::string& path);
  // Runs what Load compiled, once: true when it ran to its end. Otherwise standard error says
  // why, naming the file; what it did before it stopped stays done.
  bool Run();

private:
  // Why the compile or the run with that status failed; the error is taken off the stack.
  std::string Failure(int status);

  TLuaScriptEngine& engine_;
  std::string path_;
  TScriptBudget budget_;  // for compiling and running together
  bool compiled_ = false;
  int chunk_ = 0;  // the compiled script's reference in the registry, while compiled
};
