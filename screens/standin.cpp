// Minimal title menu and screens: the title menu starts a new game on the talk key; the
// other screens return at once, keeping the logic-clock resets of the full screens.
#include "core/game.h"
#include "core/globals.h"
#include "screens/screens.h"

int DisplayMainMenu() {
  for (;;) {
    if (imgMenu) DrawImage(imgMenu, 0, 0); else Cls();
    Flip(0);
    PollEvent();
    const int id = EventID(), data = EventData();
    if (id == EVENT_WINDOWCLOSE || id == EVENT_APPTERMINATE) {
      ExitGame(1);
    } else if (id == EVENT_KEYDOWN && data == settings->kEnter) {
      StopChannel(musicChannel);
      StartGame();
      DeleteDir(settings->tempDir, 1);
      CopyDir(settings->mapDir, settings->tempDir);
      return 0;
    } else if (id == EVENT_KEYDOWN && (data == settings->kExit || data == 27)) {
      ExitGame(1);
    } else if (id == EVENT_KEYUP) {
      GetKeyUp(data);
    }
  }
}

int DisplaySettings(int) {
  FixedRateLogic->Init();
  return 0;
}

int DisplayCredits() { return 0; }

int DisplaySplash(const std::string&, int, int) { return 0; }

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
