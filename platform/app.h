#pragma once
// Process-wide services: the application title, fatal errors and the end of the program.
#include <string>

// The application and window title.
extern std::string AppTitle;

// Writes the message to standard error and ends the process with exit status -1.
[[noreturn]] void RuntimeError(const std::string& message);
// Ends the process with exit status 0, closing the display and audio first.
[[noreturn]] void End();

// Brings the platform modules up (timers, events, audio drivers). Idempotent.
void PlatformInit();
