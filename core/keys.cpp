// Key mapping: held direction keys steer the player, the other bound keys act per press.
#include <memory>
#include "core/game.h"
#include "core/globals.h"
#include "screens/screens.h"

namespace {

struct Direction {
  uint8_t TConfig::*key;
  int facing;
  float x, y;  // the press adds walkSpeed times these to the speed
};

// In the order of keyHeld: up, down, left, right.
constexpr Direction kDirections[4] = {{&TConfig::kUp, 0, 0.0f, -1.0f},
                                      {&TConfig::kDown, 1, 0.0f, 1.0f},
                                      {&TConfig::kLeft, 2, -1.0f, 0.0f},
                                      {&TConfig::kRight, 3, 1.0f, 0.0f}};

// The player whose speed the held directions were added to.
std::weak_ptr<TPlayer> heldBy;

// A player replaced since the last key (new game, loaded game) never got the speeds of the
// held directions, so taking them off again would make it drift.
void ForgetKeysOfReplacedPlayer() {
  if (heldBy.lock() != player) {
    ReleaseHeldKeys();
    heldBy = player;
  }
}

void Press(int d) {
  const Direction& dir = kDirections[d];
  keyHeld[d] = 1;
  player->facing = dir.facing;
  // Drawn facing the new way also when no step follows (held keys that cancel out, locked
  // controls).
  player->currentFrame = SheetFrame(player->facing, player->frames, player->frame);
  if (dir.x != 0.0f) player->speedX = player->speedX + dir.x * player->walkSpeed;
  if (dir.y != 0.0f) player->speedY = player->speedY + dir.y * player->walkSpeed;
}

void Release(int d) {
  const Direction& dir = kDirections[d];
  keyHeld[d] = 0;
  if (dir.x != 0.0f) player->speedX = player->speedX - dir.x * player->walkSpeed;
  if (dir.y != 0.0f) player->speedY = player->speedY - dir.y * player->walkSpeed;
}

int PlayerTalks() { return player ? player->Talk() : 0; }

// The key mapping of a key press; `inPlay` false holds back the actions that must not run
// inside a map transition.
int KeyDown(int key, bool inPlay) {
  if (!player) return 0;
  ForgetKeysOfReplacedPlayer();
  const TConfig& c = *settings;
  for (int d = 0; d < 4; ++d) {
    if (key == c.*kDirections[d].key && keyHeld[d] == 0) Press(d);
  }
  // Directions are tracked even while scripts hold the controls.
  if (lockControls == 1) return 0;
  // Every action bound to the key runs; each may replace the player, so it is read anew.
  const TKeyActions& run = KeyActions;
  if (inPlay && key == c.kPrimary && player && player->melee == 0) run.useItem(player->primary);
  if (inPlay && key == c.kSecondary && player && player->melee == 0)
    run.useItem(player->secondary);
  if (key == c.kInventory) run.inventory();
  if (inPlay && key == c.kLoad) {
    run.load(0);
  } else if (inPlay && key == c.kSave) {
    run.save();
  }
  if (key == c.kOption) run.options(0);
  if (inPlay && key == c.kEnter) run.talk();
  if (key == c.kExit) run.exit(0);
  return 0;
}

}  // namespace

TKeyActions KeyActions = {&UseItem,         &DisplayInventory, &DisplayLoadDialog, &DisplaySaveDialog,
                          &DisplaySettings, &PlayerTalks,      &ExitGame};

void ReleaseHeldKeys() {
  for (int& held : keyHeld) held = 0;
}

int GetKeyDown(int key) { return KeyDown(key, true); }

int GetKeyDownInTransition(int key) { return KeyDown(key, false); }

int GetKeyUp(int key) {
  if (!player) return 0;
  ForgetKeysOfReplacedPlayer();
  // The Command keys swallow the releases of keys pressed with them: let go of everything.
  if (key == 91 || key == 92) {
    for (int d = 0; d < 4; ++d) {
      if (keyHeld[d] == 1) Release(d);
    }
  }
  const TConfig& c = *settings;
  for (int d = 0; d < 4; ++d) {
    if (key == c.*kDirections[d].key && keyHeld[d] == 1) Release(d);
  }
  return 0;
}

int PassRelease() {
  if (EventID() != EVENT_KEYUP) return 0;
  GetKeyUp(EventData());
  return 1;
}
