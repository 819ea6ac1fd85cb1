// The start-up sequence: modules, globals, user folders, configuration, display, game.
#include <cstdlib>
#include "core/game.h"
#include "core/globals.h"
#include "media/media.h"
#include "scripting/commands.h"
#include "screens/screens.h"
#include "transitions/save_folder.h"

namespace {

// A missing folder is made (its parents are not); one that cannot be made is fatal.
void RequireFolder(const std::string& path) {
  if (ReadDir(path)) return;
  if (CreateDir(path, 0)) return;
  // Made before the release: the path may be one of the settings' folders.
  const std::string message = "Could not create the " + path +
                              " folder.  Please ensure that you have the appropriate "
                              "permissions to create this folder.";
  ReleaseGlobals();
  RuntimeError(message);
}

// One game at a time on a user folder: a second one would empty the first one's working
// folder under it. The lock goes with the process, however it ends.
void LockUserFolder() {
  const int held = LockFile(baseHomeDir + "/game.lock");
  if (held == 1) return;
  const std::string message =
      held == 0 ? "The user folder " + baseHomeDir + " is in use by another copy of Corvel."
                : FileFailure();
  ReleaseGlobals();
  RuntimeError(message);
}

}  // namespace

int PrepareUserFolders() {
  // Below the user folder no link is followed; the way to it may hold links.
  SetUserFolder(baseHomeDir);
  RequireFolder(baseHomeDir);
  // Before anything in the folder is read or written.
  LockUserFolder();
  LoadConfig(baseHomeDir + "/config.dat");
  // The save folder is the player's to place: a link there is followed. The working folder
  // is the game's own.
  SetLinkedFolder(settings->saveDir);
  RequireFolder(settings->saveDir);
  RecoverSaves();
  RequireFolder(settings->tempDir);
  return 0;
}

void CorvelMain() {
  PlatformInit();
  SetQuitHandler(QuitGame);
  AudioStreamModuleInit();
  AppTitle = std::string("Corvel v1.0a") + " - " + "an action adventure of tiles, scripts and steel";
  const char* home = std::getenv("HOME");
  InitGlobals(home ? home : "", AppFile());
  PrepareUserFolders();
  InitVideo(settings->fullScreen);
  InitLUA();
  InitGame();
  CreateTimers();
  DisplayMainMenu();
  FixedRateLogic->Init();
  MainGameLoop();
}
