// The options screen: layout over either background, the three switches and what each one
// does at once, the configuration written on leaving, and the way to the key set-up.
#include <filesystem>

#include "core/game.h"
#include "core/globals.h"
#include "platform/display/display.h"
#include "screen_fixture.h"
#include "screens/screens.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

class Options : public ScreenTest {
 protected:
  std::string ConfigPath() const { return baseHomeDir + "/config.dat"; }
  // The written configuration: five flag bytes first, fourteen key bytes last (kUp first).
  struct TWritten {
    int fullScreen = -1, sound = -1, music = -1, kUp = -1;
  };
  TWritten Written() const {
    const std::string bytes = testsupport::ReadFileBytes(ConfigPath());
    if (bytes.size() < 19) return {};
    const auto at = [&](size_t i) {
      return static_cast<int>(static_cast<unsigned char>(bytes[i]));
    };
    return {at(0), at(1), at(2), at(bytes.size() - 14)};
  }
};

TEST_F(Options, LayoutOverTheTitleAndOverTheGame) {
  settings->sound = 0;
  EXPECT_FALSE(Runs([] { return DisplaySettings(1); }));
  ExpectFrame(100);
  EXPECT_EQ(Pixel(0, 0), kBackground);
  EXPECT_EQ(FindColour(kTitle), TextCover("Options", 80, 158));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Full Screen = YES", 80, 178));
  EXPECT_EQ(FindColour(kWhite, 0, 198, 640, 20), TextCover("Sound = NO", 80, 198));
  EXPECT_EQ(FindColour(kWhite, 0, 218, 640, 20), TextCover("Music = YES", 80, 218));
  EXPECT_EQ(FindColour(kWhite, 0, 238, 640, 20), TextCover("Keyboard Settings", 80, 238));
  EXPECT_EQ(FindColour(kBlack, 0, 150, 640, 26), TextCover("Options", 81, 159));  // the shadow

  SetClsColor(1, 2, 3);
  Cls();
  EXPECT_FALSE(Runs([] { return DisplaySettings(0); }));
  EXPECT_EQ(Pixel(0, 0), 0x010203u);
  EXPECT_EQ(Pixel(0, 420), kInterface);
  ExpectFrame(100);
}

TEST_F(Options, SwitchesActAtOnceAndAreWrittenOnLeaving) {
  const struct {
    const char* name;
    std::vector<int> keys;
    uint8_t sound, music;
    bool paused;
  } cases[] = {
      {"leaving without a change", {kEscape}, 1, 1, false},
      {"the options key leaves too", {kTab}, 1, 1, false},
      {"sound off", {kDownArrow, kReturn, kEscape}, 0, 1, false},
      {"music off pauses", {kDownArrow, kDownArrow, kReturn, kTab}, 1, 0, true},
      {"music off and on resumes", {kUpArrow, kUpArrow, kReturn, kReturn, kEscape}, 1, 1, false},
      {"down wraps to the first row",
       {kDownArrow, kDownArrow, kDownArrow, kDownArrow, kDownArrow, kReturn, kEscape},
       0,
       1,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings->sound = settings->music = 1;
    music->paused = false;
    logic->inits = 0;
    fs::remove(ConfigPath());
    Keys(c.keys);
    int result = -1;
    ASSERT_TRUE(Runs([] { return DisplaySettings(1); }, &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(settings->sound, c.sound);
    EXPECT_EQ(settings->music, c.music);
    EXPECT_EQ(music->paused, c.paused);
    EXPECT_EQ(logic->inits, 1);
    const TWritten written = Written();
    EXPECT_EQ(written.sound, c.sound);
    EXPECT_EQ(written.music, c.music);
  }
}

TEST_F(Options, FullScreenSwitchReopensTheDisplay) {
  settings->fullScreen = 0;
  InitVideo(0);
  const TGraphicsPtr window = g;
  Keys({kReturn});
  EXPECT_FALSE(Runs([] { return DisplaySettings(0); }));
  EXPECT_EQ(settings->fullScreen, 1);
  EXPECT_NE(g, window);
  EXPECT_EQ(CurrentGraphics(), g);
  EXPECT_FALSE(MouseVisible());
  ExpectFrame(100);  // drawn on the new display
  Keys({kReturn, kEscape});
  ASSERT_TRUE(Runs([] { return DisplaySettings(0); }));
  EXPECT_EQ(settings->fullScreen, 0);
  EXPECT_TRUE(MouseVisible());
  EXPECT_EQ(Written().fullScreen, 0);
}

// Where no full-screen display can be opened, the switch falls back to the window: the player
// keeps a picture, and the setting and the written configuration stay at window.
TEST_F(Options, FullScreenSwitchThatCannotOpenKeepsTheWindow) {
  settings->fullScreen = 0;
  InitVideo(0);
  SetHeadlessFullScreen(false);
  Keys({kReturn});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Runs([] { return DisplaySettings(0); }));
  const std::string said = testing::internal::GetCapturedStderr();
  SetHeadlessFullScreen(true);
  EXPECT_EQ(said, "Could not open the full-screen display; the game goes on in its window\n");
  EXPECT_EQ(settings->fullScreen, 0);
  EXPECT_EQ(g, CanvasGraphics(MyCanvas));
  EXPECT_EQ(CurrentGraphics(), g);
  EXPECT_TRUE(MouseVisible());
  ExpectFrame(100);  // drawn on the window's canvas
  EXPECT_EQ(FindColour(kAnswer), TextCover("Full Screen = NO", 80, 178));
  Keys({kEscape});
  ASSERT_TRUE(Runs([] { return DisplaySettings(0); }));
  EXPECT_EQ(Written().fullScreen, 0);
}

TEST_F(Options, OddFlagValuesAndAMissingMusicChannel) {
  settings->music = 2;
  musicChannel = nullptr;
  Keys({kDownArrow, kDownArrow});
  EXPECT_FALSE(Runs([] { return DisplaySettings(1); }));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Music = YES", 80, 218));
  Keys({kDownArrow, kDownArrow, kReturn, kEscape});
  ASSERT_TRUE(Runs([] { return DisplaySettings(1); }));
  EXPECT_EQ(settings->music, 1);
}

TEST_F(Options, AKeyBoundTwiceActsAsTheFirst) {
  settings->kEnter = kTab;  // also the options key
  Keys({kDownArrow, kTab});
  EXPECT_FALSE(Runs([] { return DisplaySettings(1); }));
  EXPECT_EQ(settings->sound, 0);
  EXPECT_FALSE(fs::exists(ConfigPath()));
  settings->kDown = kEscape;  // also the exit key
  Keys({kEscape});
  EXPECT_FALSE(Runs([] { return DisplaySettings(1); }));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Sound = NO", 80, 198));
}

TEST_F(Options, OtherEventsAreDroppedAndReleasesReachTheGame) {
  HoldRight();
  PostEvent(EVENT_WINDOWCLOSE);
  PostEvent(EVENT_MENUACTION, 100);
  PostEvent(EVENT_KEYUP, settings->kRight);
  PostEvent(EVENT_KEYDOWN, kEscape);
  ASSERT_TRUE(Runs([] { return DisplaySettings(0); }));
  EXPECT_EQ(QueuedEventCount(), 0);
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(player->speedX, 0.0f);
}

TEST_F(Options, TheKeySetUpReturnsToTheOptionsScreenThatOpenedIt) {
  // Three trips to the key set-up and back, then leaving: each time back, the one options
  // screen waits again at the same depth, on its first row as when it opened.
  std::vector<const void*> depths;
  std::vector<PixelBox> selected;
  SetEventPump([&] {
    depths.push_back(__builtin_frame_address(0));
    selected.push_back(FindColour(kAnswer));
    if (depths.size() <= 3)
      Keys({kUpArrow, kReturn, kEscape});
    else
      Keys({kEscape});
  });
  int result = -1;
  ASSERT_TRUE(Runs([] { return DisplaySettings(1); }, &result));
  EXPECT_EQ(result, 0);
  ASSERT_EQ(depths.size(), 4u);
  for (size_t i = 1; i < depths.size(); ++i) {
    EXPECT_EQ(depths[i], depths[0]) << i;
    EXPECT_EQ(selected[i], TextCover("Full Screen = YES", 80, 178)) << i;
  }
  EXPECT_EQ(logic->inits, 1);
  EXPECT_TRUE(fs::exists(ConfigPath()));
}

TEST_F(Options, KeySetUpRowLeadsThereAndBack) {
  // Options -> key set-up (bind Up to W) -> Return to Options -> a new options screen -> leave.
  Keys({kUpArrow, kReturn, kReturn, 87, 87, kReturn, kEscape});
  int result = -1;
  ASSERT_TRUE(Runs([] { return DisplaySettings(1); }, &result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(settings->kUp, 87);
  EXPECT_EQ(Written().kUp, 87);
  EXPECT_EQ(logic->inits, 1);
}

}  // namespace
