// The key set-up screen: binding keys and refusing used ones, the row ring, the defaults,
// leaving through the options screen, and the waits of GetKeyPressed.
#include "core/game.h"
#include "core/globals.h"
#include "screen_fixture.h"
#include "screens/screens.h"
#include "support/files.h"

namespace {

class KeySetUp : public ScreenTest {};

TEST_F(KeySetUp, KeyUsedLooksAtTheTenActionKeysOnly) {
  settings->kSave = 83;
  settings->kLoad = 76;
  settings->kEdit = 69;
  settings->kCheat = 67;
  for (int code : {38, 40, 37, 39, 90, 88, 13, 73, 9, 27}) EXPECT_EQ(KeyUsed(code), 1) << code;
  for (int code : {0, 83, 76, 69, 67, 65, 255}) EXPECT_EQ(KeyUsed(code), 0) << code;
}

TEST_F(KeySetUp, GetKeyPressedPassesKeyReleasesDropsTheRestAndKeepsTheLowByte) {
  settings->kLeft = 1;  // a mouse button
  HoldRight();
  GetKeyDown(1);
  PostEvent(EVENT_KEYUP, settings->kRight);
  PostEvent(EVENT_MOUSEDOWN, 2);
  PostEvent(EVENT_MOUSEUP, 1);
  PostEvent(EVENT_WINDOWCLOSE);
  PostEvent(EVENT_KEYDOWN, 0x141);
  int result = -1;
  ASSERT_TRUE(Runs(GetKeyPressed, &result));
  EXPECT_EQ(result, 0x41);
  EXPECT_EQ(QueuedEventCount(), 0);
  // Right was let go while the key was awaited; the button's release was dropped.
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(keyHeld[2], 1);
  EXPECT_EQ(player->speedX, -player->walkSpeed);
  ReleaseHeldKeys();
}

TEST_F(KeySetUp, BindingRows) {
  const struct {
    const char* name;
    std::vector<int> keys;  // from "Up = "
    uint8_t TConfig::*field;
    int code;
  } cases[] = {
      {"a free key is bound", {kReturn, 87}, &TConfig::kUp, 87},
      {"the row's own key is refused", {kReturn, kUpArrow}, &TConfig::kUp, kUpArrow},
      {"another action's key is refused", {kReturn, kDownArrow}, &TConfig::kUp, kUpArrow},
      {"escape is the exit key: refused", {kReturn, kEscape}, &TConfig::kUp, kUpArrow},
      {"the save key can be taken", {kDownArrow, kReturn, 83}, &TConfig::kDown, 83},
      {"secondary then talk",
       {kDownArrow, kDownArrow, kDownArrow, kDownArrow, kDownArrow, kDownArrow, kReturn, 84},
       &TConfig::kEnter,
       84},
      {"up wraps to the last rows",
       {kUpArrow, kUpArrow, kUpArrow, kReturn, 81},
       &TConfig::kExit,
       81},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings = std::make_unique<TConfig>();
    Keys(c.keys);
    EXPECT_FALSE(Runs([] { return DisplayKeys(1); }));
    EXPECT_EQ((*settings).*c.field, c.code);
    FlushEvents();
  }
}

TEST_F(KeySetUp, LayoutAndTheRowBeingChosen) {
  settings->kPrimary = 200;
  Keys({kDownArrow, kDownArrow, kDownArrow, kDownArrow});
  EXPECT_FALSE(Runs([] { return DisplayKeys(1); }));
  ExpectFrame(140);
  EXPECT_EQ(FindColour(kTitle), TextCover("Keyboard Settings", 80, 138));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Primary = Unknown #200", 80, 238));
  EXPECT_EQ(FindColour(kWhite, 0, 158, 320, 20), TextCover("Up = Up Arrow", 80, 158));
  EXPECT_EQ(FindColour(kWhite, 320, 158, 320, 20), TextCover("Talk/Activate = Return", 330, 158));
  EXPECT_EQ(FindColour(kWhite, 320, 258, 320, 20), TextCover("Return to Options", 330, 258));

  // While a key is awaited the row shows in red on the whole screen.
  PixelBox red, answer;
  SetEventPump([&] {
    if (red.x0 >= 0) throw QueueDrained{};
    red = FindColour(kRed, 0, 140, 640, 200);
    answer = FindColour(kAnswer);
    PostEvent(EVENT_KEYDOWN, 70);
  });
  Keys({kRightArrow, kUpArrow, kUpArrow, kUpArrow, kReturn});  // no sideways move
  EXPECT_FALSE(Runs([] { return DisplayKeys(0); }));
  EXPECT_EQ(red, TextCover("Exit = Escape", 330, 218));
  EXPECT_EQ(answer, PixelBox{});
  EXPECT_EQ(settings->kExit, 70);
  EXPECT_EQ(Pixel(0, 420), kInterface);
}

TEST_F(KeySetUp, ResetPutsBackTheTenDefaultsOnly) {
  settings->kUp = 1, settings->kLeft = 2, settings->kPrimary = 3, settings->kOption = 4;
  settings->kSave = 5, settings->kLoad = 6, settings->kEdit = 7, settings->kCheat = 8;
  Keys(std::vector<int>(10, kDownArrow));  // the up key is not the up arrow now
  Keys({kReturn});
  EXPECT_FALSE(Runs([] { return DisplayKeys(1); }));
  const TConfig d;
  for (auto field : {&TConfig::kUp, &TConfig::kDown, &TConfig::kLeft, &TConfig::kRight,
                     &TConfig::kPrimary, &TConfig::kSecondary, &TConfig::kEnter,
                     &TConfig::kInventory, &TConfig::kOption, &TConfig::kExit})
    EXPECT_EQ((*settings).*field, d.*field);
  EXPECT_EQ(settings->kSave, 5);
  EXPECT_EQ(settings->kLoad, 6);
  EXPECT_EQ(settings->kEdit, 7);
  EXPECT_EQ(settings->kCheat, 8);
  EXPECT_TRUE(testsupport::ReadFileBytes(baseHomeDir + "/config.dat").empty());
}

TEST_F(KeySetUp, LeavingOpensTheOptionsScreen) {
  const struct {
    const char* name;
    std::vector<int> keys;
  } cases[] = {
      {"the exit key", {kEscape}},
      {"return to options", {kUpArrow, kReturn}},
      {"a new exit key at once", {kUpArrow, kUpArrow, kUpArrow, kReturn, 81, 81}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings->kExit = kEscape;
    Keys(c.keys);
    EXPECT_FALSE(Runs([] { return DisplayKeys(1); }));
    EXPECT_EQ(FindColour(kTitle), TextCover("Options", 80, 158));
    EXPECT_EQ(Pixel(0, 0), kBackground);
    FlushEvents();
  }
  // The old exit key no longer leaves; leaving the options screen saves and returns.
  Keys({kEscape, 81, 81});
  int result = -1;
  ASSERT_TRUE(Runs([] { return DisplayKeys(1); }, &result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(logic->inits, 1);
  EXPECT_FALSE(testsupport::ReadFileBytes(baseHomeDir + "/config.dat").empty());
}

TEST_F(KeySetUp, ReleasesReachTheGameOutsideTheWait) {
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  EXPECT_FALSE(Runs([] { return DisplayKeys(0); }));
  EXPECT_EQ(keyHeld[3], 0);
}

}  // namespace
