#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/internal.h"

TEST(PlatformApp, RuntimeErrorPrintsMessageAndExitsMinusOne) {
  EXPECT_EXIT(RuntimeError("Could not create the folder."), testing::ExitedWithCode(255),
              "^Could not create the folder\\.\n$");
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

TEST(PlatformApp, PlatformInitIsIdempotentAndSignalsBecomeRequests) {
  PlatformInit();
  PlatformInit();
  EXPECT_FALSE(TakeTerminationRequest());
  std::raise(SIGTERM);
  EXPECT_TRUE(TakeTerminationRequest());
  EXPECT_FALSE(TakeTerminationRequest());
  std::raise(SIGINT);
  EXPECT_TRUE(TakeTerminationRequest());
}
