// The frame loop: draw, show, one event, the logic step; and the exit confirmation.
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"

namespace {

// The menu entries open the same screens as their keys.
void MenuAction(int tag) {
  switch (tag) {
    case 100: KeyActions.save(); break;
    case 101: KeyActions.load(0); break;
    case 102: KeyActions.options(0); break;
    case 103: KeyActions.inventory(); break;
    case 201: DisplayOptions(AppTitle, "OK", "", "", 0, 255, 255, 255, "", 0); break;
    default: break;
  }
}

}  // namespace

void MainGameLoopPass() {
  DrawScreen();
  Flip(0);
  PollEvent();
  switch (EventID()) {
    case EVENT_APPTERMINATE:
    case EVENT_WINDOWCLOSE: ExitGame(0); break;
    case EVENT_MENUACTION: MenuAction(EventData()); break;
    case EVENT_KEYDOWN: GetKeyDown(EventData()); break;
    // In play a released mouse button counts as a released key.
    case EVENT_MOUSEUP: GetKeyUp(EventData()); break;
    default: PassRelease(); break;
  }
  MainLogicLoop();
}

void MainGameLoop() {
  for (;;) MainGameLoopPass();
}

int ExitGame(int onMenu) {
  const int answer = DisplayOptions("Are you sure you want to exit?", "Yes", "No", "", onMenu,
                                    255, 255, 255, "portrait-hat.png", 0);
  if (answer == 0) QuitGame();
  // A SIGINT that asked has its answer: the next one asks again.
  AnswerTerminateRequest();
  return 0;
}

void QuitGame() {
  if (settings) DeleteDir(settings->tempDir, 1);
  CloseGraphics(g);
  ReleaseGlobals();
  End();
}
