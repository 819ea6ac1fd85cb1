// Both dialogs hand key releases to the key mapping, so a direction let go inside them stops
// the player, while key presses inside them steer nothing and mouse-button releases are
// dropped.
#include <gtest/gtest.h>
#include <functional>
#include "core/game.h"
#include "core/globals.h"
#include "dialog_fixture.h"
#include "dialogs/dialogs.h"
#include "platform/events/events.h"

namespace {

class DialogsKeyRelease : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    player = std::make_shared<TPlayer>();
    player->walkSpeed = 6.0f;
    ReleaseHeldKeys();
  }
  void TearDown() override {
    ReleaseHeldKeys();
    player.reset();
    DialogTest::TearDown();
  }
};

TEST_F(DialogsKeyRelease, KeyReleaseStopsThePlayerPressAndMouseReleaseDoNothing) {
  const std::function<void()> dialogs[] = {
      [] { DisplayText("Hi", 255, 255, 255, "", 0, 1); },
      [] { DisplayOptions("Well?", "Yes", "No", "", 1, 255, 255, 255, "", 0); },
  };
  // Down is bound to a mouse button: only the frame loop takes its release for a key's.
  settings->kDown = 1;
  for (const auto& dialog : dialogs) {
    GetKeyDown(settings->kRight);
    GetKeyDown(1);
    ASSERT_EQ(player->speedX, 6.0f);
    PostEvent(EVENT_KEYUP, settings->kRight);
    PostEvent(EVENT_MOUSEUP, 1);
    PostEvent(EVENT_KEYDOWN, settings->kLeft);
    PostEvent(EVENT_KEYDOWN, kEnter);
    dialog();
    EXPECT_EQ(player->speedX, 0.0f);
    EXPECT_EQ(keyHeld[2] + keyHeld[3], 0);
    EXPECT_EQ(keyHeld[1], 1);
    EXPECT_EQ(player->speedY, 6.0f);
    ReleaseHeldKeys();
    player->speedY = 0.0f;
  }
}

}  // namespace
