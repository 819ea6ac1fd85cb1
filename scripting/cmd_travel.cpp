// Map travel and game-flow commands: going to another map, the player's failure, the end
// of the quest.
#include <cstdint>
#include <utility>

#include "core/game.h"
#include "core/globals.h"
#include "core/working_folder.h"
#include "dialogs/dialogs.h"
#include "platform/system/text.h"
#include "screens/screens.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "scripting/commands.h"
#include "scripting/save_commands.h"
#include "transitions/map_path.h"
#include "transitions/transitions.h"

TCommandWork AskGoToMap(lua_State* L) {
  TScriptArgs args(L, 2);
  std::string map = args.String(1);
  const int32_t transition = args.Int(2);
  return [map = std::move(map), transition] {
    if (!MapNameInWorkingFolder(map)) return;
    // A name that already begins with the working folder is a full path.
    const std::string path = Instr(map, settings->tempDir) == 1 ? map : settings->tempDir + map;
    TravelToMap(path, transition);
  };
}

int LUA_GoToMap(lua_State* L) {
  AskGoToMap(L)();
  return NoResult;
}

int LUA_KillPlayer(lua_State*) {
  TransitionMap(currentMap, currentMap, 6);
  int answer = DisplayOptions("You have failed at your quest.  What would you like to do now?",
                              "Load Game", "Start Over", "Quit", 0, 255, 255, 255, "", 0);
  if (answer == 0) {
    if (DisplayLoadDialog(0) == 0) {
      ResetWorkingFolder();
      DisplayMainMenu();
    }
  } else if (answer == 1) {
    // The startup script's first trip writes the abandoned map into the working folder;
    // the second reset takes that away again. A reset that fails leads to the title.
    bool reset = ResetWorkingFolder();
    if (reset) {
      StartGame();
      reset = ResetWorkingFolder();
    }
    if (!reset) DisplayMainMenu();
  } else {
    ResetWorkingFolder();
    DisplayMainMenu();
  }
  return NoResult;
}

int LUA_EndGame(lua_State*) {
  ResetWorkingFolder();
  DisplayCredits();
  DisplayMainMenu();
  return NoResult;
}
