// Only the frame loop takes a mouse-button release for a key's: inside every screen the
// release is dropped, and a direction bound to the button stays held.
#include <functional>

#include "core/game.h"
#include "core/globals.h"
#include "screen_fixture.h"
#include "screens/screens.h"
#include "support/files.h"

namespace {

class ScreenReleases : public ScreenTest {};

TEST_F(ScreenReleases, AMouseButtonLetGoInsideAScreenDoesNotStopThePlayer) {
  testsupport::WriteFileBytes(settings->saveDir + "0.A.sav", "x");  // the load dialog's slot
  const struct {
    const char* name;
    std::function<int()> screen;
    std::vector<int> keysBefore;
  } cases[] = {
      {"title menu", DisplayMainMenu, {}},
      {"options", [] { return DisplaySettings(0); }, {}},
      {"key set-up", [] { return DisplayKeys(0); }, {}},
      {"key set-up awaiting a key", [] { return DisplayKeys(0); }, {kReturn}},
      {"inventory", DisplayInventory, {}},
      {"save dialog", DisplaySaveDialog, {}},
      {"load dialog", [] { return DisplayLoadDialog(0); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings->kRight = 1;
    HoldRight();
    Keys(c.keysBefore);
    PostEvent(EVENT_MOUSEUP, 1);
    EXPECT_FALSE(Runs(c.screen));
    EXPECT_EQ(keyHeld[3], 1);
    EXPECT_EQ(player->speedX, player->walkSpeed);
    FlushEvents();
    ReleaseHeldKeys();
    player->speedX = 0.0f;
  }
}

}  // namespace
