// Credits: the keys that close them, the events they ignore. Splash: fade counts on its own
// 60 Hz timer, skipping, and what reaches the game meanwhile.
#include <memory>

#include "core/game.h"
#include "core/globals.h"
#include "platform/display/display.h"
#include "platform/system/clock.h"
#include "screen_fixture.h"
#include "screens/screens.h"
#include "support/dialog_frame.h"

namespace {

constexpr uint32_t kCredits = 0x3070A0, kPicture = 0x80C040;

class Credits : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    imgCredits = testsupport::ColourImage(200, 100, 0xFF000000 | kCredits);
  }
};

TEST_F(Credits, CloseOnConfirmAndCancelKeysOnly) {
  settings->kEnter = 69;
  settings->kExit = 81;
  for (int key : {69, 81, kReturn, kEscape}) {
    SCOPED_TRACE(key);
    PostEvent(EVENT_KEYDOWN, 65);
    PostEvent(EVENT_MOUSEDOWN, 1);
    PostEvent(EVENT_WINDOWCLOSE);
    PostEvent(EVENT_KEYDOWN, key);
    int result = -1;
    EXPECT_TRUE(Runs(DisplayCredits, &result));
    EXPECT_EQ(result, 0);
  }
  EXPECT_EQ(Pixel(0, 0), kCredits);
  EXPECT_EQ(Pixel(200, 0), kBackground);
}

TEST_F(Credits, KeyReleasesDoNotReachTheGame) {
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  EXPECT_FALSE(Runs(DisplayCredits));
  EXPECT_EQ(keyHeld[3], 1);
}

class Splash : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    UseManualClock(0);
    TPixmapPtr pixels = CreatePixmap(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) WritePixel(pixels, x, y, 0xFF000000 | kPicture);
    ASSERT_TRUE(SavePixmapPNG(pixels, settings->imageDir + "splash.png"));
  }
  void TearDown() override {
    ScreenTest::TearDown();
    SetClockSource(nullptr);
  }
  // Runs the splash with the clock moving 16 ms on each empty poll (at most one tick of a
  // 60 Hz timer each time); `action` runs once frame `atFrame` has been shown, while the
  // tick of the next frame is already queued.
  long Run(int seconds, int noSkip, long atFrame = -1, std::function<void()> action = {}) {
    const long start = FlipCount();
    long polls = 0;
    SetEventPump([&] {
      if (++polls > 100000) throw QueueDrained{};
      if (action && FlipCount() - start == atFrame) {
        action();
        action = {};
      }
      AdvanceManualClock(16);
    });
    EXPECT_TRUE(Runs([&] { return DisplaySplash("splash.png", seconds, noSkip); }));
    return FlipCount() - start;
  }
};

TEST_F(Splash, RunsFadeHoldAndFadeOutTicks) {
  const struct {
    int seconds;
    long frames;
  } cases[] = {{0, 39}, {-3, 39}, {1, 98}, {2, 158}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(Run(c.seconds, 1), c.frames);
    EXPECT_EQ(Pixel(320, 240), kBlack);  // the last frame shows the cleared picture
  }
}

TEST_F(Splash, FadesInFromBlackAndHoldsThePicture) {
  uint32_t first = 1, held = 1, fadingOut = 1;
  Run(1, 1, 1, [&] { first = Pixel(320, 240); });
  Run(1, 1, 20, [&] { held = Pixel(320, 240); });
  Run(1, 1, 80, [&] { fadingOut = Pixel(320, 240); });  // cover alpha 0.05
  EXPECT_EQ(first, kBlack);
  EXPECT_EQ(held, kPicture);
  EXPECT_NE(fadingOut, kPicture);
  EXPECT_NE(fadingOut, kBlack);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(GetAlpha(), 1.0f);
  EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(Splash, TalkKeySkipsUnlessForbidden) {
  settings->kEnter = 69;
  // Return is not the talk key here: it does not skip.
  EXPECT_EQ(Run(1, 0, 5, [] { PostEvent(EVENT_KEYDOWN, kReturn); }), 98);
  EXPECT_EQ(Run(1, 0, 30, [] { PostEvent(EVENT_KEYDOWN, 69); }), 32);
  EXPECT_EQ(Pixel(320, 240), kBlack);
  EXPECT_EQ(GetAlpha(), 1.0f);
  EXPECT_EQ(Run(1, 1, 30, [] { PostEvent(EVENT_KEYDOWN, 69); }), 98);
}

TEST_F(Splash, AHugeHoldDoesNotWrapAround) {
  // 71582789 seconds are 2^32 + 44 ticks, which 32 bits would hold for 44 ticks.
  for (int seconds : {71582789, 2147483647}) {
    SCOPED_TRACE(seconds);
    uint32_t shown = 0;
    const long frames = Run(seconds, 0, 1000, [&] {
      shown = Pixel(320, 240);
      PostEvent(EVENT_KEYDOWN, settings->kEnter);
    });
    EXPECT_EQ(shown, kPicture);  // still held after 1000 frames, until skipped
    EXPECT_EQ(frames, 1002);
  }
}

TEST_F(Splash, OtherTimersDoNotAdvanceItAndKeyReleasesReachTheGame) {
  settings->kLeft = 1;  // a mouse button
  HoldRight();
  GetKeyDown(1);
  const TTimerPtr other = CreateTimer(60);
  EXPECT_EQ(Run(0, 1, 3, [] {
              PostEvent(EVENT_KEYUP, settings->kRight);
              PostEvent(EVENT_MOUSEUP, 1);
            }),
            39);
  StopTimer(other);
  // Right was let go; the button's release was dropped.
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(keyHeld[2], 1);
  EXPECT_EQ(player->speedX, -player->walkSpeed);
  ReleaseHeldKeys();
}

TEST_F(Splash, MissingPictureFadesABlackScreen) {
  const long start = FlipCount();
  long polls = 0;
  SetEventPump([&] {
    if (++polls > 100000) throw QueueDrained{};
    AdvanceManualClock(16);
  });
  EXPECT_TRUE(Runs([] { return DisplaySplash("missing.png", 0, 1); }));
  EXPECT_EQ(FlipCount() - start, 39);
}

}  // namespace
