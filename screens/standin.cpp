// Minimal inventory, save and load screens: they return at once, keeping the logic-clock
// resets of the full screens.
#include "core/game.h"
#include "core/globals.h"
#include "screens/screens.h"

int DisplayInventory() {
  FixedRateLogic->Init();
  return 1;
}

int DisplayLoadDialog(int menuBackground) {
  if (menuBackground == 0) FixedRateLogic->Init();
  return 0;
}

int DisplaySaveDialog() {
  FixedRateLogic->Init();
  return 1;
}
