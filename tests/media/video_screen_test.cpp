// The video screen: plays from the image folder until the end or the confirm key, passes
// key releases on, drops every other event, and skips videos it cannot play.
#include <gtest/gtest.h>
#include <filesystem>
#include "core/game.h"
#include "core/globals.h"
#include "media/media.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/events.h"
#include "support/files.h"
#include "support/settings.h"
#include "video_files.h"

namespace {

using namespace mediatest;

class VideoScreen : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string dir = testsupport::ScratchDir("video-screen");
    testsupport::UseQuestSettings(dir);
    std::filesystem::create_directories(settings->imageDir);
    testsupport::WriteFileBytes(settings->imageDir + "intro.ogv", TheoraVideo());
    UseManualClock(0);
    flips_ = FlipCount();
    // Every empty poll lets 2 ms pass and may post the events that the test scripted.
    SetEventPump([this] {
      AdvanceManualClock(2);
      if (script_) script_(FlipCount() - flips_);
    });
    SetClsColor(0, 0, 80);
    Cls();
    FlushEvents();
  }
  void TearDown() override {
    SetEventPump(nullptr);
    SetClockSource(nullptr);
    FlushEvents();
  }
  long Flips() const { return FlipCount() - flips_; }
  // Posts the event once, at the first empty poll after `afterFlips` pictures.
  void At(long afterFlips, int id, int data) {
    auto previous = script_;
    auto sent = std::make_shared<bool>(false);
    script_ = [=](long flips) {
      if (previous) previous(flips);
      if (!*sent && flips >= afterFlips) {
        *sent = true;
        PostEvent(id, data);
      }
    };
  }
  static uint32_t Pixel(int x, int y) { return ReadPixel(BackBuffer(), x, y) & 0xFFFFFF; }
  long flips_ = 0;
  std::function<void(long)> script_;
};

TEST_F(VideoScreen, PlaysToTheEndInTheTopLeftCorner) {
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  EXPECT_EQ(Flips(), 12);  // one flip per picture
  const uint32_t grey = Pixel(0, 0);  // the last picture is grey
  EXPECT_NEAR(static_cast<int>(grey & 0xFF), 128, 8);
  EXPECT_EQ(Pixel(31, 31), grey);
  EXPECT_EQ(Pixel(32, 5), 0x000050u);  // the rest of the screen is left alone
  EXPECT_EQ(Pixel(5, 32), 0x000050u);
}

TEST_F(VideoScreen, TheConfirmKeyEndsItAtTheNextPass) {
  At(2, EVENT_KEYDOWN, settings->kEnter);
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  EXPECT_EQ(Flips(), 2);
}

TEST_F(VideoScreen, OtherKeysClicksAndCloseRequestsAreDropped) {
  PostEvent(EVENT_KEYDOWN, settings->kEnter);  // queued before: flushed on entry
  At(1, EVENT_KEYDOWN, settings->kExit);
  At(2, EVENT_MOUSEDOWN, 1);
  At(3, EVENT_WINDOWCLOSE, 0);
  At(4, EVENT_APPTERMINATE, 0);
  At(5, EVENT_KEYDOWN, 13 + 256);  // not the confirm key, whatever its low byte
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  EXPECT_EQ(Flips(), 12);
}

TEST_F(VideoScreen, TheConfirmKeyIsTheConfiguredOne) {
  settings->kEnter = 32;
  At(1, EVENT_KEYDOWN, 13);
  At(3, EVENT_KEYDOWN, 32);
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  EXPECT_EQ(Flips(), 3);
}

TEST_F(VideoScreen, KeyReleasesReachTheKeyMapping) {
  player = TPlayer::CreatePlayer(0, 0, 0, 0, 0, 0, 1, "Corvel", 6, 6, 0, 6.0f, 1);
  settings->kDown = 1;  // a mouse button
  GetKeyDown(settings->kRight);  // both held when the video began
  GetKeyDown(1);
  ASSERT_EQ(player->speedX, 6);
  At(2, EVENT_KEYUP, settings->kRight);
  At(3, EVENT_KEYDOWN, settings->kLeft);  // a press is not recorded
  At(4, EVENT_MOUSEUP, 1);
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  for (int held : keyHeld) EXPECT_EQ(held, 0);
  EXPECT_EQ(player->speedX, 0);
  EXPECT_EQ(player->speedY, 0);
  player = nullptr;
}

TEST_F(VideoScreen, VideosThatCannotBePlayedAreSkipped) {
  testsupport::WriteFileBytes(settings->imageDir + "broken.ogv", TheoraPages(VideoSpec{})[0]);
  testing::internal::CaptureStderr();
  EXPECT_EQ(DisplayVideo("broken.ogv"), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(DisplayVideo("missing.ogv"), 0);
  EXPECT_EQ(DisplayVideo(""), 0);
  EXPECT_EQ(Flips(), 0);
}

}  // namespace
