#pragma once
// The command table and the trigger runner.

// Resets the engine's state and registers the 58 script commands.
int InitLUA();
// Runs the script of trigger n when 1 <= n < the length of `Trigger`.
int RunTrigger(int n);
