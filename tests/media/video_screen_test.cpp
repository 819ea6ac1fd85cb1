// The video screen: plays from the image folder until the end or the confirm key, passes
// key releases on, drops every other event (mouse-button releases among them), and says why
// it cannot play a video.
#include <gtest/gtest.h>
#include <signal.h>
#include <array>
#include <filesystem>
#include "core/game.h"
#include "core/globals.h"
#include "media/media.h"
#include "music_files.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "platform/system/clock.h"
#include "support/files.h"
#include "support/game_process.h"
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
    VideoSpec intro;
    intro.colour = [](int k, int, int) { return VideoSpec::Numbered(k); };
    testsupport::WriteFileBytes(settings->imageDir + "intro.ogv", TheoraVideo(intro));
    UseManualClock(0);
    flips_ = FlipCount();
    // Every empty poll notes a new picture on the screen, lets 2 ms pass and may post the
    // events that the test scripted.
    SetEventPump([this] {
      if (Flips() > static_cast<long>(shown_.size())) {
        const uint32_t rgb = Pixel(0, 0);
        const unsigned char red[] = {static_cast<unsigned char>(rgb >> 16)};
        shown_.push_back({MilliSecs(), PictureNumber(red)});
      }
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
  std::vector<std::array<int, 2>> shown_;  // per flip: ms, picture
};

TEST_F(VideoScreen, PlaysEachPictureOnTimeInTheTopLeftCorner) {
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  // One flip per picture, each within a pass (2 ms) of its time: every 40 ms from 0.
  ASSERT_EQ(shown_.size(), 12u);
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(shown_[k][1], k);
    EXPECT_GE(shown_[k][0], 40 * k) << k;
    EXPECT_LE(shown_[k][0], 40 * k + 2) << k;
  }
  EXPECT_EQ(Flips(), 12);
  const uint32_t last = Pixel(0, 0);
  EXPECT_EQ(Pixel(31, 31), last);
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

TEST_F(VideoScreen, KeyReleasesReachTheKeyMappingMouseReleasesDoNot) {
  player = TPlayer::CreatePlayer(0, 0, 0, 0, 0, 0, 1, "Corvel", 6, 6, 0, 6.0f, 1);
  settings->kDown = 1;  // a mouse button
  GetKeyDown(settings->kRight);  // both held when the video began
  GetKeyDown(1);
  ASSERT_EQ(player->speedX, 6);
  At(2, EVENT_KEYUP, settings->kRight);
  At(3, EVENT_KEYDOWN, settings->kLeft);  // a press is not recorded
  At(4, EVENT_MOUSEUP, 1);
  EXPECT_EQ(DisplayVideo("intro.ogv"), 0);
  EXPECT_EQ(keyHeld[3] + keyHeld[2], 0);
  EXPECT_EQ(keyHeld[1], 1);  // the button's release was dropped: down is still held
  EXPECT_EQ(player->speedX, 0);
  EXPECT_EQ(player->speedY, 6);
  ReleaseHeldKeys();
  player = nullptr;
}

TEST_F(VideoScreen, VideosThatCannotBePlayedSayWhyAndReturnAtOnce) {
  testsupport::WriteFileBytes(settings->imageDir + "broken.ogv", TheoraPages(VideoSpec{})[0]);
  VideoSpec damaged;
  damaged.corruptHeader = 1;
  testsupport::WriteFileBytes(settings->imageDir + "damaged.ogv", TheoraVideo(damaged));
  testsupport::WriteFileBytes(settings->imageDir + "song.ogg", OggVorbis(1, 22050, 1000));
  const struct {
    const char* file;
    const char* said;  // the decoder's own line before the one naming the file
    const char* reason;
    const char* out;   // the decoder's own line on standard output
  } cases[] = {
      {"broken.ogv", "End of file while searching for codec headers.\n",
       "it ends before its Theora headers are complete", ""},
      {"damaged.ogv", "", "its Theora headers are corrupt",
       "Error parsing Theora stream headers; corrupt stream?\n"},
      {"song.ogg", "", "it holds no Theora stream", ""},
      {"missing.ogv", "", "it cannot be opened (No such file or directory)", ""},
      {"", "", "it cannot be read", ""},  // the image folder itself
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(DisplayVideo(c.file), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string(c.said) + "Could not play the video " + settings->imageDir + c.file +
                  ": " + c.reason + ".\n");
  }
  EXPECT_EQ(Flips(), 0);
  EXPECT_EQ(MilliSecs(), 0);  // no pass of the loop ran
}

// The real program, whose set-up script shows a video with a header that the decoder
// rejects: the decoder's text on standard output, the line naming the video on standard
// error.
TEST(VideoProcess, ARejectedHeaderIsSaidOnStandardOutput) {
  const std::string root = testsupport::ScratchDir("video-process");
  const std::string program =
      testsupport::MakeGameTree(root, std::string(CORVEL_FIXTURES) + "/core_quest");
  VideoSpec damaged;
  damaged.corruptHeader = 1;
  testsupport::WriteFileBytes(root + "/Resources/Images/damaged.ogv", TheoraVideo(damaged));
  testsupport::WriteFileBytes(root + "/Resources/Triggers/setup.lua", "DisplayVideo('damaged.ogv')");
  testsupport::GameProcess game(program, root + "/home", root);
  const std::string said = "Could not play the video " + root +
                           "/bin/../Resources/Images/damaged.ogv: its Theora headers are corrupt.";
  ASSERT_TRUE(game.WaitForError(said)) << game.Error();
  game.Signal(SIGTERM);
  EXPECT_EQ(game.Wait(), 0) << game.Error();
  EXPECT_EQ(game.Output(), "Error parsing Theora stream headers; corrupt stream?\n");
  EXPECT_EQ(game.Error().find("Error parsing"), std::string::npos) << game.Error();
}

}  // namespace
