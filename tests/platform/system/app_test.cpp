#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/system/app.h"
#include "platform/system/clock.h"
#include "platform/system/internal.h"

TEST(PlatformApp, RuntimeErrorPrintsMessageAndExitsMinusOne) {
  EXPECT_EXIT(RuntimeError("Could not create the folder."), testing::ExitedWithCode(255),
              "^Could not create the folder\\.\n$");
}

// Error lines carry bytes from files and scripts: a control (C0, DEL, C1 such as the CSI 0x9B
// or its UTF-8 form C2 9B) and every byte outside well-formed UTF-8 (a lone, cut-off or
// overlong sequence, a surrogate) is shown as \xHH; printable ASCII and UTF-8 characters (a
// player's name in a path) stay as they are; the tabs and line ends are the line's own.
TEST(PlatformApp, ErrorLinesShowControlsAndBrokenBytesEscaped) {
  const struct {
    std::string text;
    std::vector<std::string> indented;
    std::string written;
  } cases[] = {
      {"plain ~ text: \\ \"quoted\"", {}, "plain ~ text: \\ \"quoted\"\n"},
      {std::string("\x1B]0;t\x07 \r\n\t\x00\x7F", 12), {},
       "\\x1B]0;t\\x07 \\x0D\\x0A\\x09\\x00\\x7F\n"},
      {"\x9B" "2J \xC2\x9B" "2J \xC2\x80 \xFF", {}, "\\x9B2J \\xC2\\x9B2J \\xC2\\x80 \\xFF\n"},
      {"/home/zo\xC3\xAB/\xE2\x82\xAC \xF0\x9F\x97\xBA \xC2\xA0", {},
       "/home/zo\xC3\xAB/\xE2\x82\xAC \xF0\x9F\x97\xBA \xC2\xA0\n"},
      {"\xC3 \xE2\x82 \xC0\xAF \xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE9t\xE9", {},
       "\\xC3 \\xE2\\x82 \\xC0\\xAF \\xE0\\x80\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 \\xE9t\\xE9\n"},
      {"first", {"a:1: in \x1B[8m", ""}, "first\n\ta:1: in \\x1B[8m\n\t\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    WriteError(c.text, c.indented);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.written);
  }
}

TEST(PlatformApp, EndRunsShutdownCallbacksNewestFirstAndExitsZero) {
  EXPECT_EXIT(
      {
        AddShutdownCallback([] { std::fputs("display\n", stderr); });
        AddShutdownCallback([] { std::fputs("audio\n", stderr); });
        int gone = AddShutdownCallback([] { std::fputs("removed\n", stderr); });
        RemoveShutdownCallback(gone);
        End();
      },
      testing::ExitedWithCode(0), "^audio\ndisplay\n$");
}

TEST(PlatformApp, ShutdownCallbacksRunOnce) {
  std::vector<int> ran;
  AddShutdownCallback([&] { ran.push_back(1); });
  RunShutdownCallbacks();
  RunShutdownCallbacks();
  EXPECT_EQ(ran, std::vector<int>{1});
}

namespace {

int quits = 0;
void CountQuit() { ++quits; }

}  // namespace

// SIGTERM and SIGHUP end the program; a SIGINT asks (an application-terminate request) unless
// an earlier one is still unanswered, and a second one before any answer ends the program.
TEST(PlatformApp, SignalsAskOrEnd) {
  PlatformInit();
  PlatformInit();
  SetQuitHandler(CountQuit);
  const struct {
    const char* name;
    std::vector<int> signals;
    bool answeredBefore;
    bool asks;
    int quits;
  } cases[] = {
      {"SIGTERM ends", {SIGTERM}, true, false, 1},
      {"SIGHUP ends", {SIGHUP}, true, false, 1},
      {"a first SIGINT asks", {SIGINT}, true, true, 0},
      {"a SIGINT before the answer ends", {SIGINT}, false, false, 1},
      {"two SIGINTs at once end", {SIGINT, SIGINT}, true, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    quits = 0;
    if (c.answeredBefore) AnswerTerminateRequest();
    for (int sig : c.signals) std::raise(sig);
    EXPECT_EQ(TakeTerminationRequest(), c.asks);
    EXPECT_EQ(quits, c.quits);
    EXPECT_FALSE(TakeTerminationRequest());  // every signal is acted on once
  }
  AnswerTerminateRequest();
  SetQuitHandler(nullptr);
}

TEST(PlatformApp, WithoutAQuitHandlerASignalEnds) {
  EXPECT_EXIT(
      {
        PlatformInit();
        std::raise(SIGTERM);
        TakeTerminationRequest();
      },
      testing::ExitedWithCode(0), "");
}

// A long pause of the program does not hold up the end that a signal asks for.
TEST(PlatformApp, DelayObeysASignalThatEnds) {
  EXPECT_EXIT(
      {
        PlatformInit();
        SetClockSource(nullptr, nullptr);  // the real clock
        SetQuitHandler([] { std::_Exit(7); });
        std::raise(SIGTERM);
        Delay(600000);
      },
      testing::ExitedWithCode(7), "");
}
