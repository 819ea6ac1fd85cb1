#pragma once
// The command table and the trigger runner.
#include <string>

// Resets the engine's state and registers the 58 script commands.
int InitLUA();
// Runs the script of trigger n when 1 <= n < the length of `Trigger`.
int RunTrigger(int n);

// One call sequence of a script-defined function with one argument and one result asked
// for (how the game calls "setCurrentNPC", "setCurrentAttitude" and "setTriggerDirection").
// 1 when the call succeeded; a function the scripts do not define fails silently with 0.
int CallScriptFunction(const std::string& name, const std::string& argument);
int CallScriptFunction(const std::string& name, double argument);
