#pragma once
// Process-wide services: the application title, fatal errors and the end of the program (here);
// the clock, the random generator, TList and text helpers in the headers beside this one.
#include <string>
#include <vector>

// The application and window title.
extern std::string AppTitle;

// Writes the text as one line to standard error, and after it each of `indented` on a line
// of its own behind a tab, at once. The texts may carry any file's or script's bytes: every
// control character (ESC, BEL, CR, DEL, C1 codes such as 0x9B, raw or in their UTF-8 form)
// and every byte that is not part of well-formed UTF-8 is written as \xHH, so that none
// reaches a terminal as a control; printable ASCII and UTF-8 characters from U+00A0 up stay
// as they are. The tabs and line ends are the function's own.
void WriteError(const std::string& text, const std::vector<std::string>& indented = {});
// Writes the message to standard error and ends the process with exit status -1, closing the
// display and audio first.
[[noreturn]] void RuntimeError(const std::string& message);
// Ends the process with exit status 0, closing the display and audio first.
[[noreturn]] void End();

// The program's own way out, run when a signal ends the program: SIGTERM, SIGHUP, or a SIGINT
// while the terminate request of an earlier one is unanswered. Without one (null), End() is
// run; a handler that returns leaves the program running with the signals cleared.
void SetQuitHandler(void (*handler)());
// The terminate request has been answered (the exit question said "No"): the next SIGINT
// asks again instead of ending the program.
void AnswerTerminateRequest();
// Acts at once on a signal that ends the program, as the event pump would: for long work that
// takes no events, such as a running script. A first SIGINT is left for the pump to ask about.
void ActOnTerminationSignals();

// Brings the platform modules up (timers, events, audio drivers). Idempotent.
void PlatformInit();
